#pragma once
// Puts what the RTF reader collected into an empty document: paragraphs one after another and
// tables made of rows whose cells may differ from row to row.

#include <QColor>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QVector>

class QTextDocument;

namespace postavo::richtext::detail {

// A piece of text in one format; a picture is one object character with an image format.
struct Run {
    QString text;
    QTextCharFormat format;
};

struct Paragraph {
    QTextBlockFormat block;
    QTextCharFormat mark;   // the format of the paragraph mark (an empty line's height)
    QVector<Run> runs;
};

struct CellBorder {
    bool present = false;
    int width = 0;  // twips
    QColor color;
};

struct CellDef {
    int right = 0;  // twips from the margin: \cellx
    CellBorder top, left, bottom, right_;
    QColor shading;
    int verticalAlign = 0;  // 0 top, 1 centre, 2 bottom
    int verticalMerge = 0;  // 0 none, 1 first of a merged column, 2 merged with the cell above
};

struct RowDef {
    int left = 0;    // \trleft
    int gap = 108;   // \trgaph: half the space between cells, the cells' left and right padding
    int align = 0;   // 0 left, 1 centre, 2 right
    QVector<CellDef> cells;
};

struct TableRow {
    RowDef def;
    QVector<QVector<Paragraph>> cells;
};

// More columns than this are merged into the last one, as word processors allow no more.
inline constexpr int kMaxTableColumns = 63;

class DocumentBuilder {
public:
    explicit DocumentBuilder(QTextDocument* document);

    void addParagraph(const Paragraph& paragraph, bool pageBreakBefore);
    void addTable(const QVector<TableRow>& rows, bool pageBreakBefore);

private:
    QTextCursor cursor_;
    bool fresh_ = true;  // the cursor's block is still the document's unused first block
};

// Inserts a paragraph's runs at `cursor` (into its current block).
void insertRuns(QTextCursor& cursor, const QVector<Run>& runs);

} // namespace postavo::richtext::detail
