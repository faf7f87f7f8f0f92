// The envelope designer's rules without its window: each tool's object with its defaults and
// questions, the dragged rectangle's minimum, zoom steps from 60 % to 140 %, the default font's
// caption and the description kept.
#include "addressfile.h"
#include "composedtextobjects.h"
#include "datasurface.h"
#include "envelopedesign.h"
#include "envelopefixtures.h"
#include "fimbarcode.h"
#include "intelligentmailbarcode.h"
#include "multilineobjects.h"
#include "objectdialogs.h"
#include "postnetbarcode.h"
#include "shapeobjects.h"
#include "textdialogs.h"

#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::design;
using namespace postavo::envelopes;

namespace {

// Answers every question an object asks when it is placed, and remembers which were asked.
struct Answers : DesignDialogs, ObjectDialogs, IntelligentMailDialogs {
    QStringList asked;
    bool editText(QString* text) override
    {
        asked << "text";
        *text = "Hello";
        return true;
    }
    bool selectField(const QStringList& labels, QString* chosen) override
    {
        asked << "field";
        *chosen = labels.contains("City") ? "City" : labels.value(0);
        return true;
    }
    bool multiLineText(QStringList* lines, const LayoutFont&) override
    {
        asked << "lines";
        *lines = {"one", "two", "three"};
        return true;
    }
    bool editSettings(IntelligentMailSettings* s) override
    {
        asked << "imb";
        s->fields = {"00", "700", "123456", "000000001"};
        return true;
    }
};

} // namespace

TEST(EnvelopeTools, EachToolPlacesItsObjectWithItsDefaults)
{
    const postavo::testing::EnvelopeFolder f = postavo::testing::makeEnvelopeFolder("tools", postavo::testing::samplePeople());
    AddressTable table;
    ASSERT_TRUE(table.open(f.data));
    table.first();
    Answers answers;
    setDialogs(&answers);
    setObjectDialogs(&answers);
    setIntelligentMailDialogs(&answers);
    QObject owner;
    DataSurface surface(&owner, 912, 396);
    surface.setDataset(&table);
    const LayoutFont font = layoutFont(DefaultFont{"Times New Roman", 14, true, false});

    auto* text = qobject_cast<TGPLabel*>(createEnvelopeObject(surface, psLabel, QRect(10, 10, 5, 5), font));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Caption, "Hello");
    EXPECT_EQ(text->Font, font);
    EXPECT_EQ(text->name(), "Special1");
    EXPECT_GE(text->width(), 50) << "a small drag becomes 50 wide, then fits the text";
    auto* field = qobject_cast<TGPDLabel*>(createEnvelopeObject(surface, psDataLabel, QRect(10, 40, 100, 20), font));
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->DataFieldName, "CITY");
    EXPECT_EQ(field->Caption, "Springfield") << "shows the current record at once";
    auto* lines = qobject_cast<TGMultiLineLabel*>(createEnvelopeObject(surface, psMultiLineLabel, QRect(10, 70, 100, 20), font));
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(lines->Items, QStringList({"one", "two", "three"}));
    auto* address = qobject_cast<TGDMultiLineAddressLabel*>(
        createEnvelopeObject(surface, psAddressLabel, QRect(300, 150, 300, 20), font));
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(address->Items.value(0).trimmed(), "Ada Lovelace");
    EXPECT_GE(address->height(), 3 * address->screenLineHeight()) << "sized to its lines";
    auto* ellipse = qobject_cast<TGLabelShapes*>(createEnvelopeObject(surface, psEllipse, QRect(5, 5, 10, 3), font));
    ASSERT_NE(ellipse, nullptr);
    EXPECT_EQ(ellipse->Shape, stEllipse);
    EXPECT_EQ(ellipse->boundsRect(), QRect(5, 5, 50, 15));
    EXPECT_EQ(qobject_cast<TGLabelShapes*>(createEnvelopeObject(surface, psRoundRectangle, QRect(0, 0, 60, 30), font))->Shape,
              stRoundRect);
    EXPECT_EQ(qobject_cast<TGLineShape*>(createEnvelopeObject(surface, psLine, QRect(0, 0, 60, 30), font))->LineStyle,
              stVertical);
    auto* postnet = qobject_cast<TGPostNetBarCode*>(createEnvelopeObject(surface, psPostNetBarCode, QRect(300, 300, 10, 10), font));
    ASSERT_NE(postnet, nullptr);
    EXPECT_EQ(postnet->ZipCodeField, "ZIP");
    EXPECT_EQ(postnet->AddressField, "STREET");
    EXPECT_EQ(postnet->zipText, "62701-1234");
    EXPECT_NE(qobject_cast<TGFIMBarCode*>(createEnvelopeObject(surface, psFIMBarCode, QRect(600, 0, 10, 10), font)), nullptr);
    auto* imb = qobject_cast<TGIntelligentMailBarCode*>(
        createEnvelopeObject(surface, psIntelligentMailBarCode, QRect(300, 330, 10, 10), font));
    ASSERT_NE(imb, nullptr);
    EXPECT_EQ(imb->MailerIdentifier, "123456");
    EXPECT_EQ(imb->printedBars().size(), 65) << "62701-1234 and 12 Analytical Way give a routing code";
    EXPECT_EQ(createEnvelopeObject(surface, psPointing, QRect(0, 0, 50, 50), font), nullptr);
    EXPECT_EQ(answers.asked, QStringList({"text", "field", "lines", "imb"}));
    EXPECT_EQ(surface.objectCount(), 10);
    setDialogs(nullptr);
    setObjectDialogs(nullptr);
    setIntelligentMailDialogs(nullptr);
}

