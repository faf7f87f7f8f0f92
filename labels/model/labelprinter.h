#pragma once
// TLabelPrinter: the label loop of a print run. Record after record (or, presorted, group after
// group of the presort file with a heading label before each), the layout on the surface is
// filled from the current record and printed at the next selected position of the sheet, as
// many times as asked; counters advance after every label and a new page starts when the sheet
// is full. It draws on any print canvas: printer, PDF file or preview.

#include "labelpositions.h"

#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace postavo {
class AddressTable;
}
namespace postavo::design {
class DesignSurface;
}
namespace postavo::printing {
class TPrintCanvas;
}

namespace postavo::labels {

struct LabelPrintOptions {
    LabelSheetDefinition sheet;
    PositionSelection positions;
    int copies = 1;       // labels per record (a presorted run prints each record once)
    bool presort = false;
    // The presort file's lines (presorted runs only); the table's active order must be its ZIP
    // tag.
    std::vector<std::string> presortLines;
};

// The font of heading labels.
inline constexpr const char* kHeadingFontFace = "Arial";
inline constexpr double kHeadingFontPoints = 8;
inline constexpr double kHeadingIndent = 0.15;  // inches from the label's left edge

class TLabelPrinter {
public:
    // `surface` holds the layout and reads from `table`; the run starts at the table's current
    // record (unpresorted) or at the first group of the presort lines.
    TLabelPrinter(design::DesignSurface& surface, AddressTable& table, LabelPrintOptions options);

    // The label loop, once the canvas's job has begun. Ends at the end of the records, when
    // `stop` turns true or when the canvas's job was aborted.
    void printLabels(printing::TPrintCanvas& canvas, const bool& stop);

    // Runs after every label: the windows let their pending events run here (Stop and Cancel).
    std::function<void()> afterLabel;

    int labelsPrinted() const { return labels_; }
    int headingsPrinted() const { return headings_; }
    int recordsPrinted() const { return records_; }
    // Why the loop was abandoned (the address file could not be read); empty otherwise.
    QString error() const { return error_; }

private:
    enum class Group { Heading, Records, End };
    // The next group of the presort lines: a heading, the records of a key (found in the ZIP
    // order and current), or the end (the table is moved past its last record).
    Group nextSortedZip();
    void printHeading(printing::TPrintCanvas& canvas, double x, double y);
    void moveToEnd();
    bool atEnd() const;
    std::string currentZipKey() const;

    design::DesignSurface& surface_;
    AddressTable& table_;
    LabelPrintOptions options_;
    std::size_t nextLine_ = 0;
    std::string line_;       // the current heading or key
    bool heading_ = false;
    bool ended_ = false;
    int labels_ = 0, headings_ = 0, records_ = 0;
    QString error_;
};

} // namespace postavo::labels
