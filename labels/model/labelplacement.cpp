#include "labelplacement.h"

namespace postavo::labels {

int positionIndex(const LabelSheetDefinition& d, int row, int column)
{
    return row * d.nbrAcross + column;
}

LabelPosition positionAt(const LabelSheetDefinition& d, int index)
{
    if (d.nbrAcross < 1)
        return {};
    return {index / d.nbrAcross, index % d.nbrAcross};
}

QPointF labelOrigin(const LabelSheetDefinition& d, int row, int column)
{
    double x = double(d.leftMarg) + column * double(d.horizPitch);
    double y = double(d.topMarg) + row * double(d.vertPitch);
    if (column >= d.nbrAcross / 2 && d.midExtraX > 0)
        x += d.midExtraX;
    if (row >= d.nbrDown / 2 && d.midExtraY > 0)
        y += d.midExtraY;
    return {x, y};
}

QRectF labelRect(const LabelSheetDefinition& d, int row, int column)
{
    return QRectF(labelOrigin(d, row, column), QSizeF(double(d.lblWidth), double(d.lblHeight)));
}

QRectF labelRect(const LabelSheetDefinition& d, int index)
{
    const LabelPosition p = positionAt(d, index);
    return labelRect(d, p.row, p.column);
}

QRectF labelsExtent(const LabelSheetDefinition& d)
{
    if (d.nbrAcross < 1 || d.nbrDown < 1)
        return {};
    const QRectF first = labelRect(d, 0, 0);
    const QRectF last = labelRect(d, d.nbrDown - 1, d.nbrAcross - 1);
    return first.united(last);
}

} // namespace postavo::labels
