#include "envelopezones.h"

#include <algorithm>

namespace postavo::envelopes {

std::array<ZoneInches, 4> uspsZonesInches(double w, double h)
{
    const double addressLeft = w < kWideEnvelope ? 0.5 : w - 9.75;
    return {{
        {Zone::ReturnAddress, QRectF(QPointF(0, 0), QPointF(w / 2, std::min(h / 3, h - 2.75)))},
        {Zone::Address, QRectF(QPointF(addressLeft, h - 2.75), QPointF(w - 0.5, h - 0.625))},
        {Zone::BarcodeClear, QRectF(QPointF(w - 4, h - 0.625), QPointF(w - 0.5, h))},
        {Zone::Fim, QRectF(QPointF(w - 3, 0), QPointF(w - 2, 0.625))},
    }};
}

std::array<ZonePixels, 4> uspsZonesPixels(int W, int H, double ppi, float zoom)
{
    // Lengths in inches become whole pixels at the zoom, cut toward zero.
    const auto p = [ppi, zoom](double inches) { return int(inches * ppi * double(zoom)); };
    const bool narrow = int(W / double(zoom)) < int(kWideEnvelope * ppi);
    const EdgeRect returnArea{1, 1, W / 2, std::min(H / 3, H - p(2.75))};
    const EdgeRect address{narrow ? p(0.5) : W - p(9.75), H - p(2.75), W - p(0.5), H - p(0.625)};
    const EdgeRect clear{W - p(4), H - p(0.625), W - p(0.5), H - 1};
    const EdgeRect fim{W - p(3), 1, W - p(2), p(0.625)};
    return {{
        {Zone::ReturnAddress, returnArea, QStringLiteral("[Return Address Area]"), QPoint(3, 3)},
        {Zone::Address, address, QStringLiteral("[Address Area]"), QPoint(address.left + 2, address.top + 2)},
        {Zone::BarcodeClear, clear, QStringLiteral("[Barcode Clear Zone]"), QPoint(clear.left + 2, clear.top + 2)},
        {Zone::Fim, fim, QStringLiteral("[FIM Area]"), QPoint(fim.left + 2, 3)},
    }};
}

EdgeRect printableRect(const PrinterArea& a, float zoom)
{
    const auto z = [zoom](int v) { return int(v * double(zoom)); };
    return {z(a.left), z(a.top), z(a.pageWidth - a.right), z(a.pageHeight - a.bottom)};
}

PrinterArea printerAreaPixels(double left, double top, double right, double bottom, double pageWidth,
                              double pageHeight, double ppi)
{
    const auto px = [ppi](double inches) { return int(inches * ppi); };
    return {px(left), px(top), px(right), px(bottom), px(pageWidth), px(pageHeight)};
}

} // namespace postavo::envelopes
