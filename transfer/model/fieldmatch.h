#pragma once
// Pairing the columns or fields of an import's source with address fields: the rows of the
// match grid (one per importable address field) and the rule that each source feeds at most one
// address field.

#include <QString>
#include <QStringList>
#include <QVector>

namespace postavo {
class AddressTable;
}

namespace postavo::transfer {

struct ImportableField {
    QString field;  // LNAME
    QString label;  // "Last Name"
};

// The visible character fields of the address file, in field order, with the display labels
// `table` gives them (the default labels without a table): "Last Name" ... "Comment 2".
QVector<ImportableField> importableAddressFields(const AddressTable* table = nullptr);
inline constexpr const char* kMemoRowLabel = "Memo";

class FieldMatchGrid {
public:
    struct Row {
        QString field;
        QString label;
        QString source;      // the column or source field feeding it; empty for none
        bool memo = false;   // a memo row: fed by memo sources only
    };

    FieldMatchGrid() = default;
    FieldMatchGrid(const QVector<ImportableField>& fields, bool withMemoRow);

    const QVector<Row>& rows() const { return rows_; }
    int rowCount() const { return int(rows_.size()); }
    QString source(int row) const { return row >= 0 && row < rowCount() ? rows_[row].source : QString(); }
    int rowOfSource(const QString& source) const;  // exact comparison; -1 when none
    int rowOfField(const QString& field) const;    // any letter case

    // The sources a row's menu offers after "(none)": memo sources for the memo row, the others
    // for every other row.
    void setSources(const QStringList& sources, const QStringList& memoSources = {});
    QStringList menuFor(int row) const;

    // The menu's choice for a row: "" is "(none)"; a source is first taken from any other row.
    void choose(int row, const QString& source);
    void clearRow(int row) { choose(row, QString()); }
    void clearAll();
    bool anyMatched() const;

    // Pre-matching by name: each source, in order, takes the first free row whose label or field
    // name equals it ignoring letter case; a memo source takes the memo row when it is free.
    void preMatch(const QStringList& sources, const QStringList& memoSources = {});

private:
    QVector<Row> rows_;
    QStringList sources_;
    QStringList memoSources_;
};

} // namespace postavo::transfer
