#include "intelligentmail.h"

#include "postnet.h"

#include <memory>
#include <zint.h>

namespace postavo::design::imb {

namespace {

bool allDigits(const QString& s)
{
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return !s.isEmpty();
}

QString digitsOf(const QString& text)
{
    QString out;
    for (QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            out += c;
    return out;
}

struct SymbolDeleter {
    void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};

bool module(const zint_symbol& s, int row, int column)
{
    return (s.encoded_data[row][column >> 3] >> (column & 7)) & 1;
}

} // namespace

QString fieldsProblem(const Fields& f)
{
    if (f.barcodeIdentifier.size() != 2 || !allDigits(f.barcodeIdentifier))
        return QStringLiteral("The barcode identifier must be 2 digits.");
    if (f.barcodeIdentifier.at(1) > QLatin1Char('4'))
        return QStringLiteral("The second digit of the barcode identifier must be 0 to 4.");
    if (f.serviceType.size() != 3 || !allDigits(f.serviceType))
        return QStringLiteral("The service type must be 3 digits.");
    if ((f.mailerIdentifier.size() != 6 && f.mailerIdentifier.size() != 9) || !allDigits(f.mailerIdentifier))
        return QStringLiteral("The mailer identifier must be 6 or 9 digits.");
    const int serial = 15 - int(f.mailerIdentifier.size());
    if (f.serialNumber.size() != serial || !allDigits(f.serialNumber))
        return QStringLiteral("With a %1-digit mailer identifier the serial number must be %2 digits.")
            .arg(f.mailerIdentifier.size())
            .arg(serial);
    if (f.mailerIdentifier.size() == 9 && f.mailerIdentifier.at(0) != QLatin1Char('9'))
        return QStringLiteral("A 9-digit mailer identifier begins with 9.");
    if (f.mailerIdentifier.size() == 6 && f.mailerIdentifier.at(0) == QLatin1Char('9'))
        return QStringLiteral("A 6-digit mailer identifier does not begin with 9.");
    return {};
}

QString trackingCode(const Fields& f)
{
    if (!fieldsProblem(f).isEmpty())
        return {};
    return f.barcodeIdentifier + f.serviceType + f.mailerIdentifier + f.serialNumber;
}

QString routingCode(const QString& zip, const QString& address, Routing routing)
{
    if (routing == Routing::None || !postnet::zipIsValid(zip))
        return {};
    const QString digits = digitsOf(zip);
    if (digits.size() < 5)
        return {};
    if (routing == Routing::Zip5 || digits.size() < 9)
        return digits.left(5);
    if (routing == Routing::Zip9)
        return digits.left(9);
    return digits.left(9) + postnet::deliveryPoint(address);
}

QString encodeBars(const QString& tracking, const QString& routing, QString* error)
{
    const QByteArray data = (routing.isEmpty() ? tracking : tracking + QLatin1Char('-') + routing).toLatin1();
    std::unique_ptr<zint_symbol, SymbolDeleter> symbol(ZBarcode_Create());
    if (!symbol) {
        if (error)
            *error = QStringLiteral("The barcode library could not start.");
        return {};
    }
    symbol->symbology = BARCODE_USPS_IMAIL;
    const int rc = ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(data.constData()),
                                   int(data.size()));
    if (rc >= ZINT_ERROR || symbol->rows != 3 || symbol->width != 2 * kBarCount - 1) {
        if (error)
            *error = QString::fromLatin1(symbol->errtxt);
        return {};
    }
    // Three rows: ascenders, trackers (every bar), descenders; a bar in every other column.
    QString bars;
    bars.reserve(kBarCount);
    for (int column = 0; column < symbol->width; column += 2) {
        const bool up = module(*symbol, 0, column), down = module(*symbol, 2, column);
        bars += up && down ? QLatin1Char('F') : up ? QLatin1Char('A') : down ? QLatin1Char('D') : QLatin1Char('T');
    }
    return bars;
}

double codeLength() { return (kBarCount - 1) * kBarPitch + kBarWidth; }

std::vector<QRectF> barRects(const QString& bars, double x, double y)
{
    std::vector<QRectF> rects;
    rects.reserve(size_t(bars.size()));
    for (int i = 0; i < bars.size(); ++i) {
        const QChar b = bars.at(i);
        const bool up = b == QLatin1Char('F') || b == QLatin1Char('A');
        const bool down = b == QLatin1Char('F') || b == QLatin1Char('D');
        const double top = y + (up ? 0 : kExtenderHeight);
        const double bottom = y + kExtenderHeight + kTrackerHeight + (down ? kExtenderHeight : 0);
        const double left = x + i * kBarPitch;
        rects.emplace_back(QPointF(left, top), QPointF(left + kBarWidth, bottom));
    }
    return rects;
}

} // namespace postavo::design::imb