TEST(EnvelopeTools, TheToolBarsHints)
{
    const auto& tools = envelopeTools();
    ASSERT_EQ(tools.size(), 13u);
    EXPECT_STREQ(tools[0].hint, "Selection tool");
    EXPECT_STREQ(tools[4].hint, "Database Mailing Address tool");
    EXPECT_STREQ(tools[8].hint, "Line Tool");
    EXPECT_STREQ(tools[11].hint, "FIM Barcode tool");
    EXPECT_STREQ(tools[11].caption, "FIM");
}

TEST(EnvelopeDesignRules, ZoomStepsStopAt140AndAt60)
{
    float z = 1.0f;
    QStringList up;
    for (int i = 0; i < 7; ++i) {
        z = zoomStep(z, true);
        up << zoomCaption(z);
    }
    EXPECT_EQ(up, QStringList({"110%", "120%", "130%", "140%", "140%", "140%", "140%"}));
    z = 1.0f;
    QStringList down;
    for (int i = 0; i < 6; ++i) {
        z = zoomStep(z, false);
        down << zoomCaption(z);
    }
    EXPECT_EQ(down, QStringList({"90%", "80%", "70%", "60%", "60%", "60%"}));
}

TEST(EnvelopeDesignRules, DefaultFontCaptionAndDescription)
{
    EXPECT_EQ(defaultFontCaption(DefaultFont{}), "Default Font: Arial, 10 pt ");
    EXPECT_EQ(defaultFontCaption(DefaultFont{"Courier New", 12, true, true}), "Default Font: Courier New, 12 pt , bold, italic");
    const DefaultFont back = defaultFontOf(layoutFont(DefaultFont{"Times New Roman", 14, false, true}));
    EXPECT_EQ(back.name, "Times New Roman");
    EXPECT_EQ(back.size, 14);
    EXPECT_TRUE(back.italic);
    EXPECT_EQ(keptDescription(QString(60, 'd')).size(), 50);
    EXPECT_EQ(dropRect(QRect(3, 4, 24, 14)), QRect(3, 4, 50, 15));
    EXPECT_EQ(dropRect(QRect(3, 4, 25, 15)), QRect(3, 4, 25, 15));
}
