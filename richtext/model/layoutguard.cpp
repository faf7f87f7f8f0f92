#include "layoutguard.h"

#include "layoutunits.h"

#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <cmath>
#include <optional>
#include <unordered_map>

namespace postavo::richtext::detail {

namespace {

// Font metrics by character format, measured once.
class Metrics {
public:
    explicit Metrics(const QTextDocument& doc) : base_(doc.defaultFont()) {}
    const QFontMetricsF& of(const QTextFragment& fragment)
    {
        auto it = cache_.find(fragment.charFormatIndex());
        if (it == cache_.end())
            it = cache_.emplace(fragment.charFormatIndex(),
                                QFontMetricsF(fragment.charFormat().font().resolve(base_), layoutDevice())).first;
        return it->second;
    }
    const QFontMetricsF& base()
    {
        if (!baseMetrics_)
            baseMetrics_.emplace(base_, layoutDevice());
        return *baseMetrics_;
    }

private:
    QFont base_;
    std::unordered_map<int, QFontMetricsF> cache_;
    std::optional<QFontMetricsF> baseMetrics_;
};

double blockHeight(Metrics& m, const QTextBlock& block, double width)
{
    width = std::max(width - block.blockFormat().leftMargin() - block.blockFormat().rightMargin(), 15.0);
    double advance = 0;
    double lines = 1;
    double fontLine = 0;
    double images = 0;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat f = fragment.charFormat();
        if (f.isImageFormat()) {
            const QTextImageFormat image = f.toImageFormat();
            images += std::max(0.0, image.height()) * kScaledLengthFactor;
            advance += std::max(0.0, image.width()) * kScaledLengthFactor * fragment.length();
            continue;
        }
        const QFontMetricsF& metrics = m.of(fragment);
        fontLine = std::max(fontLine, metrics.lineSpacing());
        const QString text = fragment.text();
        const double w = metrics.horizontalAdvance(text);
        advance += w;
        lines += text.count(QLatin1Char('\t')) + text.count(QChar::LineSeparator);
        if (w > width)
            for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                const double ww = metrics.horizontalAdvance(word);
                if (ww > width)
                    lines += std::ceil(ww / width);
            }
    }
    // Greedy wrapping fills any two neighbouring lines with more than a line's width.
    if (advance > width)
        lines += 2 * advance / width;
    const QTextBlockFormat bf = block.blockFormat();
    if (fontLine <= 0)
        fontLine = m.base().lineSpacing();
    double line = fontLine;
    const double value = bf.lineHeight() * kScaledLengthFactor;
    switch (bf.lineHeightType()) {
    case QTextBlockFormat::FixedHeight: line = value; break;
    case QTextBlockFormat::MinimumHeight: line = std::max(line, value); break;
    case QTextBlockFormat::LineDistanceHeight: line += std::max(0.0, value); break;
    case QTextBlockFormat::ProportionalHeight: line *= std::max(1.0, bf.lineHeight() / 100.0); break;
    default: break;
    }
    return lines * line + images + (std::max(0.0, bf.topMargin()) + std::max(0.0, bf.bottomMargin())) * kScaledLengthFactor;
}

double frameHeight(const QTextDocument& doc, Metrics& m, const QTextFrame* frame, double width);

double tableHeight(const QTextDocument& doc, Metrics& m, const QTextTable* table, double width)
{
    const QVector<QTextLength> constraints = table->format().columnWidthConstraints();
    double total = 0;
    for (int r = 0; r < table->rows(); ++r) {
        double row = 0;
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;
            double cellWidth = 0;
            for (int k = c; k < c + cell.columnSpan() && k < constraints.size(); ++k)
                if (constraints[k].type() == QTextLength::FixedLength)
                    cellWidth += constraints[k].rawValue() * kScaledLengthFactor;
            if (cellWidth <= 0)
                cellWidth = width / std::max(1, table->columns());
            double height = 0;
            for (QTextBlock b = doc.findBlock(cell.firstPosition()); b.isValid() && b.position() <= cell.lastPosition(); b = b.next())
                height += blockHeight(m, b, cellWidth);
            row = std::max(row, height);
        }
        // Borders and padding: a generous allowance.
        total += row + 1440;
    }
    return total;
}

double frameHeight(const QTextDocument& doc, Metrics& m, const QTextFrame* frame, double width)
{
    double total = 0;
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const QTextFrame* child = it.currentFrame()) {
            if (const auto* table = qobject_cast<const QTextTable*>(child))
                total += tableHeight(doc, m, table, width);
            else
                total += frameHeight(doc, m, child, width);
        } else {
            total += blockHeight(m, it.currentBlock(), width);
        }
    }
    return total;
}

} // namespace

int positionBeyondBudget(const QTextDocument& doc, double width, double budget)
{
    Metrics m(doc);
    double total = 0;
    for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
        int position;
        if (const QTextFrame* child = it.currentFrame()) {
            position = child->firstPosition() - 1;
            if (const auto* table = qobject_cast<const QTextTable*>(child))
                total += tableHeight(doc, m, table, width);
            else
                total += frameHeight(doc, m, child, width);
        } else {
            position = it.currentBlock().position();
            total += blockHeight(m, it.currentBlock(), width);
        }
        if (total > budget)
            return std::max(0, position);
    }
    return -1;
}

double estimatedHeight(const QTextDocument& doc, double width)
{
    Metrics m(doc);
    return frameHeight(doc, m, doc.rootFrame(), width);
}

void cutFrom(QTextDocument* document, int position)
{
    QTextCursor at(document);
    at.setPosition(std::clamp(position, 0, std::max(0, document->characterCount() - 1)));
    // Tables first, through their own API: cutting through one with a selection leaves Qt's
    // table in pieces.
    QList<QTextTable*> tables;
    for (auto it = document->rootFrame()->begin(); !it.atEnd(); ++it)
        if (auto* t = qobject_cast<QTextTable*>(it.currentFrame()); t && t->firstPosition() > position)
            tables.append(t);
    for (QTextTable* t : tables)
        t->removeRows(0, t->rows());
    QTextCursor c(document);
    c.setPosition(std::max(0, at.position() - 1));
    c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    c.removeSelectedText();
}

} // namespace postavo::richtext::detail
