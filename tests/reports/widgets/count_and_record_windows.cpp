// "Count Zip Codes" and "Print Current Record" driven headless: the count when the window first
// shows, Cancel during it, the printed and previewed counts; the field switches and the record's
// print and preview.
#include "support_windows.h"

#include "addressfile.h"
#include "currentrecordwindow.h"
#include "previewwindow.h"
#include "printers.h"
#include "testsupport.h"
#include "zipcountwindow.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::reports;
using namespace postavo::testing::rptw;
using postavo::testing::scratchDir;

TEST(CountZipCodesWindow, CountsWhenShownThenPrintsAndPreviews)
{
    const QString dir = scratchDir("zip-window");
    const QString path = makeRecords(dir, "ZIPS.DBF",
                                     {{{"LNAME", "A"}, {"ZIP", "02134"}}, {{"LNAME", "B"}, {"ZIP", "02134-1234"}},
                                      {{"LNAME", "C"}, {"ZIP", ""}}, {{"LNAME", "D"}, {"ZIP", "K1A0B1"}}});
    AddressTable table;
    ASSERT_TRUE(table.open(path));
    table.setFilter(QStringLiteral("!ISDEL"));
    table.goTo(3);
    auto printers = pdfPrinters(dir + "/zips.pdf");
    TCountZipCodes w(table, nullptr, printers.get());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Count Zip Codes"));
    EXPECT_FALSE(w.bottomBar()->isVisible());
    w.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.counted(); }, 5000));
    EXPECT_EQ(w.textLabel()->text(), QStringLiteral("Finished counting. Press Print or Preview for the report"));
    EXPECT_TRUE(w.bottomBar()->isVisible());
    EXPECT_FALSE(w.cancelButton()->isVisible());
    EXPECT_EQ(w.reportLines(), QStringList({"02134     2", "", "", "K1A0B     1", "BLANK     1"}));
    EXPECT_EQ(table.recNo(), 3u);

    ModalUser user;
    double zoom = 0;
    user.onPreview = [&zoom](QWidget* p) { zoom = static_cast<printing::TPreviewForm*>(p)->zoom(); };
    w.preview();
    ASSERT_EQ(user.previews.size(), 1);
    EXPECT_DOUBLE_EQ(zoom, 1.0); // opens at 100 %
    EXPECT_TRUE(user.progressTexts.value(0).contains(QStringLiteral("Preview Ready!")));
    w.print();
    EXPECT_TRUE(user.progressTexts.value(1).contains(QStringLiteral("Print Completed!")));
    EXPECT_TRUE(QFile::exists(dir + "/zips.pdf"));
}

TEST(CountZipCodesWindow, CancelDuringTheCountClosesTheWindow)
{
    const QString dir = scratchDir("zip-window-cancel");
    const QString path = makeManyRecords(dir, "MANY.DBF", 5000);
    AddressTable table;
    ASSERT_TRUE(table.open(path));
    table.setFilter(QStringLiteral("!ISDEL"));
    auto printers = pdfPrinters(dir + "/zips.pdf");
    TCountZipCodes w(table, nullptr, printers.get());
    int questions = 0;
    w.askCancel = [&] {
        ++questions;
        return true;
    };
    // "Cancel" is pressed as soon as the window lets events run during the count.
    QTimer::singleShot(0, &w, [&] { QMetaObject::invokeMethod(w.cancelButton(), "click", Qt::QueuedConnection); });
    w.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.isVisible(); }, 20000));
    EXPECT_EQ(questions, 1);
    EXPECT_FALSE(w.counted());
    EXPECT_EQ(w.result(), QDialog::Rejected);
}

TEST(PrintCurrentRecordWindow, SwitchesAndPreview)
{
    const QString dir = scratchDir("record-window");
    const QString path = makeRecords(dir, "ONE.DBF", {{{"LNAME", "Solo"}, {"FNAME", "Han"}, {"MEMO", "Owes money"}}});
    AddressTable table;
    ASSERT_TRUE(table.open(path));
    table.first();
    auto printers = pdfPrinters(dir + "/record.pdf");
    TPrintCurrentRecord w(table, nullptr, printers.get());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Print Current Record"));
    for (int i = 0; i < kSingleFieldCount; ++i)
        EXPECT_TRUE(w.fieldBox(SingleField(i))->isChecked());
    EXPECT_EQ(w.fieldBox(SingleField::State)->text(), QStringLiteral("State/Province"));
    w.show();
    QTest::mouseClick(w.allBox(), Qt::LeftButton, {}, QPoint(5, w.allBox()->height() / 2));
    EXPECT_FALSE(w.choice().chosen(SingleField::Last));
    EXPECT_FALSE(w.choice().chosen(SingleField::Memo));
    w.fieldBox(SingleField::Last)->setChecked(true);
    ModalUser user;
    w.doPrint(true);
    ASSERT_EQ(user.previews.size(), 1);
    EXPECT_TRUE(user.previews[0].endsWith(QStringLiteral(": 1")));
    w.doPrint(false);
    EXPECT_TRUE(user.progressTexts.value(1).contains(QStringLiteral("Report Print Completed!")));
    EXPECT_TRUE(QFile::exists(dir + "/record.pdf"));
}
