// "Print Report" driven as a user drives it, headless: its state on opening, the title that
// follows the list, the buttons of each tab, a built-in report previewed and printed to a PDF
// file, and the report catalogue's commands with their questions.
#include "support_windows.h"

#include "addressfile.h"
#include "classregistry.h"
#include "designhost.h"
#include "previewwindow.h"
#include "printers.h"
#include "reportsetupwindow.h"
#include "testsupport.h"
#include "textobjects.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::reports;
using namespace postavo::testing::rptw;
using postavo::testing::scratchDir;

namespace {

class ReportSetupWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        design::registerStandardDesignClasses();
        dir = scratchDir(QString::fromStdString(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        sysdata = dir + "/sysdata/";
        QDir().mkpath(sysdata);
        std::vector<Row> rows;
        for (int i = 0; i < 80; ++i)
            rows.push_back({{"LNAME", QStringLiteral("Person%1").arg(i, 2, 10, QLatin1Char('0'))}, {"FNAME", "Al"}});
        const QString path = makeRecords(dir, "BOOK.DBF", rows);
        ASSERT_TRUE(table.open(path));
        table.setFilter(QStringLiteral("!ISDEL"));
        table.setOrder(QStringLiteral("FNAME"));
        table.goTo(5);
        printers = pdfPrinters(dir + "/out.pdf");
    }
    std::unique_ptr<TReportSetup> window(bool filterSet)
    {
        auto w = std::make_unique<TReportSetup>(table, filterSet, nullptr, printers.get(), sysdata);
        w->inform = [this](const QString& m) { messages << m; };
        w->askYesNo = [this](const QString& text, const QString& caption) {
            questions << caption + ": " + text;
            return answer;
        };
        w->askCopies = [] { return std::optional<int>(1); };
        EXPECT_TRUE(w->openCatalogue());
        w->show();
        return w;
    }
    QString dir, sysdata;
    AddressTable table;
    std::unique_ptr<printing::TPrinters> printers;
    QStringList messages, questions;
    bool answer = true;
};

// Saves a report with one text in its header, as the designer would.
bool saveReport(TReportSetup& setup, const ReportEntry* entry, const QString& description)
{
    QObject owner;
    design::ObjectList header(&owner), detail(&owner), footer(&owner);
    auto* t = new design::TGPLabel;
    t->setParent(&owner);
    header.insertObject(t);
    t->setBounds(0, 0, 200, 20);
    t->setCaption(description);
    ReportEntry e = entry ? *entry : ReportEntry{};
    e.description = description;
    e.layout = QStringLiteral("Letter Size, Portrait");
    QString error;
    const bool ok = setup.catalogue().saveReport(&e, entry == nullptr, header, detail, footer,
                                                 ReportVars::defaults(96), 96, &error);
    header.freeAllObjects();
    return ok;
}

} // namespace

TEST_F(ReportSetupWindow, OpensOnTheFirstReportWithTheRightChoices)
{
    auto w = window(true);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Print Report"));
    EXPECT_EQ(w->tabs()->tabText(0), QStringLiteral("Built In Reports"));
    EXPECT_EQ(w->tabs()->tabText(1), QStringLiteral("Report Designer"));
    EXPECT_EQ(w->tabs()->currentIndex(), 0);
    EXPECT_EQ(w->reportList()->count(), 4);
    EXPECT_EQ(w->reportList()->currentRow(), 0);
    EXPECT_EQ(w->titleEdit()->text(), QStringLiteral("Report 1"));
    EXPECT_FALSE(w->memoBox()->isChecked() || w->codesBox()->isChecked());
    EXPECT_TRUE(w->choiceButton(RecordChoice::Filter)->isChecked());
    EXPECT_FALSE(w->oneRecordPerPageBox()->isVisible());

    // Clicking entry 4 replaces a typed title.
    w->titleEdit()->setText(QStringLiteral("My own"));
    QListWidgetItem* fourth = w->reportList()->item(3);
    QTest::mouseClick(w->reportList()->viewport(), Qt::LeftButton, {}, w->reportList()->visualItemRect(fourth).center());
    EXPECT_EQ(w->titleEdit()->text(), QStringLiteral("Report 4"));

    // The designer tab with an empty catalogue: nothing to print, New always there.
    w->tabs()->setCurrentIndex(1);
    EXPECT_TRUE(w->oneRecordPerPageBox()->isVisible());
    EXPECT_FALSE(w->button(QStringLiteral("Print"))->isEnabled());
    EXPECT_FALSE(w->button(QStringLiteral("Preview"))->isEnabled());
    EXPECT_FALSE(w->button(QStringLiteral("Modify"))->isEnabled());
    EXPECT_TRUE(w->button(QStringLiteral("New"))->isEnabled());

    // Without a filter in the main window, the filter choice is off and all records chosen.
    w.reset();
    auto plain = window(false);
    EXPECT_FALSE(plain->choiceButton(RecordChoice::Filter)->isEnabled());
    EXPECT_TRUE(plain->choiceButton(RecordChoice::All)->isChecked());
}

