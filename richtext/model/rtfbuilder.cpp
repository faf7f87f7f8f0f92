#include "rtfbuilder.h"

#include "formatproperties.h"
#include "layoutunits.h"

#include <QTextDocument>
#include <QTextTable>
#include <algorithm>

namespace postavo::richtext::detail {

void insertRuns(QTextCursor& cursor, const QVector<Run>& runs)
{
    for (const Run& run : runs) {
        if (run.format.isImageFormat())
            cursor.insertImage(run.format.toImageFormat());
        else if (!run.text.isEmpty())
            cursor.insertText(run.text, run.format);
    }
}

DocumentBuilder::DocumentBuilder(QTextDocument* document) : cursor_(document)
{
    cursor_.movePosition(QTextCursor::End);
}

void DocumentBuilder::addParagraph(const Paragraph& paragraph, bool pageBreakBefore)
{
    QTextBlockFormat block = paragraph.block;
    if (pageBreakBefore)
        block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (fresh_) {
        cursor_.setBlockFormat(block);
        cursor_.setBlockCharFormat(paragraph.mark);
        fresh_ = false;
    } else {
        cursor_.insertBlock(block, paragraph.mark);
    }
    insertRuns(cursor_, paragraph.runs);
}

namespace {

// Inside a cell, text starts no further left than the cell's own text area: Qt's table layout
// can crash on lines pushed far out of their cell.
QTextBlockFormat cellBlockFormat(QTextBlockFormat f)
{
    f.setLeftMargin(std::max(0.0, f.leftMargin()));
    f.setRightMargin(std::max(0.0, f.rightMargin()));
    f.setTextIndent(std::max(-f.leftMargin(), f.textIndent()));
    return f;
}

void fillCell(QTextTableCell cell, const QVector<Paragraph>& paragraphs)
{
    QTextCursor c = cell.firstCursorPosition();
    bool first = true;
    for (const Paragraph& p : paragraphs) {
        if (first) {
            c.setBlockFormat(cellBlockFormat(p.block));
            // The first block's character format is held by the cell itself: merge, so that
            // the cell keeps its padding, borders and spans.
            c.mergeBlockCharFormat(p.mark);
            first = false;
        } else {
            c.insertBlock(cellBlockFormat(p.block), p.mark);
        }
        insertRuns(c, p.runs);
    }
}

void applyBorder(QTextTableCellFormat& f, int side, const CellBorder& b)
{
    const double width = b.present ? twipsToScaled(b.width) : 0.0;
    const auto style = b.present ? QTextFrameFormat::BorderStyle_Solid : QTextFrameFormat::BorderStyle_None;
    const QBrush brush(b.color.isValid() ? b.color : QColor(Qt::black));
    switch (side) {
    case 0:
        f.setTopBorder(width);
        f.setTopBorderStyle(style);
        f.setTopBorderBrush(brush);
        break;
    case 1:
        f.setLeftBorder(width);
        f.setLeftBorderStyle(style);
        f.setLeftBorderBrush(brush);
        break;
    case 2:
        f.setBottomBorder(width);
        f.setBottomBorderStyle(style);
        f.setBottomBorderBrush(brush);
        break;
    default:
        f.setRightBorder(width);
        f.setRightBorderStyle(style);
        f.setRightBorderBrush(brush);
        break;
    }
}

struct Placement {
    int startCol = 0;
    int span = 1;
    int rowSpan = 1;
    bool absorbed = false;  // merged into the cell above
    const CellDef* def = nullptr;
    QVector<Paragraph> paragraphs;
};

} // namespace

void DocumentBuilder::addTable(const QVector<TableRow>& rows, bool pageBreakBefore)
{
    if (rows.isEmpty())
        return;
    const int left = rows.first().def.left;

    // Every row's cell edges, made strictly increasing; rows with more cells than definitions
    // get an inch per extra cell.
    QVector<QVector<int>> edges(rows.size());
    std::vector<int> bounds;
    for (int r = 0; r < rows.size(); ++r) {
        const TableRow& row = rows[r];
        const int count = std::max<int>(row.def.cells.size(), row.cells.size());
        int prev = row.def.left;
        for (int i = 0; i < count; ++i) {
            int right = i < row.def.cells.size() ? row.def.cells[i].right : prev + 1440;
            right = std::max(right, prev + 1);
            edges[r].append(right);
            bounds.push_back(right);
            prev = right;
        }
    }
    std::sort(bounds.begin(), bounds.end());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
    bounds.erase(std::remove_if(bounds.begin(), bounds.end(), [&](int x) { return x <= left; }), bounds.end());
    if (bounds.empty())
        bounds.push_back(left + 1440);
    if (int(bounds.size()) > kMaxTableColumns)
        bounds.resize(kMaxTableColumns);
    const int cols = int(bounds.size());
    auto colIndex = [&](int x) {
        const auto it = std::lower_bound(bounds.begin(), bounds.end(), x);
        return std::min(int(it - bounds.begin()), cols - 1);
    };

    // Where each cell of each row goes; cells past the last column join the last cell.
    static const CellDef kNoDef;
    QVector<QVector<Placement>> grid(rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        const TableRow& row = rows[r];
        int nextCol = 0;
        for (int i = 0; i < edges[r].size(); ++i) {
            QVector<Paragraph> content = i < row.cells.size() ? row.cells[i] : QVector<Paragraph>();
            if (nextCol >= cols) {
                if (!grid[r].isEmpty())
                    grid[r].last().paragraphs += content;
                continue;
            }
            Placement p;
            p.startCol = nextCol;
            const int endCol = std::max(colIndex(edges[r][i]), nextCol);
            p.span = endCol - nextCol + 1;
            p.def = i < row.def.cells.size() ? &row.def.cells[i] : &kNoDef;
            p.paragraphs = std::move(content);
            nextCol = endCol + 1;
            grid[r].append(std::move(p));
        }
    }
    // Cells merged down a column.
    for (int r = 0; r < grid.size(); ++r)
        for (Placement& p : grid[r]) {
            if (p.absorbed || p.def->verticalMerge != 1)
                continue;
            for (int below = r + 1; below < grid.size(); ++below) {
                auto it = std::find_if(grid[below].begin(), grid[below].end(), [&](const Placement& q) {
                    return q.startCol == p.startCol && q.span == p.span && q.def->verticalMerge == 2;
                });
                if (it == grid[below].end())
                    break;
                it->absorbed = true;
                for (const Paragraph& para : it->paragraphs)
                    if (!para.runs.isEmpty())
                        p.paragraphs.append(para);
                ++p.rowSpan;
            }
        }

    QTextTableFormat format;
    format.setBorder(0);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(0);
    format.setMargin(0);
    QVector<QTextLength> widths;
    int prev = left;
    for (int x : bounds) {
        widths.append(QTextLength(QTextLength::FixedLength, twipsToScaled(x - prev)));
        prev = x;
    }
    format.setColumnWidthConstraints(widths);
    const int align = rows.first().def.align;
    format.setAlignment(align == 1 ? Qt::AlignHCenter : align == 2 ? Qt::AlignRight : Qt::AlignLeft);
    format.setLeftMargin(twipsToScaled(left));
    format.setProperty(props::TableLeft, left);
    if (pageBreakBefore)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);

