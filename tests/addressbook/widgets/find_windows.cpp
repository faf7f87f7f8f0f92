// The windows that find and copy records, driven as the user does: the search box, the browse
// grid (columns, FIELDS.LST across openings, tagging, the record it leaves current), the memo
// search with Find Next on the main window, and the record copied to the clipboard.
#include "activatewindow.h"
#include "browsecolumns.h"
#include "browsewindow.h"
#include "findcommands.h"
#include "mainwindow.h"
#include "mainwindowsetup.h"
#include "recordedit.h"
#include "searchwindows.h"
#include "tablemodel.h"
#include "testsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::testing;

namespace {

QVector<Row> people()
{
    return {{{"LNAME", "Cole"}, {"FNAME", "Ann"}, {"CITY", "Dover"}, {"MEMO", "wants the SPRING catalogue"}},
            {{"LNAME", "Abel"}, {"FNAME", "Bo"}, {"CITY", "Austin"}},
            {{"LNAME", "Baker"}, {"FNAME", "Cy"}, {"CITY", "Boston"}, {"MEMO", "spring order"}}};
}

struct Window {
    std::unique_ptr<QTemporaryDir> dir = freshProgramFolder();
    BookUi ui;
    std::unique_ptr<TAddressMain> w;
    explicit Window(const QVector<Row>& rows = people())
    {
        makeStartBook(rows);
        setSetting("Misc", "GettingStarted", "1");
        w = std::make_unique<TAddressMain>();
        w->setUiOverride(&ui);
        installFindCommands(*w);
        activate(*w);
    }
    QString v(const char* f) { return w->fieldEdit(QString::fromLatin1(f))->text(); }
};

// Answers the next modal window with `answer` once it appears.
void whenModal(std::function<void(QWidget*)> answer)
{
    auto* t = new QTimer;
    QObject::connect(t, &QTimer::timeout, [t, answer] {
        if (QWidget* m = QApplication::activeModalWidget()) {
            t->stop();
            t->deleteLater();
            answer(m);
        }
    });
    t->start(10);
}

} // namespace

TEST(SearchBox, OrderListLabelAndTheSearchFromTheCommand)
{
    Window b;
    TSearchBox box(b.w->controller().sortCaption());
    EXPECT_EQ(box.windowTitle(), "Search");
    EXPECT_EQ(box.orderBox()->count(), 14);
    EXPECT_EQ(box.order(), "Last Name");
    EXPECT_EQ(box.promptLabel()->text(), "Search Last Name starting with...");
    box.orderBox()->setCurrentText("City");
    EXPECT_EQ(box.promptLabel()->text(), "Search City starting with...");

    whenModal([](QWidget* m) {
        auto* box = qobject_cast<TSearchBox*>(m);
        ASSERT_NE(box, nullptr);
        box->orderBox()->setCurrentText("City");
        box->textEdit()->setText("bos");
        box->accept();
    });
    b.w->run(Command::Search);
    EXPECT_EQ(b.v("LNAME"), "Baker");
    EXPECT_EQ(b.w->sortStatusText(), "Sorted by City");
}

TEST(Browse, GridColumnsOrderKeptInFieldsListAndCurrentRecordReturned)
{
    Window b;
    QFile::remove(fieldsListPath());
    {
        TAddressBrowseForm form(b.w->controller(), b.w.get());
        EXPECT_EQ(form.windowTitle(), "Address Browse");
        QTableView* g = form.grid();
        ASSERT_EQ(form.model()->rowCount(), 3);
        int shown = 0;
        for (int c = 0; c < form.model()->columnCount(); ++c)
            shown += g->isColumnHidden(c) ? 0 : 1;
        EXPECT_EQ(shown, 21);
        EXPECT_EQ(form.model()->headerData(0, Qt::Horizontal).toString(), "Tagged");
        EXPECT_EQ(form.model()->headerData(1, Qt::Horizontal).toString(), "Last Name");
        EXPECT_EQ(form.model()->data(form.model()->index(0, 1)).toString(), "Abel");
        // Move "City" to the front, go to the last row, close.
        const int city = int(form.columnOrder().indexOf("CITY"));
        g->horizontalHeader()->moveSection(g->horizontalHeader()->visualIndex(city), 0);
        form.moveTo(2);
        form.accept();
    }
    EXPECT_EQ(b.v("LNAME"), "Cole") << "the grid's record stays current";
    EXPECT_TRUE(readBytes(fieldsListPath()).startsWith("CITY\r\nTagged\r\nLNAME\r\n"));
    TAddressBrowseForm again(b.w->controller(), b.w.get());
    EXPECT_EQ(again.model()->headerData(0, Qt::Horizontal).toString(), "City");
    EXPECT_EQ(again.currentRecord(), b.w->controller().table().recNo()) << "opens on the current record";
    again.reject();
}