TEST_F(ReportSetupWindow, PreviewAndPrintABuiltInReport)
{
    auto w = window(false);
    ModalUser user;
    double zoom = 0;
    user.onPreview = [&zoom](QWidget* p) { zoom = static_cast<printing::TPreviewForm*>(p)->zoom(); };
    w->preview();
    ASSERT_EQ(user.previews.size(), 1);
    EXPECT_TRUE(user.previews[0].endsWith(QStringLiteral(": 2"))) << user.previews[0].toStdString();
    EXPECT_TRUE(user.progressTexts.value(0).contains(QStringLiteral("Report Preview Ready!")));
    EXPECT_GT(zoom, 0.5); // opened at the page's width, not the whole page
    // The table comes back as it was: order, query and record.
    EXPECT_EQ(table.order(), QStringLiteral("FNAME"));
    EXPECT_EQ(table.filter(), QStringLiteral("!ISDEL"));
    EXPECT_EQ(table.recNo(), 5u);

    w->print();
    EXPECT_TRUE(user.progressTexts.value(1).contains(QStringLiteral("Report Print Completed!")));
    EXPECT_TRUE(QFile::exists(dir + "/out.pdf"));
    EXPECT_GT(QFile(dir + "/out.pdf").size(), 1000);

    // The print dialog cancelled: nothing runs.
    w->askCopies = [] { return std::optional<int>(); };
    QFile::remove(dir + "/out.pdf");
    w->print();
    EXPECT_FALSE(QFile::exists(dir + "/out.pdf"));
}

TEST_F(ReportSetupWindow, APrinterRemovedSinceOpeningIsToldAndNothingRuns)
{
    // The window was opened with a printer the system no longer lists.
    printers = std::make_unique<printing::TPrinters>(QStringList{QStringLiteral("Removed Printer")},
                                                     QStringLiteral("Removed Printer"));
    ASSERT_TRUE(printers->selectPrinter(QStringLiteral("Removed Printer")));
    auto w = window(false);
    bool copiesAsked = false;
    w->askCopies = [&copiesAsked] {
        copiesAsked = true;
        return std::optional<int>(1);
    };
    ModalUser user;
    w->print();
    ASSERT_EQ(user.messages.size(), 1);
    EXPECT_TRUE(user.messages[0].contains(QStringLiteral("\"Removed Printer\" is no longer installed")))
        << user.messages[0].toStdString();
    EXPECT_FALSE(copiesAsked);
    EXPECT_TRUE(user.progressTexts.isEmpty());
    // The table is untouched.
    EXPECT_EQ(table.order(), QStringLiteral("FNAME"));
    EXPECT_EQ(table.recNo(), 5u);
}

TEST_F(ReportSetupWindow, CatalogueCommandsAskTheirQuestions)
{
    auto w = window(true);
    w->tabs()->setCurrentIndex(1);
    int designs = 0;
    w->setDesignerRunner([&](TReportSetup& s, const ReportEntry* e) {
        ++designs;
        return saveReport(s, e, e ? QStringLiteral("Weekly list") : QStringLiteral("Monthly list"));
    });
    w->newReport();
    ASSERT_EQ(w->designerList()->topLevelItemCount(), 1);
    EXPECT_EQ(w->designerList()->currentItem()->text(0), QStringLiteral("Monthly list"));
    EXPECT_TRUE(w->button(QStringLiteral("Modify"))->isEnabled());
    EXPECT_TRUE(w->button(QStringLiteral("Preview"))->isEnabled());

    w->cloneReport();
    EXPECT_EQ(questions.last(), QStringLiteral("CLONE: Clone \"Monthly list\"?"));
    ASSERT_EQ(w->designerList()->topLevelItemCount(), 2);
    EXPECT_EQ(w->designerList()->currentItem()->text(0), QStringLiteral("Clone of Monthly list"));

    answer = false;
    w->deleteReport();
    EXPECT_EQ(questions.last(), QStringLiteral("DELETE: Delete \"Clone of Monthly list\"?"));
    EXPECT_EQ(w->designerList()->topLevelItemCount(), 2);
    answer = true;
    w->deleteReport();
    EXPECT_EQ(w->designerList()->topLevelItemCount(), 1);
    EXPECT_FALSE(QFile::exists(sysdata + "BIN00002.R"));

    w->modifyReport();
    EXPECT_EQ(designs, 2);
    EXPECT_EQ(w->designerList()->topLevelItem(0)->text(0), QStringLiteral("Weekly list"));

    // The banded report previewed from the list, one record per page.
    w->choiceButton(RecordChoice::Filter)->setChecked(true);
    w->oneRecordPerPageBox()->setChecked(true);
    ModalUser user;
    w->preview();
    ASSERT_EQ(user.previews.size(), 1);
    EXPECT_TRUE(user.previews[0].endsWith(QStringLiteral(": 80"))) << user.previews[0].toStdString();
}

TEST_F(ReportSetupWindow, ADamagedReportFileIsToldAndStillPrints)
{
    auto w = window(true);
    w->tabs()->setCurrentIndex(1);
    w->setDesignerRunner([](TReportSetup& s, const ReportEntry* e) { return saveReport(s, e, QStringLiteral("Odd")); });
    w->newReport();
    QFile f(sysdata + "BIN00001.R");
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.resize(f.size() - 30);
    f.close();
    ModalUser user;
    w->preview();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("BIN00001.R"))) << messages[0].toStdString();
    EXPECT_EQ(user.previews.size(), 1);
}
