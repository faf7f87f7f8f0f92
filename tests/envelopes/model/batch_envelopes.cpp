// "postavo-batch envelopes" as a user calls it: the records it prints (all, a filter, one), what
// it says and refuses (no such layout or printer, a label layout, a bad feed or filter, records
// without an address), and that a refusal writes no file.
#include "envelopefixtures.h"
#include "layoutdocument.h"
#include "composedtextobjects.h"
#include "pdfreading.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::testing;

namespace {

QString batch(const QStringList& args, int* rc)
{
    return runTool(POSTAVO_BIN_DIR "/postavo-batch", QStringList{"envelopes"} + args, rc);
}

int pages(const QString& pdf)
{
    static const QRegularExpression re(QStringLiteral("Pages:\\s+(\\d+)"));
    return re.match(pdfInfo(pdf)).captured(1).toInt();
}

struct BatchFolder {
    EnvelopeFolder f;
    QString pdf;
    QStringList base;
    explicit BatchFolder(const char* name)
    {
        f = makeEnvelopeFolder(name, samplePeople());
        addEnvelopeLayout(f, "Business", 20, addBusinessEnvelope);
        pdf = f.folder + "/out.pdf";
        base = {"--folder", f.folder, "--layout", "Business", "--data", f.data};
    }
};

} // namespace

TEST(BatchEnvelopes, AllOneOrTheFiltersRecordsEachOnAPage)
{
    BatchFolder b("batch-records");
    ASSERT_FALSE(b.f.folder.isEmpty());
    int rc = 0;
    QString out = batch(b.base + QStringList{"--pdf", b.pdf}, &rc);
    ASSERT_EQ(rc, 0) << out.toStdString();
    EXPECT_TRUE(out.contains("3 envelopes written to")) << out.toStdString();
    EXPECT_TRUE(out.contains("Record 3 has no address; no envelope is printed for it."));
    EXPECT_EQ(pages(b.pdf), 3);
    const QString text = runTool("pdftotext", {"-layout", b.pdf, "-"}, &rc);
    EXPECT_TRUE(text.contains("Postavo Mailing Co.")) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("Springfield\\s+IL\\s+62701-1234")));
    EXPECT_TRUE(text.contains("Difference Engines"));

    out = batch(b.base + QStringList{"--record", "2", "--pdf", b.pdf}, &rc);
    ASSERT_EQ(rc, 0) << out.toStdString();
    EXPECT_TRUE(out.contains("1 envelope written to"));
    EXPECT_EQ(pages(b.pdf), 1);
    EXPECT_TRUE(runTool("pdftotext", {b.pdf, "-"}, &rc).contains("Babbage"));

    out = batch(b.base + QStringList{"--filter", "STATE = 'VA'", "--pdf", b.pdf}, &rc);
    ASSERT_EQ(rc, 0) << out.toStdString();
    EXPECT_EQ(pages(b.pdf), 1);
    EXPECT_TRUE(runTool("pdftotext", {b.pdf, "-"}, &rc).contains("Hopper"));
}

TEST(BatchEnvelopes, RefusalsSayWhyAndWriteNothing)
{
    BatchFolder b("batch-refusals");
    ASSERT_FALSE(b.f.folder.isEmpty());
    // A layout row whose file is a label layout.
    design::LayoutDocument label;
    auto* counter = new design::TGCounterLabel;
    counter->setObjectName("Special1");
    label.bands[0]->insertObject(counter);
    QString error;
    ASSERT_TRUE(design::writeLayoutDocument(label, b.f.sysdata + "/BIN00005.E", &error));
    envelopes::EnvelopeCatalogue catalogue(b.f.sysdata);
    ASSERT_TRUE(catalogue.open(&error));
    envelopes::EnvelopeLayout wrong;
    wrong.description = "Labels really";
    wrong.setCode(20);
    wrong.fileName = "BIN00005.E";
    ASSERT_TRUE(catalogue.store(&wrong));
    catalogue.close();

    const struct {
        QStringList args;
        int rc;
        const char* says;
    } cases[] = {
        {{"--folder", b.f.folder}, 2, "usage: postavo-batch envelopes"},
        {b.base + QStringList{"--pdf", b.pdf, "--printer", "X"}, 2, "usage:"},
        {b.base + QStringList{"--record", "1", "--filter", "STATE='VA'", "--pdf", b.pdf}, 2, "usage:"},
        {b.base + QStringList{"--record", "none", "--pdf", b.pdf}, 2, "is not a number from 1 up"},
        {b.base + QStringList{"--feed", "sideways", "--pdf", b.pdf}, 2, "\"sideways\" is not a feed word"},
        {{"--folder", b.f.folder + "/nowhere", "--layout", "Business", "--data", b.f.data, "--pdf", b.pdf}, 1,
         "There is no program folder"},
        {{"--folder", b.f.folder, "--layout", "Missing", "--data", b.f.data, "--pdf", b.pdf}, 1,
         "There is no envelope layout \"Missing\". Layouts: \"Business\", \"Labels really\""},
        {{"--folder", b.f.folder, "--layout", "labels REALLY", "--data", b.f.data, "--pdf", b.pdf}, 1,
         "BIN00005.E is not an envelope layout: it holds a counter (TGCounterLabel)"},
        {b.base + QStringList{"--record", "3", "--pdf", b.pdf}, 1, "Record 3 has no address. Nothing was printed."},
        {b.base + QStringList{"--record", "9", "--pdf", b.pdf}, 1, "There is no record 9"},
        {b.base + QStringList{"--filter", "STATE = ", "--pdf", b.pdf}, 1, ""},
        {b.base + QStringList{"--filter", "STATE = 'ZZ'", "--pdf", b.pdf}, 1, "There is no record to print."},
        {b.base + QStringList{"--printer", "No Such Printer"}, 1, "There is no printer named \"No Such Printer\""},
        {b.base + QStringList{"--paper", "1", "--feed", "portrait", "--pdf", b.pdf}, 1, "does not fit"},
        {{"--folder", b.f.folder, "--layout", "Business", "--data", b.f.folder + "/none.DBF", "--pdf", b.pdf}, 1, ""},
    };
    for (const auto& c : cases) {
        int rc = 0;
        const QString out = batch(c.args, &rc);
        EXPECT_EQ(rc, c.rc) << c.args.join(' ').toStdString() << "\n" << out.toStdString();
        EXPECT_TRUE(out.contains(c.says)) << out.toStdString();
        EXPECT_FALSE(out.trimmed().isEmpty()) << c.args.join(' ').toStdString();
        EXPECT_FALSE(QFile::exists(b.pdf)) << c.args.join(' ').toStdString();
    }
    // A program folder without envelope layouts gets none made.
    const EnvelopeFolder empty = makeEnvelopeFolder("batch-empty-folder", samplePeople());
    int rc = 0;
    const QString out = batch({"--folder", empty.folder, "--layout", "Any", "--data", empty.data, "--pdf", b.pdf}, &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_TRUE(out.contains("has no envelope layouts")) << out.toStdString();
    EXPECT_FALSE(QFile::exists(empty.sysdata + "/ENVELOPE.DBF"));
}
