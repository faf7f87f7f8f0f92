// postavo-batch layout check, dump and resave on good, damaged and report files.
#include "composedtextobjects.h"
#include "layoutdocument.h"
#include "multilineobjects.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using postavo::testing::goldenPath;
using postavo::testing::readBytes;
using postavo::testing::runTool;
using postavo::testing::scratchDir;
using postavo::testing::writeBytes;

namespace {
const QString kBatch = QStringLiteral(POSTAVO_BIN_DIR "/postavo-batch");
QStringList outputLines(const QString& text)
{
    QStringList lines;
    for (const QString& l : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (!l.startsWith(QLatin1String("QStandardPaths")))
            lines << l;
    return lines;
}
} // namespace

TEST(BatchLayout, CheckDumpAndResaveTheExampleFile)
{
    int code = -1;
    QStringList out = outputLines(runTool(kBatch, {"layout", "check", goldenPath("one_text.L")}, &code));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(out, QStringList{"OK 1"});

    out = outputLines(runTool(kBatch, {"layout", "dump", goldenPath("one_text.L")}, &code));
    EXPECT_EQ(code, 0);
    ASSERT_EQ(out.size(), 1);
    EXPECT_EQ(out[0], QStringLiteral("TGPLabel Component0 Left=8 Top=16 Width=142 Height=33 Locked=False "
                                     "Unselectable=False Caption=\"Text\" Font.Color=clBlack Font.Height=-13 "
                                     "Font.Name=\"Arial\" Font.Style=[] Transparent=True BackColor=clWhite"));

    const QString dir = scratchDir(QStringLiteral("batch"));
    const QString copy = dir + QStringLiteral("/copy.L");
    runTool(kBatch, {"layout", "resave", goldenPath("one_text.L"), copy}, &code);
    EXPECT_EQ(code, 0);
    // Only the object's name differs: Component0 where the program wrote Special1.
    QByteArray expected = readBytes(goldenPath("one_text.L"));
    expected.replace(QByteArray("\x08Special1", 9), QByteArray("\x0A" "Component0", 11));
    EXPECT_EQ(readBytes(copy), expected);
}

TEST(BatchLayout, DamagedFilesGiveTheFilersMessage)
{
    const QString dir = scratchDir(QStringLiteral("batch-damaged"));
    QByteArray bytes = readBytes(goldenPath("one_text.L"));
    const struct { const char* name; QByteArray data; const char* message; } rows[] = {
        {"short.L", bytes.left(150), "Stream read error"},
        {"class.L", QByteArray(bytes).replace("TGPLabel", "TGPLabeX"), "Class TGPLabeX not found"},
        {"prop.L", QByteArray(bytes).replace("Locked", "Lockee"), "Error reading Component0.Lockee: Property does not exist"},
    };
    for (const auto& row : rows) {
        const QString path = dir + QLatin1Char('/') + QString::fromLatin1(row.name);
        writeBytes(path, row.data);
        int code = -1;
        const QStringList out = outputLines(runTool(kBatch, {"layout", "check", path}, &code));
        EXPECT_EQ(code, 1) << row.name;
        EXPECT_EQ(out, QStringList{QString::fromLatin1(row.message)}) << row.name;
    }
    int code = -1;
    runTool(kBatch, {"layout", "check", dir + QStringLiteral("/missing.L")}, &code);
    EXPECT_EQ(code, 1);
    runTool(kBatch, {"layout", "resave", goldenPath("one_text.L")}, &code);
    EXPECT_EQ(code, 2);
}

TEST(BatchLayout, ReportFilesKeepTheirBandsAndSettings)
{
    const QString dir = scratchDir(QStringLiteral("batch-report"));
    // Header empty, one text in the detail band, nothing in the footer, then the settings.
    QByteArray one = readBytes(goldenPath("one_text.L"));
    QByteArray report = QByteArray("\x01\x00", 2) + one + QByteArray("\x01\x00", 2);
    QByteArray settings("\x01");
    for (int i = 0; i < 9; ++i)
        settings += QByteArray("\x03\xF4\x01", 3);
    settings += QByteArray::fromHex("090908080605417269616C020A0808020006054172696" "16C020A0808");
    for (int g = 0; g < 4; ++g)
        settings += QByteArray("\x08\x08\x08\x08\x02\x00\x02\x00\x02\x00", 10);
    settings += QByteArray(1, '\0');
    report += settings;
    const QString path = dir + QStringLiteral("/BIN00003.R");
    writeBytes(path, report);
    int code = -1;
    QStringList out = outputLines(runTool(kBatch, {"layout", "dump", path}, &code));
    EXPECT_EQ(code, 0);
    ASSERT_EQ(out.size(), 5);
    EXPECT_EQ(out[0], QStringLiteral("# header band"));
    EXPECT_TRUE(out[2].startsWith(QStringLiteral("TGPLabel Component0 ")));
    EXPECT_TRUE(out[4].startsWith(QStringLiteral("# settings 500 500 500")));
    runTool(kBatch, {"layout", "resave", path, dir + QStringLiteral("/again.R")}, &code);
    EXPECT_EQ(code, 0);
    QByteArray expected = report;
    expected.replace(QByteArray("\x08Special1", 9), QByteArray("\x0A" "Component0", 11));
    EXPECT_EQ(readBytes(dir + QStringLiteral("/again.R")), expected);
}

// Resave writes what the designers' save writes: the record data objects show (a data field's
// text, a multi-line data object's lines) is not stored, however the file came to hold it.
TEST(BatchLayout, ResaveLeavesOutTheRecordDataAsTheDesignersSaveDoes)
{
    using namespace postavo::design;
    const QString dir = scratchDir(QStringLiteral("batch-data"));
    auto fill = [](LayoutDocument& doc, bool withData, const QString& names) {
        auto* field = new TGPDLabel;
        field->setObjectName(names + QLatin1Char('0'));
        field->DataFieldName = QStringLiteral("LNAME");
        field->DataFieldDescript = QStringLiteral("Last Name");
        field->Caption = withData ? QStringLiteral("Smith") : QString();
        doc.bands[0]->insertObject(field);
        auto* lines = new TGDMultiLineLabel;
        lines->setObjectName(names + QLatin1Char('1'));
        lines->setBounds(10, 40, 120, 60);
        if (withData)
            lines->Items = {QStringLiteral("Jones"), QStringLiteral("1 Main St")};
        doc.bands[0]->insertObject(lines);
    };
    // A file holding record data, as an earlier resave wrote it.
    LayoutDocument stale;
    fill(stale, true, QStringLiteral("Special"));
    TGLabelObjectFiler filer;
    const QString path = dir + QStringLiteral("/BIN00004.L");
    ASSERT_TRUE(filer.writeSurface(*stale.bands[0], path));
    ASSERT_TRUE(readBytes(path).contains("Smith"));

    // The designers' save of the same objects: data cleared first (resave names the objects
    // ComponentN).
    LayoutDocument clean;
    fill(clean, false, QStringLiteral("Component"));
    const QString expectedPath = dir + QStringLiteral("/expected.L");
    ASSERT_TRUE(filer.writeSurface(*clean.bands[0], expectedPath));

    int code = -1;
    runTool(kBatch, {"layout", "resave", path, dir + QStringLiteral("/again.L")}, &code);
    EXPECT_EQ(code, 0);
    const QByteArray again = readBytes(dir + QStringLiteral("/again.L"));
    EXPECT_FALSE(again.contains("Smith"));
    EXPECT_FALSE(again.contains("Jones"));
    EXPECT_EQ(again, readBytes(expectedPath));
}
