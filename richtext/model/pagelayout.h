#pragma once
// A document's page: paper size and four margins in twips (1440 twips = 1 inch).

#include <QMarginsF>
#include <QPageLayout>
#include <QRectF>

namespace postavo::richtext {

struct PageLayout {
    // A new letter: 8.5 x 11 inches with 1-inch margins.
    int paperWidth = 12240;
    int paperHeight = 15840;
    int marginLeft = 1440;
    int marginRight = 1440;
    int marginTop = 1440;
    int marginBottom = 1440;

    // The smallest text area a page keeps (a quarter inch each way): narrower settings are
    // taken back to it, so a layout can never leave text no room.
    static constexpr int kMinimumText = 360;
    // The largest paper accepted (200 inches), as word processors do.
    static constexpr int kMaximumPaper = 288000;

    int textWidth() const { return paperWidth - marginLeft - marginRight; }
    int textHeight() const { return paperHeight - marginTop - marginBottom; }
    // The text area in twips from the paper's top-left corner.
    QRectF textRect() const { return QRectF(marginLeft, marginTop, textWidth(), textHeight()); }

    // Whether the values leave a text area (positive sizes, margins not negative).
    bool isUsable() const;
    // The nearest usable layout: sizes within bounds, margins cut so that the text area keeps
    // at least kMinimumText each way.
    PageLayout normalized() const;

    // The page for a printer or PDF writer: paper size in points, margins in points.
    QPageLayout toQPageLayout() const;

    bool operator==(const PageLayout&) const = default;
};

} // namespace postavo::richtext
