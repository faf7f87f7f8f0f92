#include "postnet.h"

namespace postavo::design::postnet {

namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Byte-by-byte comparison of the zip text with a plain ASCII bound, as the old check did.
int compareBytes(const QString& text, const char* bound)
{
    const QByteArray bytes = text.toLatin1();
    const QByteArray b(bound);
    const int n = std::min(bytes.size(), b.size());
    for (int i = 0; i < n; ++i) {
        const uchar x = uchar(bytes[i]), y = uchar(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return bytes.size() == b.size() ? 0 : (bytes.size() < b.size() ? -1 : 1);
}

QString digitsOf(const QString& text)
{
    QString out;
    for (QChar c : text)
        if (isDigit(c))
            out += c;
    return out;
}

} // namespace

bool zipIsValid(const QString& zip)
{
    return zip.size() >= 5 && compareBytes(zip, "00000") >= 0 && compareBytes(zip, "99999-9999") <= 0;
}

QString deliveryPoint(const QString& address)
{
    const QString text = address.toUpper();
    QChar tens = QLatin1Char(' '), units = QLatin1Char(' ');
    bool unitsFound = false, tensFound = false, fraction = false, ordinal = false;
    const bool military = text.contains(QLatin1String("APO")) || text.contains(QLatin1String("FPO"));

    for (int i = int(text.size()) - 1; i >= 0; --i) {
        if (military)
            return QStringLiteral("99");
        const QChar ch = text.at(i);
        const QString pair = text.mid(i, 2);
        if (isDigit(ch)) {
            if (fraction || ordinal || (unitsFound && tensFound))
                continue;
            if (!unitsFound) {
                units = ch;
                unitsFound = true;
            } else {
                tens = ch;
                tensFound = true;
            }
        } else if (ch == QLatin1Char(' ')) {
            if (unitsFound)
                break;
            fraction = ordinal = false;
        } else if (ch == QLatin1Char('/') && unitsFound) {
            // The digits seen belong to a fraction such as 1/2: start again left of it.
            fraction = true;
            units = tens = QLatin1Char(' ');
            unitsFound = tensFound = false;
        } else if (unitsFound && !tensFound) {
            // A single digit right of a letter or sign ("#4", "A4"): a one-digit number.
            tens = QLatin1Char('0');
            tensFound = true;
        } else if (pair == QLatin1String("ST") || pair == QLatin1String("ND") || pair == QLatin1String("RD")
                   || pair == QLatin1String("TH")) {
            ordinal = true;
        }
    }
    if (!unitsFound && !tensFound)
        return QStringLiteral("99");
    if (!tensFound)
        tens = QLatin1Char('0');
    return QString(tens) + units;
}

int checkDigit(const QString& digits)
{
    int sum = 0;
    for (QChar c : digits)
        if (isDigit(c))
            sum += c.unicode() - '0';
    return (10 - sum % 10) % 10;
}

QString encodedDigits(const QString& zip, const QString& address, Kind kind)
{
    if (!zipIsValid(zip))
        return {};
    const QString zipDigits = digitsOf(zip);
    // Only codes of 5, 9 or 11 digits (plus the check digit) can be read by the sorting
    // machines: a zip without its four extra digits gives the 5-digit code whatever the type
    // asks for, and digits beyond the ninth are not encoded.
    if (zipDigits.size() < 5)
        return {};
    QString digits;
    if (kind == Kind::FiveDigit || zipDigits.size() < 9)
        digits = zipDigits.left(5);
    else if (kind == Kind::NineDigit)
        digits = zipDigits.left(9);
    else
        digits = zipDigits.left(9) + deliveryPoint(address);
    return digits + QChar(QLatin1Char(char('0' + checkDigit(digits))));
}

std::vector<bool> digitBars(int digit)
{
    static const char* const table[10] = {"FFHHH", "HHHFF", "HHFHF", "HHFFH", "HFHHF",
                                          "HFHFH", "HFFHH", "FHHHF", "FHHFH", "FHFHH"};
    std::vector<bool> bars;
    if (digit < 0 || digit > 9)
        return bars;
    for (const char* p = table[digit]; *p; ++p)
        bars.push_back(*p == 'F');
    return bars;
}

std::vector<bool> barPattern(const QString& digits)
{
    std::vector<bool> bars{true};
    for (QChar c : digits)
        if (isDigit(c))
            for (bool full : digitBars(c.unicode() - '0'))
                bars.push_back(full);
    bars.push_back(true);
    return bars;
}

double codeLength(int digitCount)
{
    return (5 * digitCount + 1) * kBarPitch + kBarWidth;
}

std::vector<QRectF> barRects(const QString& digits, double x, double y)
{
    std::vector<QRectF> rects;
    const double baseline = y + kFullHeight;
    for (bool full : barPattern(digits)) {
        const double top = full ? y : baseline - kHalfHeight;
        rects.emplace_back(QPointF(x, top), QPointF(x + kBarWidth, baseline));
        x += kBarPitch;
    }
    return rects;
}

} // namespace postavo::design::postnet
