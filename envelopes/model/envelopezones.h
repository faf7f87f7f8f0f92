#pragma once
// The drawing aids of the envelope designer: the four USPS automation zones (return address,
// address, barcode clear zone, FIM) and the printer's printable area. Each zone is given in
// inches from the envelope's top-left corner, and in the surface pixels the designer paints,
// worked out the way the designer has always drawn them (lengths truncated to whole pixels).

#include <QRect>
#include <QRectF>
#include <QString>
#include <array>

namespace postavo::envelopes {

enum class Zone { ReturnAddress, Address, BarcodeClear, Fim };

struct ZoneInches {
    Zone zone;
    QRectF rect; // inches
};

// A rectangle by its edges, as the designer fills it.
struct EdgeRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const EdgeRect&) const = default;
};

struct ZonePixels {
    Zone zone;
    EdgeRect rect;
    QString caption;   // "[Address Area]", ...
    QPoint captionAt;  // where the caption's top-left corner goes
};

// Envelopes at least this wide put the address zone's left edge 9.75 inches left of the right
// edge; narrower ones half an inch in from the left.
inline constexpr double kWideEnvelope = 10.25;

// The zones of an envelope of width x height inches, in the order above.
std::array<ZoneInches, 4> uspsZonesInches(double width, double height);

// The zones on a surface of W x H pixels at `zoom`, for a screen of `ppi` pixels per inch.
std::array<ZonePixels, 4> uspsZonesPixels(int W, int H, double ppi, float zoom);

// The printer's printable area as the red dotted rectangle: margins and page size in surface
// pixels at 100 % (inches times pixels per inch, truncated), scaled to `zoom`.
struct PrinterArea {
    int left = 0, top = 0, right = 0, bottom = 0;       // unprintable margins
    int pageWidth = 0, pageHeight = 0;
};
EdgeRect printableRect(const PrinterArea& area, float zoom);
// The printer's margins and page in inches to the pixels the designer is given.
PrinterArea printerAreaPixels(double left, double top, double right, double bottom, double pageWidth,
                              double pageHeight, double ppi);

} // namespace postavo::envelopes
