// Our POSTNET bars against libzint's POSTNET for a few hundred zip codes of every length: the
// same check digit and the same full and half bars, frame bars included.
#include "postnet.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <memory>
#include <zint.h>

using namespace postavo::design;

namespace {

// libzint's bars for the digits (it adds the check digit itself): true for a full bar.
std::vector<bool> zintBars(const QString& digits)
{
    std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> s(ZBarcode_Create(), ZBarcode_Delete);
    s->symbology = BARCODE_POSTNET;
    const QByteArray data = digits.toLatin1();
    if (ZBarcode_Encode(s.get(), reinterpret_cast<const unsigned char*>(data.constData()), int(data.size())) >= ZINT_ERROR)
        return {};
    // Row 0 holds the upper part of the full bars, row 1 every bar; a bar in every other column.
    std::vector<bool> bars;
    for (int column = 0; column < s->width; column += 2)
        bars.push_back((s->encoded_data[0][column >> 3] >> (column & 7)) & 1);
    return bars;
}

} // namespace

TEST(PostnetAgainstLibzint, FiveNineAndElevenDigitCodesAgreeBarForBar)
{
    QRandomGenerator random(20130128);
    int compared = 0;
    for (int i = 0; i < 300; ++i) {
        const QString zip5 = QStringLiteral("%1").arg(random.bounded(100000), 5, 10, QLatin1Char('0'));
        const QString plus4 = QStringLiteral("%1").arg(random.bounded(10000), 4, 10, QLatin1Char('0'));
        const QString street = QStringLiteral("%1 Main St").arg(random.bounded(1, 10000));
        const struct {
            QString zip;
            postnet::Kind kind;
        } cases[] = {{zip5, postnet::Kind::FiveDigit},
                     {zip5 + '-' + plus4, postnet::Kind::NineDigit},
                     {zip5 + '-' + plus4, postnet::Kind::ElevenDigit}};
        for (const auto& c : cases) {
            const QString ours = postnet::encodedDigits(c.zip, street, c.kind);
            ASSERT_FALSE(ours.isEmpty()) << c.zip.toStdString();
            const std::vector<bool> theirs = zintBars(ours.chopped(1)); // without our check digit
            ASSERT_FALSE(theirs.empty()) << ours.toStdString();
            EXPECT_EQ(postnet::barPattern(ours), theirs) << c.zip.toStdString() << " " << street.toStdString();
            ++compared;
        }
    }
    EXPECT_EQ(compared, 900);
}
