#include "pagelayout.h"

#include <QPageSize>
#include <algorithm>

namespace postavo::richtext {

bool PageLayout::isUsable() const
{
    return paperWidth > 0 && paperHeight > 0 && paperWidth <= kMaximumPaper
           && paperHeight <= kMaximumPaper && marginLeft >= 0 && marginRight >= 0
           && marginTop >= 0 && marginBottom >= 0 && textWidth() >= kMinimumText
           && textHeight() >= kMinimumText;
}

namespace {

// Cuts two opposite margins in proportion so that `paper` keeps `minimum` between them.
void fitMargins(int paper, int minimum, int* a, int* b)
{
    *a = std::max(0, *a);
    *b = std::max(0, *b);
    const int room = paper - minimum;
    if (*a + *b <= room)
        return;
    const int total = *a + *b;
    const int keepA = total > 0 ? int(qint64(*a) * room / total) : 0;
    *a = std::max(0, keepA);
    *b = std::max(0, room - *a);
}

} // namespace

PageLayout PageLayout::normalized() const
{
    PageLayout p = *this;
    const int smallest = 2 * kMinimumText;
    p.paperWidth = std::clamp(p.paperWidth, smallest, kMaximumPaper);
    p.paperHeight = std::clamp(p.paperHeight, smallest, kMaximumPaper);
    fitMargins(p.paperWidth, kMinimumText, &p.marginLeft, &p.marginRight);
    fitMargins(p.paperHeight, kMinimumText, &p.marginTop, &p.marginBottom);
    return p;
}

QPageLayout PageLayout::toQPageLayout() const
{
    const PageLayout p = normalized();
    // Qt keeps page sizes upright; wider paper is the upright size turned to landscape.
    const bool wide = p.paperWidth > p.paperHeight;
    const QSizeF points = wide ? QSizeF(p.paperHeight / 20.0, p.paperWidth / 20.0)
                               : QSizeF(p.paperWidth / 20.0, p.paperHeight / 20.0);
    const QPageSize size(points, QPageSize::Point, QString(), QPageSize::ExactMatch);
    QPageLayout layout(size, wide ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(p.marginLeft / 20.0, p.marginTop / 20.0, p.marginRight / 20.0,
                                 p.marginBottom / 20.0),
                       QPageLayout::Point);
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

} // namespace postavo::richtext
