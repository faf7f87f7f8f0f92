#pragma once
// The Intelligent Mail barcode (IMb): the fields a mailer types, the routing code taken from a
// record's zip code and street, the 65 four-state bars (encoded by libzint) and where every bar
// goes on paper, in inches. Plain rules, shared by the barcode object and the tests.

#include <QRectF>
#include <QString>
#include <vector>

namespace postavo::design::imb {

// Printed geometry. The postal standard (USPS-B-3200, section 2.3.1, "Barcode dimensions")
// allows bars 0.015 to 0.025 inch wide at 22 bars per inch (20 to 24), a full bar 0.125 to
// 0.165 inch high, a tracker 0.039 to 0.057 inch and an ascender or descender 0.082 to 0.111
// inch; we print the middle of every range. Figures as the postal standard gives them (quoted in
// libzint's backend/imail.c, and in the barcode dimension tables printer makers publish, such
// as "Bar Width 0.020 +- 0.005 inch, Horizontal Pitch 22 +- 2 bars per inch").
inline constexpr int kBarCount = 65;
inline constexpr double kBarWidth = 0.020;         // inches
inline constexpr double kBarPitch = 1.0 / 22;      // left edge to left edge
inline constexpr double kTrackerHeight = 0.048;
inline constexpr double kExtenderHeight = 0.0485;  // an ascender or descender beyond the tracker
inline constexpr double kFullHeight = kTrackerHeight + 2 * kExtenderHeight; // 0.145

// The tracking code's fields as typed: barcode identifier (2 digits, the second 0 to 4),
// service type (3 digits), mailer identifier (6 or 9 digits) and serial number (9 or 6 digits,
// 15 digits with the mailer identifier).
struct Fields {
    QString barcodeIdentifier, serviceType, mailerIdentifier, serialNumber;
    bool operator==(const Fields&) const = default;
};
// What is wrong with the fields, in words for the user; empty when they are sound.
QString fieldsProblem(const Fields& fields);
// The 20 digits of the tracking code; empty when the fields are not sound.
QString trackingCode(const Fields& fields);

// How much of the zip code is the routing code: none, 5 digits, ZIP+4, or ZIP+4 and the two
// delivery point digits (the object's RoutingCode, in the same order).
enum class Routing { None = 0, Zip5 = 1, Zip9 = 2, Zip11 = 3 };
// The routing code of a record: the zip's digits cut to what `routing` asks and the zip has
// (ZIP+4 needs 9 digits, the delivery point comes from the street line as for POSTNET). Empty
// when there is none or the zip is not a US zip code.
QString routingCode(const QString& zip, const QString& address, Routing routing);

// The 65 bars as letters, left to right: F full, A ascender, D descender, T tracker. Empty with
// `error` set when the library refuses the data.
QString encodeBars(const QString& tracking, const QString& routing, QString* error = nullptr);

// Total length of the code, inches (first bar's left edge to the last bar's right edge).
double codeLength();
// The bars as rectangles in inches: the first bar's left edge at x, the full bars' top at y.
std::vector<QRectF> barRects(const QString& bars, double x, double y);

} // namespace postavo::design::imb
