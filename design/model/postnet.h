#pragma once
// POSTNET: which zip codes print, the digits encoded (with the delivery point taken from the
// street line and the check digit), and where every bar goes on paper, in inches. Plain rules,
// shared by the barcode object and anything that wants to measure a code.

#include <QRectF>
#include <QString>
#include <vector>

namespace postavo::design::postnet {

// How many digits of the zip code are encoded (the object's BarCodeType, in the same order).
enum class Kind { FiveDigit = 0, NineDigit = 1, ElevenDigit = 2 };

inline constexpr double kBarWidth = 0.015;   // inches
inline constexpr double kBarPitch = 0.046;   // from one bar's left edge to the next
inline constexpr double kFullHeight = 0.125;
inline constexpr double kHalfHeight = 0.055;

// At least five characters and, byte by byte, between "00000" and "99999-9999".
bool zipIsValid(const QString& zip);

// The two delivery point digits from a street line ("99" when there is no number).
QString deliveryPoint(const QString& address);

// The smallest digit that brings the digit sum to a multiple of ten.
int checkDigit(const QString& digits);

// Every digit printed, check digit included; empty when the zip does not print.
QString encodedDigits(const QString& zip, const QString& address, Kind kind);

// The five bars of one digit, true for a full bar.
std::vector<bool> digitBars(int digit);
// Frame bar, five bars per digit, frame bar.
std::vector<bool> barPattern(const QString& digits);

// Total length of a code of `digitCount` digits (check digit included), inches.
double codeLength(int digitCount);

// The bars as rectangles in inches: the first bar's left edge at x, the tall bars' top at y.
std::vector<QRectF> barRects(const QString& digits, double x, double y);

} // namespace postavo::design::postnet
