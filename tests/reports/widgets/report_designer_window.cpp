// The report designer and its layout dialog driven headless: tools that only some bands take,
// objects drawn with the mouse, sizers held within the page, Save's checks, Change Layout, and
// a report loaded, changed and saved again.
#include "support_windows.h"

#include "addressfile.h"
#include "classregistry.h"
#include "composedtextobjects.h"
#include "horizontalruler.h"
#include "reportcatalogue.h"
#include "reportdesignerwindow.h"
#include "reportlayoutdialog.h"
#include "textdialogs.h"
#include "testsupport.h"
#include "textobjects.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::reports;
using namespace postavo::testing::rptw;
using postavo::testing::scratchDir;

namespace {

// Chooses the first field and types "Title" into the text editor.
struct Answers : design::DesignDialogs {
    bool editText(QString* text) override
    {
        *text = QStringLiteral("Title");
        return true;
    }
    bool selectField(const QStringList& labels, QString* chosen) override
    {
        *chosen = labels.value(0);
        return true;
    }
};

class Designer : public ::testing::Test {
protected:
    void SetUp() override
    {
        design::registerStandardDesignClasses();
        design::setDialogs(&answers);
        dir = scratchDir(QString::fromStdString(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        const QString path = makeRecords(dir, "BOOK.DBF",
                                         {{{"LNAME", "Adams"}, {"MEMO", "First memo"}},
                                          {{"LNAME", "Baker"}, {"MEMO", "Second memo"}}});
        ASSERT_TRUE(table.open(path));
        table.setFilter(QStringLiteral("!ISDEL"));
        table.first();
        designer = std::make_unique<TReportDesigner>(&table);
        designer->inform = [this](const QString& m) { messages << m; };
        for (int i = 0; i < 3; ++i)
            designer->band(i).ui.beep = [this] { ++beeps; };
        designer->show();
    }
    void TearDown() override
    {
        designer.reset();
        design::setDialogs(nullptr);
    }
    // A drag with the left button on a band, in band pixels.
    void drag(TReportPanel& band, QPoint from, QPoint to)
    {
        QTest::mousePress(&band, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), band.mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                         {});
        QApplication::sendEvent(&band, &move);
        QTest::mouseRelease(&band, Qt::LeftButton, {}, to);
    }
    Answers answers;
    QString dir;
    AddressTable table;
    std::unique_ptr<TReportDesigner> designer;
    QStringList messages;
    int beeps = 0;
};

} // namespace

TEST_F(Designer, ANewReportShowsItsDefaults)
{
    EXPECT_EQ(designer->windowTitle(), QStringLiteral("Report Designer"));
    EXPECT_EQ(designer->description(), QStringLiteral("<new report>"));
    EXPECT_EQ(designer->layoutText(), QStringLiteral("Letter Size, Portrait"));
    EXPECT_EQ(designer->defaultFontButton()->text(), QStringLiteral("Default Font: Arial, 10 pt "));
    EXPECT_TRUE(designer->bandBox(0)->isChecked() && designer->bandBox(1)->isChecked());
    EXPECT_FALSE(designer->bandBox(2)->isChecked() || designer->bandBox(3)->isChecked());
    // Bands a quarter inch narrower than the room between the margins, 33 pixels high.
    EXPECT_EQ(designer->header().width(), 816 - 96 - 24);
    EXPECT_EQ(designer->header().height(), 33);
    EXPECT_EQ(designer->footer().height(), 0);
    EXPECT_FALSE(designer->sizer(2)->isEnabled());
    EXPECT_DOUBLE_EQ(designer->ruler()->StartInch(), 0.5);
    EXPECT_EQ(designer->descriptionEdit()->maxLength(), 60);
    EXPECT_EQ(designer->toolButton(psDataLabel)->toolTip(), QStringLiteral("Database Field tool"));
}

TEST_F(Designer, ToolsDrawOnlyWhereTheyBelong)
{
    designer->chooseTool(psDataLabel);
    EXPECT_FALSE(designer->header().acceptsDrawing());
    EXPECT_TRUE(designer->detail().acceptsDrawing());
    // Pressing on the header only beeps.
    QTest::mouseClick(&designer->header(), Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(designer->header().objectCount(), 0);
    // Drawn on the detail band: a field, chosen at once, showing the current record's value.
    drag(designer->detail(), QPoint(10, 5), QPoint(120, 25));
    ASSERT_EQ(designer->detail().objectCount(), 1);
    auto* field = qobject_cast<design::TGPDLabel*>(designer->detail().designObjects().front());
    ASSERT_TRUE(field);
    EXPECT_EQ(field->DataFieldName, QStringLiteral("LNAME"));
    EXPECT_EQ(field->Caption, QStringLiteral("Adams"));
    // After one object the tool is the selection tool again and every band takes drawing.
    EXPECT_EQ(designer->tool(), psPointing);
    EXPECT_TRUE(designer->header().acceptsDrawing());
    EXPECT_TRUE(designer->toolButton(psPointing)->isChecked());
    // The record buttons move the table and the field follows.
    designer->nextRecord();
    EXPECT_EQ(field->Caption, QStringLiteral("Baker"));
    EXPECT_EQ(designer->memoView()->toPlainText(), QStringLiteral("Second memo"));
    // Field names instead of values while the toggle is down.
    designer->fieldNamesToggle()->click();
    EXPECT_EQ(field->Caption, QStringLiteral("[Last Name]"));

    // A text drawn in the header takes the default font and its typed text.
    designer->chooseTool(psLabel);
    drag(designer->header(), QPoint(10, 5), QPoint(15, 8));
    ASSERT_EQ(designer->header().objectCount(), 1);
    auto* text = qobject_cast<design::TGPLabel*>(designer->header().designObjects().front());
    ASSERT_TRUE(text);
    EXPECT_EQ(text->Caption, QStringLiteral("Title"));
    EXPECT_EQ(text->Font, designer->vars().defaultFont(96));
    EXPECT_GE(text->width(), 50);
}

TEST_F(Designer, SizersStayWithinThePageAndEmptyBandsAreUnticked)
{
    designer->setBandUsed(3, true);
    EXPECT_EQ(designer->footer().height(), 33);
    EXPECT_TRUE(designer->sizer(2)->isEnabled());
    // The header may grow only as far as the page between its margins leaves.
    designer->pressSizer(0);
    designer->dragSizer(0, 5000);
    EXPECT_EQ(designer->header().height(), 1056 - 96 - 33 - 33);
    designer->dragSizer(0, -5000);
    EXPECT_EQ(designer->header().height(), 0);
    // Every band dragged to nothing and no memo: Save says so and the designer stays.
    for (int i : {1, 2}) {
        designer->pressSizer(i);
        designer->dragSizer(i, -100);
        designer->releaseSizer(i);
    }
    designer->save();
    EXPECT_EQ(messages, QStringList({QString::fromLatin1(kNoBandMessage)}));
    EXPECT_TRUE(designer->isVisible());
    EXPECT_FALSE(designer->bandBox(0)->isChecked());
    EXPECT_FALSE(designer->bandBox(3)->isChecked());
    // Ticked again, a band stored at nothing shows 20 pixels.
    designer->setBandUsed(1, true);
    EXPECT_EQ(designer->detail().height(), 20);
    designer->save();
    EXPECT_EQ(designer->result(), QDialog::Accepted);
    EXPECT_EQ(designer->vars().detailHeight, 20);
}

TEST_F(Designer, ChangeLayoutLaysTheBandsOutAgain)
{
    designer->layoutDialog = [](ReportVars* v, QString* description) {
        v->setPaper({PaperSize::Letter, true}, 96);
        v->marginLeft = 96;
        *description = QStringLiteral("Letter Size, Landscape");
        return true;
    };
    designer->changeLayout();
    EXPECT_EQ(designer->layoutText(), QStringLiteral("Letter Size, Landscape"));
    EXPECT_EQ(designer->header().width(), 1056 - 96 - 48 - 24);
    EXPECT_DOUBLE_EQ(designer->ruler()->StartInch(), 1.0);
    designer->layoutDialog = [](ReportVars*, QString*) { return false; };
    designer->changeLayout();
    EXPECT_EQ(designer->layoutText(), QStringLiteral("Letter Size, Landscape"));
}

TEST_F(Designer, AReportLoadedChangedAndSavedAgain)
{
    const QString sysdata = dir + "/sysdata/";
    QDir().mkpath(sysdata);
    ReportCatalogue catalogue;
    QString error;
    ASSERT_TRUE(catalogue.open(&error, sysdata));
    ReportEntry entry{0, QStringLiteral("Members"), QStringLiteral("Letter Size, Portrait"), {}};
    designer->chooseTool(psPageNumber);
    drag(designer->header(), QPoint(300, 4), QPoint(360, 24));
    ASSERT_TRUE(catalogue.saveReport(&entry, true, designer->header(), designer->detail(), designer->footer(),
                                     designer->vars(), 96, &error));

    TReportDesigner again(&table);
    again.inform = [this](const QString& m) { messages << m; };
    again.load(catalogue, &entry);
    EXPECT_EQ(again.description(), QStringLiteral("Members"));
    ASSERT_EQ(again.header().objectCount(), 1);
    EXPECT_TRUE(qobject_cast<design::TGPageNumberLabel*>(again.header().designObjects().front()));
    EXPECT_TRUE(messages.isEmpty());
    again.setBandUsed(2, true);
    EXPECT_GT(again.memoView()->height(), 0);
    again.setMemoAlignment(memoCentred);
    again.save();
    ASSERT_EQ(again.result(), QDialog::Accepted);
    ASSERT_TRUE(catalogue.saveReport(&entry, false, again.header(), again.detail(), again.footer(), again.vars(), 96,
                                     &error));
    ReportVars back;
    QObject owner;
    design::ObjectList h(&owner), d(&owner), f(&owner);
    catalogue.loadReport(&entry, h, d, f, &back, 96);
    EXPECT_TRUE(back.useMemo);
    EXPECT_EQ(back.memoAlignment, memoCentred);
    EXPECT_EQ(h.objectCount(), 1);
    for (auto* b : {&h, &d, &f})
        b->freeAllObjects();
}

TEST(ReportLayoutDialog, ShowsAndReturnsThePageAndBands)
{
    ReportVars v = ReportVars::defaults(96);
    v.setPaper({PaperSize::A4, true}, 96);
    v.marginLeft = 72; // 0.75 inch
    v.bands[bandFooter] = {true, false, false, true, 2, 40, 255};
    TReportProperties dialog(v, 96);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Report Layout"));
    EXPECT_TRUE(dialog.landscapeButton()->isChecked());
    EXPECT_TRUE(dialog.a4Button()->isChecked());
    EXPECT_DOUBLE_EQ(dialog.marginBox(0)->value(), 0.75);
    EXPECT_TRUE(dialog.borderBox(3, 1)->isChecked());  // footer, left
    EXPECT_TRUE(dialog.borderBox(3, 2)->isChecked());  // footer, bottom
    EXPECT_FALSE(dialog.borderBox(3, 3)->isChecked()); // footer, right
    EXPECT_FALSE(dialog.borderBox(3, 0)->isChecked()); // footer, top
    EXPECT_EQ(dialog.lineWidthBox(3)->value(), 2);
    EXPECT_EQ(dialog.shadeBox(3)->currentText(), QStringLiteral("40"));
    EXPECT_EQ(dialog.result(), v);
    EXPECT_EQ(dialog.pageDescription(), QStringLiteral("A4 Size, Landscape"));
    // The miniature: a click on a band opens its tab.
    dialog.show();
    dialog.showBand(bandMemo);
    EXPECT_EQ(dialog.tabs()->tabText(dialog.tabs()->currentIndex()), QStringLiteral("Memo"));
    // Changes come back; margins stay between half an inch and two and a half.
    dialog.marginBox(1)->setValue(3.0);
    dialog.letterButton()->setChecked(true);
    dialog.shadeBox(0)->setCurrentIndex(3);
    const ReportVars r = dialog.result();
    EXPECT_EQ(r.marginTop, 240);
    EXPECT_EQ(r.paper(96), (ReportPaper{PaperSize::Letter, true}));
    EXPECT_EQ(r.bands[bandHeader].shadePercent, 60);
    // "Defaults": Letter portrait, half-inch margins, plain bands.
    dialog.setDefaults();
    const ReportVars d = dialog.result();
    EXPECT_EQ(d.paper(96), (ReportPaper{PaperSize::Letter, false}));
    EXPECT_EQ(d.marginLeft, 48);
    EXPECT_EQ(d.bands[bandFooter], BandProperties());
}
