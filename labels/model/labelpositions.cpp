#include "labelpositions.h"

#include <QRegularExpression>
#include <QStringList>

namespace postavo::labels {

int PositionSelection::countOn(const LabelSheetDefinition& d) const
{
    const int n = std::min(d.positionCount(), kMaxPositions);
    int on = 0;
    for (int i = 0; i < n; ++i)
        on += flags_.test(size_t(i)) ? 1 : 0;
    return on;
}

bool parsePositionList(const QString& text, const LabelSheetDefinition& d, PositionSelection* out, QString* error)
{
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    const int count = std::min(d.positionCount(), kMaxPositions);
    PositionSelection chosen;
    chosen.clearAll();
    static const QRegularExpression item(QStringLiteral("^\\s*(\\d+)\\s*(?:-\\s*(\\d+)\\s*)?$"));
    const QStringList parts = text.split(QLatin1Char(','));
    for (const QString& part : parts) {
        const QRegularExpressionMatch m = item.match(part);
        if (!m.hasMatch())
            return fail(QStringLiteral("\"%1\" is not a position number or a range such as 8-30.").arg(part.trimmed()));
        bool okFirst = false, okLast = true;
        const int first = m.captured(1).toInt(&okFirst);
        const int last = m.captured(2).isEmpty() ? first : m.captured(2).toInt(&okLast);
        if (!okFirst || !okLast || first < 1 || last < 1 || first > count || last > count)
            return fail(QStringLiteral("The sheet has positions 1 to %1; \"%2\" is not among them.")
                            .arg(count)
                            .arg(part.trimmed()));
        if (last < first)
            return fail(QStringLiteral("The range \"%1\" runs backwards.").arg(part.trimmed()));
        for (int p = first; p <= last; ++p)
            chosen.set(p - 1, true);
    }
    *out = chosen;
    return true;
}

QString positionListText(const PositionSelection& p, const LabelSheetDefinition& d)
{
    const int count = std::min(d.positionCount(), kMaxPositions);
    QStringList parts;
    for (int i = 0; i < count;) {
        if (!p.isSelected(i)) {
            ++i;
            continue;
        }
        int j = i;
        while (j + 1 < count && p.isSelected(j + 1))
            ++j;
        parts << (j == i ? QString::number(i + 1) : QStringLiteral("%1-%2").arg(i + 1).arg(j + 1));
        i = j + 1;
    }
    return parts.join(QLatin1Char(','));
}

QRect pickerPageRect(const LabelSheetDefinition& d, double scale)
{
    return QRect(10, 10, int(double(d.sheetWidth) * scale), int(double(d.sheetDepth) * scale));
}

QRect pickerPositionRect(const LabelSheetDefinition& d, int row, int column, double scale)
{
    int left = int(double(d.leftMarg) * scale) + column * int(double(d.horizPitch) * scale) + 10;
    int top = int(double(d.topMarg) * scale) + row * int(double(d.vertPitch) * scale) + 10;
    if (column >= d.nbrAcross / 2 && d.midExtraX > 0)
        left += int(d.midExtraX * scale);
    if (row >= d.nbrDown / 2 && d.midExtraY > 0)
        top += int(d.midExtraY * scale);
    return QRect(left, top, int(double(d.lblWidth) * scale), int(double(d.lblHeight) * scale));
}

int pickerPositionAt(const LabelSheetDefinition& d, QPoint p, double scale)
{
    const int count = std::min(d.positionCount(), kMaxPositions);
    for (int i = 0; i < count; ++i) {
        const LabelPosition at = positionAt(d, i);
        if (pickerPositionRect(d, at.row, at.column, scale).contains(p))
            return i;
    }
    return -1;
}

SheetWalker::Step SheetWalker::advance()
{
    Step step;
    // A selection without any of the sheet's positions would start sheet after empty sheet; the
    // callers refuse it, and the walk gives up after one whole sheet rather than run for ever.
    const int limit = std::max(1, d_.nbrAcross * d_.nbrDown) + 1;
    for (int tries = 0; tries < limit; ++tries) {
        ++column_;
        if (column_ >= d_.nbrAcross) {
            column_ = 0;
            ++row_;
            if (row_ >= d_.nbrDown) {
                row_ = 0;
                ++sheet_;
                step.newSheet = true;
            }
        }
        if (positions_.isSelected(positionIndex(d_, row_, column_)))
            break;
    }
    step.row = row_;
    step.column = column_;
    return step;
}

} // namespace postavo::labels
