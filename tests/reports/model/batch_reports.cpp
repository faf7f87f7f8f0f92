// postavo-batch report, record and zip-count: what they write, what they say about bad input
// (usage, unknown reports, damaged report files, nothing to print) and their exit codes.
#include "support_reports.h"

#include "classregistry.h"
#include "designhost.h"
#include "reportcatalogue.h"
#include "testsupport.h"
#include "textobjects.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::reports;
using namespace postavo::testing::rpt;
using postavo::testing::runTool;
using postavo::testing::scratchDir;

namespace {

const QString kBatch = QStringLiteral(POSTAVO_BIN_DIR "/postavo-batch");

class BatchReports : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        design::registerStandardDesignClasses();
        dir = scratchDir("batch");
        folder = dir + "/program";
        QDir().mkpath(folder + "/sysdata");
        std::vector<Row> rows;
        for (int i = 0; i < 70; ++i)
            rows.push_back({{"LNAME", QStringLiteral("Member%1").arg(i, 2, 10, QLatin1Char('0'))},
                            {"FNAME", "Pat"},
                            {"ZIP", i % 10 == 0 ? QString() : QStringLiteral("0213%1").arg(i % 4)},
                            {"CODES", i % 2 ? "ODD" : "EVEN"},
                            {"MEMO", i == 3 ? "A memo line" : ""}});
        data = makeRecords(dir, "MEMBERS.DBF", rows);
        // One banded report: a header text and a field in the detail band.
        ReportCatalogue catalogue;
        QString error;
        ASSERT_TRUE(catalogue.open(&error, folder + "/sysdata"));
        QObject owner;
        design::ObjectList header(&owner), detail(&owner), footer(&owner);
        auto* title = new design::TGPLabel;
        title->setParent(&owner);
        header.insertObject(title);
        title->setBounds(0, 0, 200, 20);
        title->setCaption(QStringLiteral("Banded"));
        ReportVars v = ReportVars::defaults(96);
        ReportEntry e{0, QStringLiteral("Monthly list"), v.pageDescription(96), {}};
        ASSERT_TRUE(catalogue.saveReport(&e, true, header, detail, footer, v, 96, &error));
        header.freeAllObjects();
        ReportEntry broken{0, QStringLiteral("Broken one"), v.pageDescription(96), {}};
        ASSERT_TRUE(catalogue.saveReport(&broken, true, header, detail, footer, v, 96, &error));
        brokenFile = catalogue.layoutPath(broken);
    }
    static QString run(const QStringList& args, int* rc) { return runTool(kBatch, args, rc); }
    static inline QString dir, folder, data, brokenFile;
};

} // namespace

TEST_F(BatchReports, BuiltInReportToPdf)
{
    int rc = -1;
    const QString pdf = dir + "/builtin.pdf";
    const QString out = run({"report", "--folder", folder, "--builtin", "2", "--title", "Members", "--codes", "--data",
                             data, "--pdf", pdf},
                            &rc);
    ASSERT_EQ(rc, 0) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Wrote 3 page(s)"))) << out.toStdString(); // 70 records and their codes lines
    const auto pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_TRUE(firstNamed(pages[0], QStringLiteral("Members")));
    EXPECT_TRUE(firstNamed(pages[0], QStringLiteral("ODD")));
    // --filter: the condition as the main window applies it.
    const QString filtered = dir + "/filtered.pdf";
    ASSERT_EQ((run({"report", "--folder", folder, "--builtin", "1", "--data", data, "--filter", "LNAME=\"Member0\"",
                    "--pdf", filtered},
                   &rc),
               rc),
              0);
    const auto few = pdfPages(filtered);
    ASSERT_EQ(few.size(), 1u);
    EXPECT_TRUE(firstNamed(few[0], QStringLiteral("Member05,")));
    EXPECT_FALSE(firstNamed(few[0], QStringLiteral("Member15,")));
}