    if (fresh_) {
        // Qt keeps a block before a table at the start of a document (and between two tables);
        // it is not a paragraph of the file.
        QTextBlockFormat implicit;
        implicit.setProperty(props::ImplicitBlock, true);
        cursor_.setBlockFormat(implicit);
    }
    QTextTable* table = cursor_.insertTable(int(rows.size()), cols, format);

    for (int r = 0; r < grid.size(); ++r) {
        const int gap = rows[r].def.gap;
        for (const Placement& p : grid[r]) {
            if (p.absorbed)
                continue;
            QTextTableCellFormat cf;
            cf.setLeftPadding(twipsToScaled(gap));
            cf.setRightPadding(twipsToScaled(gap));
            cf.setTopPadding(0);
            cf.setBottomPadding(0);
            applyBorder(cf, 0, p.def->top);
            applyBorder(cf, 1, p.def->left);
            applyBorder(cf, 2, p.def->bottom);
            applyBorder(cf, 3, p.def->right_);
            if (p.def->shading.isValid())
                cf.setBackground(p.def->shading);
            cf.setVerticalAlignment(p.def->verticalAlign == 1   ? QTextCharFormat::AlignMiddle
                                    : p.def->verticalAlign == 2 ? QTextCharFormat::AlignBottom
                                                                : QTextCharFormat::AlignTop);
            table->cellAt(r, p.startCol).setFormat(cf);
        }
    }
    for (int r = 0; r < grid.size(); ++r)
        for (const Placement& p : grid[r])
            if (!p.absorbed && (p.span > 1 || p.rowSpan > 1))
                table->mergeCells(r, p.startCol, p.rowSpan, p.span);
    for (int r = 0; r < grid.size(); ++r)
        for (const Placement& p : grid[r])
            if (!p.absorbed)
                fillCell(table->cellAt(r, p.startCol), p.paragraphs);

    cursor_.movePosition(QTextCursor::End);
    fresh_ = true;
}

} // namespace postavo::richtext::detail
