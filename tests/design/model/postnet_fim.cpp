// POSTNET digits, delivery points and bar geometry; FIM positions on paper and on screen.
#include "fimmark.h"
#include "postnet.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using namespace postavo::design;

namespace {

int fullBars(const std::vector<bool>& bars) { return int(std::count(bars.begin(), bars.end(), true)); }

} // namespace

TEST(Postnet, FiveDigitZip)
{
    const QString d = postnet::encodedDigits("12345", "", postnet::Kind::FiveDigit);
    EXPECT_EQ(d, "123455");
    EXPECT_EQ(postnet::barPattern(d).size(), 32u);
    EXPECT_NEAR(postnet::codeLength(6), 1.441, 1e-9);
}

TEST(Postnet, ElevenDigitsWithStreet)
{
    const QString d = postnet::encodedDigits("12345-6789", "123 Main St", postnet::Kind::ElevenDigit);
    EXPECT_EQ(d, "123456789230");
    const auto bars = postnet::barPattern(d);
    ASSERT_EQ(bars.size(), 62u);
    // Every digit has exactly two full bars, plus the two frame bars.
    EXPECT_EQ(fullBars(bars), 2 * 12 + 2);
    const auto rects = postnet::barRects(d, 1.0, 2.0);
    ASSERT_EQ(rects.size(), 62u);
    EXPECT_NEAR(rects.back().right() - rects.front().left(), 2.821, 1e-9);
    EXPECT_NEAR(postnet::codeLength(12), 2.821, 1e-9);
    EXPECT_NEAR(postnet::codeLength(10), 2.361, 1e-9);
    // Full bars from the top line, half bars standing on the same baseline.
    EXPECT_DOUBLE_EQ(rects[0].top(), 2.0);
    EXPECT_DOUBLE_EQ(rects[0].bottom(), 2.125);
    EXPECT_NEAR(rects[0].width(), 0.015, 1e-12);
    // Digit 1 is H H H F F: its first bar is a half bar.
    EXPECT_NEAR(rects[1].top(), 2.125 - 0.055, 1e-12);
    EXPECT_DOUBLE_EQ(rects[1].bottom(), 2.125);
    EXPECT_NEAR(rects[1].left() - rects[0].left(), 0.046, 1e-12);
}

TEST(Postnet, DigitTable)
{
    const char* expect[10] = {"FFHHH", "HHHFF", "HHFHF", "HHFFH", "HFHHF", "HFHFH", "HFFHH", "FHHHF", "FHHFH", "FHFHH"};
    for (int d = 0; d < 10; ++d) {
        QString got;
        for (bool f : postnet::digitBars(d))
            got += f ? 'F' : 'H';
        EXPECT_EQ(got, QString(expect[d])) << d;
    }
}

TEST(Postnet, DeliveryPoint)
{
    const std::pair<const char*, const char*> cases[] = {
        {"123 MAIN ST", "23"},        {"456 1ST AVE", "56"},      {"123 1/2 MAIN", "23"},
        {"PO BOX 5", "05"},           {"MAIN STREET", "99"},      {"10 APOLLO RD", "99"},
        {"PSC 1234 BOX 5 FPO AE", "99"}, {"123 MAIN ST APT 4", "04"}, {"", "99"},
        {"12 W 42ND ST", "12"},       {"7 ELM #4", "04"},         {"99 3RD AVE APT 12B", "12"},
        {"1600 pennsylvania ave", "00"},    {"5", "05"},
    };
    for (const auto& [address, dp] : cases)
        EXPECT_EQ(postnet::deliveryPoint(address), QString(dp)) << address;
}

TEST(Postnet, InvalidZipsPrintNothing)
{
    for (const char* zip : {"K1A 0B1", "1234", "", "ABCDE", "1234A"})
        EXPECT_TRUE(postnet::encodedDigits(zip, "1 MAIN ST", postnet::Kind::ElevenDigit).isEmpty()) << zip;
    EXPECT_FALSE(postnet::zipIsValid("K1A 0B1"));
    EXPECT_TRUE(postnet::zipIsValid("99999-9999"));
    EXPECT_FALSE(postnet::zipIsValid("99999-99999"));
}

TEST(Postnet, NineDigitTypeWithFiveDigitZip)
{
    EXPECT_EQ(postnet::encodedDigits("12345", "", postnet::Kind::NineDigit), "123455");
    EXPECT_EQ(postnet::encodedDigits("12345-6789", "", postnet::Kind::NineDigit), "1234567895");
    // A zip without its extra four digits never gets delivery point digits: only 5-, 9- and
    // 11-digit codes are readable.
    EXPECT_EQ(postnet::encodedDigits("12345", "123 MAIN ST", postnet::Kind::ElevenDigit), "123455");
}

TEST(Postnet, CheckDigit)
{
    EXPECT_EQ(postnet::checkDigit("12345"), 5);
    EXPECT_EQ(postnet::checkDigit("12345678923"), 0);
    EXPECT_EQ(postnet::checkDigit("00000"), 0);
    EXPECT_EQ(postnet::checkDigit("9"), 1);
}

TEST(Fim, Patterns)
{
    EXPECT_EQ(fim::pattern(fim::Type::A), "110010011");
    EXPECT_EQ(fim::pattern(fim::Type::B), "101101101");
    EXPECT_EQ(fim::pattern(fim::Type::C), "110101011");
    const auto bars = fim::barRects(fim::Type::A, 1.0, 0.5);
    ASSERT_EQ(bars.size(), 5u);
    EXPECT_DOUBLE_EQ(bars.front().left(), 1.0);
    EXPECT_DOUBLE_EQ(bars.back().right(), 1.0 + 17.0 / 32.0);
    EXPECT_DOUBLE_EQ(bars.front().height(), 0.5625);
    EXPECT_DOUBLE_EQ(bars[1].left(), 1.0 + 2.0 / 32.0);
}

TEST(Fim, ScreenBarsAt96And120)
{
    const auto c = fim::screenBars(fim::Type::C, 96, 1.0f);
    ASSERT_EQ(c.size(), 6u);
    for (const QRect& r : c) {
        EXPECT_EQ(r.width(), 3);
        EXPECT_EQ(r.height(), 54);
    }
    EXPECT_EQ(c[1].left(), 6);
    EXPECT_EQ(fim::screenSide(96, 1.0f), 60);
    EXPECT_EQ(fim::createWidth(96), 60);
    EXPECT_EQ(fim::createHeight(96), 54);
    // 120 ppi: 3.75 pixels cut to 3, 67.5 cut to 67.
    const auto c120 = fim::screenBars(fim::Type::C, 120, 1.0f);
    EXPECT_EQ(c120[0].width(), 3);
    EXPECT_EQ(c120[0].height(), 67);
    EXPECT_EQ(fim::screenSide(96, 2.0f), 120);
}