TEST(Browse, TagButtonAndDoubleClickToggleTheRowsTag)
{
    Window b;
    TAddressBrowseForm form(b.w->controller(), b.w.get());
    form.moveTo(1);  // Baker
    form.findChild<QPushButton*>(QString(), Qt::FindDirectChildrenOnly);
    for (QPushButton* p : form.findChildren<QPushButton*>())
        if (p->text() == "&Tag")
            p->click();
    EXPECT_EQ(form.model()->data(form.model()->index(1, 0)).toString(), "Yes");
    EXPECT_EQ(form.model()->data(form.model()->index(0, 0)).toString(), "No");
    emit form.grid()->doubleClicked(form.grid()->currentIndex());
    EXPECT_EQ(form.model()->data(form.model()->index(1, 0)).toString(), "No");
    // Previous at the first row beeps and stays.
    form.moveTo(0);
    const int before = b.ui.beeps;
    form.findChild<QPushButton*>("Previous record")->click();
    EXPECT_EQ(b.ui.beeps, before + 1);
    form.findChild<QPushButton*>("Last record")->click();
    EXPECT_EQ(form.grid()->currentIndex().row(), 2);
    form.findChild<QPushButton*>("Next record")->click();
    EXPECT_EQ(b.ui.beeps, before + 2);
    form.reject();
}

TEST(Browse, DamagedFieldsListIsSaidOnceAndTheUsualOrderUsed)
{
    Window b;
    writeBytes(fieldsListPath(), QByteArray("\0\0\0junk", 7));
    for (int i = 0; i < 2; ++i) {
        TAddressBrowseForm form(b.w->controller(), b.w.get());
        EXPECT_EQ(form.model()->headerData(1, Qt::Horizontal).toString(), "Last Name");
        form.reject();
        writeBytes(fieldsListPath(), QByteArray("\0\0\0junk", 7));
    }
    ASSERT_EQ(b.ui.messages.size(), 1) << "said once";
    EXPECT_TRUE(b.ui.messages.front().contains("damaged"));
}

TEST(MemoSearchWindow, FindNextShownWhileFoundAndHiddenAfterTheLastMatch)
{
    Window b;
    QPushButton* findNext = b.w->button(Command::FindNext);
    ASSERT_NE(findNext, nullptr);
    EXPECT_TRUE(findNext->isHidden());
    whenModal([](QWidget* m) {
        auto* d = qobject_cast<QInputDialog*>(m);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), "Memo Search");
        EXPECT_EQ(d->labelText(), "Search For");
        d->setTextValue("spring");
        d->accept();
    });
    b.w->run(Command::SearchMemo);
    EXPECT_EQ(b.v("LNAME"), "Baker");
    EXPECT_TRUE(b.w->findNextShown());
    EXPECT_FALSE(findNext->isHidden());
    b.w->run(Command::FindNext);
    EXPECT_EQ(b.v("LNAME"), "Cole");
    const int before = b.ui.beeps;
    b.w->run(Command::FindNext);
    EXPECT_EQ(b.v("LNAME"), "Cole");
    EXPECT_EQ(b.ui.beeps, before + 1);
    EXPECT_TRUE(findNext->isHidden());
}

TEST(CopyToClipboard, TickedGroupsGoToTheClipboardWithTheConfirmation)
{
    Window b;
    whenModal([](QWidget* m) {
        auto* d = qobject_cast<TCopyRecordDialog*>(m);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), "Copy Record To Clipboard");
        EXPECT_EQ(d->box(4)->text(), "Comments 1 && 2");
        for (int i = 1; i < 5; ++i)
            d->box(i)->setChecked(false);
        whenModal([](QWidget* box) {
            auto* mb = qobject_cast<QMessageBox*>(box);
            ASSERT_NE(mb, nullptr);
            EXPECT_EQ(mb->text(), "Record copied to Windows Clipboard");
            mb->accept();
        });
        d->accept();
    });
    b.w->run(Command::CopyToClipboard);
    EXPECT_EQ(QApplication::clipboard()->text(), "Bo Abel \r\n");
}
