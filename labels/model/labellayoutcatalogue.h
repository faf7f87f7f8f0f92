#pragma once
// The label layout catalogue LABEL.DBF in sysdata/: one row per label layout (its description,
// its label sheet definition and the name of its layout file BIN#####.L), and the operations the
// designer and the label window need: listing the layouts, a new layout, loading a layout's
// objects onto a surface and saving them with the row.

#include "labelsheet.h"
#include "labelsurface.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace postavo::engine {
class Table;
}

namespace postavo::labels {

// The longest description a layout keeps (the field holds 60; the windows keep 50).
inline constexpr int kLayoutDescriptionLength = 50;
// The description a new layout starts with.
inline constexpr const char* kNewLayoutDescription = "<New Label>";

struct LabelLayoutRow {
    quint32 recno = 0;  // 0 while the layout is not in the catalogue yet
    QString description;
    QString binary;     // the layout file's name in sysdata/
    LabelSheetDefinition sheet;
    bool isNew() const { return recno == 0; }
};

class LabelLayoutCatalogue {
public:
    // `sysdataDir`: the program's sysdata/ unless given.
    explicit LabelLayoutCatalogue(QString sysdataDir = {});
    ~LabelLayoutCatalogue();
    LabelLayoutCatalogue(const LabelLayoutCatalogue&) = delete;
    LabelLayoutCatalogue& operator=(const LabelLayoutCatalogue&) = delete;

    // Opens LABEL.DBF (created when missing), rows with the deletion mark hidden, in description
    // order. False with the message to show ("Unable to Open or Create LABEL.DBF").
    bool open(QString* message);
    bool isOpen() const { return table_ != nullptr; }
    void close();
    QString sysdataDir() const { return dir_; }
    engine::Table* table() { return table_.get(); }

    // Every layout, in description order.
    std::vector<LabelLayoutRow> rows();
    std::optional<LabelLayoutRow> row(quint32 recno);
    // The layout named `description`: exactly, else ignoring letter case.
    std::optional<LabelLayoutRow> findByDescription(const QString& description);

    // The file of a layout in sysdata/, letter case ignored; empty for a name that is not a plain
    // file name (a stored name must never lead out of sysdata/).
    QString layoutPath(const QString& binary) const;
    // A name for a new layout's file: the first BIN#####.L not present; empty when none is free.
    QString newLayoutFileName() const;
    // A new layout: the sheet given (the new-layout defaults unless told), "<New Label>", a fresh
    // file name.
    LabelLayoutRow newLayout(const LabelSheetDefinition& sheet = newLayoutDefaults()) const;

    // Opening a layout in the designer: the surface is cleared and, when the layout file exists,
    // loaded from it; a layout whose file went missing takes a new file name. False, with the
    // surface as it was, when the file is damaged or holds objects a label cannot hold.
    bool loadForDesign(LabelLayoutRow& row, design::DesignSurface& surface, QString* error);

    // What would stop `row` with the objects of `surface` from being stored, in words for the
    // user; empty when it can be stored.
    QString checkSave(const LabelLayoutRow& row, const design::DesignSurface& surface) const;
    // Stores the layout: the surface's objects in its layout file (at 100 % zoom, data cleared),
    // then the row (appended for a new layout, whose recno is then set). Nothing is changed when
    // a check fails; when writing the row fails the layout file is put back as it was.
    bool save(LabelLayoutRow& row, design::DesignSurface& surface, QString* error);

private:
    LabelLayoutRow readCurrent();

    QString dir_;
    std::unique_ptr<engine::Table> table_;
};

// The description as a layout keeps it: the first 50 characters.
QString layoutDescription(const QString& typed);
// Whether text can be stored in the catalogue (Windows-1252 holds every character).
bool storableText(const QString& text);

} // namespace postavo::labels