TEST_F(BatchReports, BandedReportByItsDescription)
{
    int rc = -1;
    const QString pdf = dir + "/banded.pdf";
    const QString out = run({"report", "--folder", folder, "--layout", "monthly LIST", "--data", data, "--record", "4",
                             "--pdf", pdf},
                            &rc);
    ASSERT_EQ(rc, 0) << out.toStdString();
    const auto pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(firstNamed(pages[0], QStringLiteral("Banded")));

    // An unknown description names the reports there are.
    const QString unknown = run({"report", "--folder", folder, "--layout", "Weekly", "--data", data, "--pdf", pdf}, &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_TRUE(unknown.contains(QStringLiteral("\"Monthly list\""))) << unknown.toStdString();

    // A report file cut short: the message, and the report still prints with what was read.
    QFile f(brokenFile);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.resize(f.size() - 20);
    f.close();
    const QString broken = run({"report", "--folder", folder, "--layout", "Broken one", "--data", data, "--pdf",
                                dir + "/broken.pdf"},
                               &rc);
    EXPECT_EQ(rc, 0) << broken.toStdString();
    EXPECT_TRUE(broken.contains(QStringLiteral("could not be read as it should"))) << broken.toStdString();
}

TEST_F(BatchReports, RecordAndZipCount)
{
    int rc = -1;
    const QString record = dir + "/record.pdf";
    QString out = run({"record", "--data", data, "--record", "4", "--fields", "LNAME,MEMO,zip", "--pdf", record}, &rc);
    ASSERT_EQ(rc, 0) << out.toStdString();
    const auto words = pdfPages(record).at(0);
    EXPECT_TRUE(firstNamed(words, QStringLiteral("Member03")));
    EXPECT_TRUE(firstNamed(words, QStringLiteral("memo")));
    EXPECT_FALSE(firstNamed(words, QStringLiteral("First")));
    EXPECT_EQ((run({"record", "--data", data, "--record", "4", "--fields", "NOPE", "--pdf", record}, &rc), rc), 2);
    EXPECT_EQ((run({"record", "--data", data, "--record", "999", "--pdf", record}, &rc), rc), 1);

    const QString zips = dir + "/zips.pdf";
    out = run({"zip-count", "--data", data, "--pdf", zips}, &rc);
    ASSERT_EQ(rc, 0) << out.toStdString();
    // 70 records: 7 without a zip, the others spread over four keys.
    EXPECT_TRUE(out.contains(QStringLiteral("Counted 70 record(s): 4 zip code(s), 0 other key(s), 7 blank."))) << out.toStdString();
    const auto page = pdfPages(zips).at(0);
    EXPECT_TRUE(firstNamed(page, QStringLiteral("BLANK")));
    // Nothing matches the filter: said, and the report's frame still prints.
    out = run({"zip-count", "--data", data, "--filter", "LNAME=\"Nobody\"", "--pdf", zips}, &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_TRUE(out.contains(QStringLiteral("No record matches"))) << out.toStdString();
}

TEST_F(BatchReports, BadArgumentsAreRefused)
{
    int rc = -1;
    EXPECT_EQ((run({"report", "--folder", folder, "--data", data, "--pdf", "x.pdf"}, &rc), rc), 2); // no report
    EXPECT_EQ((run({"report", "--folder", folder, "--builtin", "5", "--data", data, "--pdf", "x.pdf"}, &rc), rc), 2);
    EXPECT_EQ((run({"report", "--folder", folder, "--builtin", "1", "--layout", "X", "--data", data, "--pdf", "x.pdf"},
                   &rc),
               rc),
              2);
    EXPECT_EQ((run({"report", "--folder", folder, "--builtin", "1", "--data", data, "--filter", "A", "--record", "1",
                    "--pdf", "x.pdf"},
                   &rc),
               rc),
              2);
    const QString badFilter =
        run({"report", "--folder", folder, "--builtin", "1", "--data", data, "--filter", "LNAME==", "--pdf", "x.pdf"}, &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_TRUE(badFilter.contains(QStringLiteral("not a valid expression"))) << badFilter.toStdString();
    const QString noPrinter = run({"report", "--folder", folder, "--builtin", "1", "--data", data, "--printer",
                                   "No Such Printer"},
                                  &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_TRUE(noPrinter.contains(QStringLiteral("There is no printer named"))) << noPrinter.toStdString();
    EXPECT_EQ((run({"zip-count", "--data", dir + "/missing.DBF", "--pdf", "x.pdf"}, &rc), rc), 1);
}
