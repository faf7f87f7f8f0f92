// A definition through LABEL.DBF and LBLTPL.DBF rows with the record engine: the new-layout
// defaults, three-decimal rounding on writing, and damaged rows caught by name.
#include "catalogues.h"
#include "engine/recordengine.h"
#include "labelsheet.h"
#include "labelvalidation.h"
#include "shippedcatalogues.h"
#include "support_labels.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::labels;
using namespace postavo::labels::test;

namespace {

std::unique_ptr<engine::Table> openLabelCatalogue(const ScratchDir& d)
{
    QString msg;
    auto t = openCatalogue(Catalogue::Label, &msg, d.path());
    EXPECT_TRUE(t) << msg.toStdString();
    return t;
}

TEST(SheetRows, NewLayoutDefaultsAreTheAveryAddressSheet)
{
    const LabelSheetDefinition d = newLayoutDefaults();
    EXPECT_EQ(d.tplDescrip, "Avery 5160  Address");
    EXPECT_EQ(d.nbrAcross, 3);
    EXPECT_EQ(d.nbrDown, 10);
    EXPECT_FLOAT_EQ(d.horizPitch, 2.765f);
    EXPECT_FLOAT_EQ(d.vertPitch, 1.01f);
    EXPECT_EQ(d.paperSize, "LTR");
    EXPECT_EQ(d.lblShape, "RR");
    EXPECT_FALSE(d.isUserDefined());
    EXPECT_FALSE(d.isLandscape());
    EXPECT_TRUE(d.art.isEmpty());
    // The defaults pass the entry window's checks (pitch 1.01 x 10 rows still fits).
    EXPECT_EQ(checkEnteredDefinition(d), QString());
}

TEST(SheetRows, WrittenLengthsAreRoundedToThousandthsAndReadBackWhole)
{
    ScratchDir dir;
    LabelSheetDefinition d = newLayoutDefaults();
    d.leftMarg = 0.1875f;   // 3/16": five decimals
    d.topMarg = 0.83333f;   // 5/6"
    d.midExtraX = 0.12345;
    d.midExtraY = 0.0005;   // rounds half up in the third decimal's text
    d.paperSize = "A4L";
    d.art = "AV5160";
    {
        auto t = openLabelCatalogue(dir);
        ASSERT_TRUE(t);
        t->appendBlank();
        t->replace("DESCRIPT", "Office mail");
        writeLayoutRow(*t, d);
        t->postRecord();
        t->close();
    }
    QString msg;
    auto t = openCatalogue(Catalogue::Label, &msg, dir.path());
    ASSERT_TRUE(t);
    t->goTop();
    ASSERT_FALSE(t->eof());
    EXPECT_EQ(t->getString("LEFTMARG"), " 0.188");
    EXPECT_EQ(t->getString("TOPMARG"), " 0.833");
    EXPECT_EQ(t->getString("MIDEXTRAX"), " 0.123");
    const LabelSheetDefinition back = readLayoutRow(*t);
    EXPECT_FLOAT_EQ(back.leftMarg, 0.188f);
    EXPECT_FLOAT_EQ(back.topMarg, 0.833f);
    EXPECT_DOUBLE_EQ(back.midExtraX, 0.123);
    EXPECT_EQ(back.tplDescrip, d.tplDescrip);
    EXPECT_EQ(back.paperSize, "A4L");
    EXPECT_TRUE(back.isLandscape());
    EXPECT_EQ(back.art, "AV5160");
    EXPECT_EQ(back.nbrAcross, 3);
    EXPECT_EQ(back.manufac, "AVERY");
    EXPECT_EQ(t->getTrimString("DESCRIPT"), "Office mail");
}

TEST(SheetRows, RoundingIsTheTextOfThreeDecimalsReadBack)
{
    EXPECT_DOUBLE_EQ(roundToThousandths(2.7654), 2.765);
    EXPECT_DOUBLE_EQ(roundToThousandths(float(1.01f)), 1.01);   // 1.00999999... as a float
    EXPECT_DOUBLE_EQ(roundToThousandths(float(2.765f)), 2.765);
    EXPECT_DOUBLE_EQ(roundToThousandths(-0.0004), 0.0);
    EXPECT_DOUBLE_EQ(roundToThousandths(8.27 * 25.4 / 25.4), 8.27);
}

TEST(SheetRows, TemplateRowGivesItsDescriptionAsTheTemplateName)
{
    ScratchDir dir;
    std::vector<engine::FieldSpec> specs;
    for (const auto& f : catalogueDef(Catalogue::LabelTemplate).fields)
        specs.push_back({f.name, f.type, f.length, f.decimals});
    const std::string path = QFile::encodeName(dir.path("LBLTPL.DBF")).toStdString();
    engine::Table::create(path, specs);
    auto t = engine::Table::open(path, engine::OpenMode::Exclusive);

    // One good row and three damaged ones: a negative size, a count of 0, a value that is no
    // number.
    const LabelSheetDefinition good = averyL7163();
    auto put = [&t](const LabelSheetDefinition& d, const char* field = nullptr, const char* raw = nullptr) {
        t->appendBlank();
        t->replace("DESCRIPT", d.tplDescrip.toStdString());
        t->replaceNumber("LBLHEIGHT", d.lblHeight);
        t->replaceNumber("LBLWIDTH", d.lblWidth);
        t->replaceNumber("NBRACROSS", d.nbrAcross);
        t->replaceNumber("NBRDOWN", d.nbrDown);
        t->replaceNumber("TOPMARG", d.topMarg);
        t->replaceNumber("LEFTMARG", d.leftMarg);
        t->replaceNumber("HORIZPITCH", d.horizPitch);
        t->replaceNumber("VERTPITCH", d.vertPitch);
        t->replaceNumber("SHEETWIDTH", d.sheetWidth);
        t->replaceNumber("SHEETDEPTH", d.sheetDepth);
        t->replace("PRINTER", d.printer.toStdString());
        t->replace("PAPERSIZE", d.paperSize.toStdString());
        t->replace("LBLSHAPE", d.lblShape.toStdString());
        t->replace("MANUFAC", d.manufac.toStdString());
        t->replace("PRODTYPE", d.prodType.toStdString());
        t->postRecord();
        if (field) {
            // Damage the field's bytes directly, as another program might leave them.
            std::string rec = t->getRecord();
            const auto& fields = t->fields();
            const int i = t->fieldIndex(field);
            std::string bytes(raw);
            bytes.resize(fields[size_t(i)].length, ' ');
            rec.replace(fields[size_t(i)].offset, bytes.size(), bytes);
            t->putRecord(rec);
            t->postRecord();
        }
    };
    put(good);
    LabelSheetDefinition negative = good;
    negative.tplDescrip = "Bad 1  Negative";
    negative.lblWidth = -3.9f;
    put(negative);
    LabelSheetDefinition noRows = good;
    noRows.tplDescrip = "Bad 2  No rows";
    noRows.nbrDown = 0;
    put(noRows);
    LabelSheetDefinition garbage = good;
    garbage.tplDescrip = "Bad 3  Garbage";
    put(garbage, "VERTPITCH", "nan");

    t->goTop();
    const LabelSheetDefinition read = readTemplateRow(*t);
    EXPECT_EQ(read.tplDescrip, "Avery L7163  Address");
    EXPECT_FLOAT_EQ(read.lblWidth, 3.9f);
    EXPECT_EQ(read.paperSize, "A4");
    EXPECT_TRUE(checkTemplate(read).isEmpty()) << checkTemplate(read).join("; ").toStdString();

    const char* expected[] = {
        "Template \"Bad 1  Negative\": Label Width must be at least .5 inch (or 13mm)",
        "Template \"Bad 2  No rows\": There must be at least 1 label down (not 0)",
        "Template \"Bad 3  Garbage\": Vertical Pitch is not a number",
    };
    for (const char* e : expected) {
        t->skip();
        ASSERT_FALSE(t->eof());
        const QStringList p = checkTemplate(readTemplateRow(*t));
        EXPECT_TRUE(p.contains(QString::fromLatin1(e))) << e << " in " << p.join("; ").toStdString();
    }
}

} // namespace
