// The main window as the user meets it: start-up in an empty folder, the sort menu and status
// line, the keys, overwrite typing, Enter, double-click, and closing while editing.
#include "activatewindow.h"
#include "addressfile.h"
#include "mainwindow.h"
#include "mainwindowsetup.h"
#include "programfolder.h"
#include "recordedit.h"
#include "settings.h"
#include "typingmode.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::testing;

namespace {

QAction* menuAction(TAddressMain& w, const QString& menu, const QString& caption)
{
    auto* m = w.findChild<QMenu*>(menu);
    if (!m)
        return nullptr;
    for (QAction* a : m->actions())
        if (a->text() == caption)
            return a;
    return nullptr;
}

// Types text key by key, letters outside ASCII too (QTest::keyClicks takes ASCII only).
void typeText(QWidget* w, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QVector<Row> zips()
{
    return {{{"LNAME", "Cole"}, {"ZIP", "30301"}}, {{"LNAME", "Abel"}, {"ZIP", "90210"}}, {{"LNAME", "Baker"}, {"ZIP", "10001"}}};
}

} // namespace

TEST(StartUp, EmptyProgramFolderCreatesTheFirstFileAndShowsNoRecords)
{
    auto dir = freshProgramFolder();
    Settings s;
    ASSERT_FALSE(QFile::exists(s.filePath()));
    bool startScreen = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            startScreen = startScreen || d->objectName() == "TGettingStarted";
            d->accept();
        }
    });
    closer.start(20);
    TAddressMain w;
    activate(w);
    ASSERT_TRUE(QTest::qWaitFor([&] { return startScreen; }, 5000));
    closer.stop();

    const QString path = ProgramFolder::dataPath() + "add0001.DBF";
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(w.windowTitle(), "Postavo - " + path);
    EXPECT_FALSE(w.emptyPanelShown());
    EXPECT_EQ(w.filterStatusText(), "No records");
    EXPECT_EQ(w.sortStatusText(), "Sorted by Last Name");
    EXPECT_FALSE(w.action(Command::Edit)->isEnabled());
    EXPECT_FALSE(w.action(Command::Delete)->isEnabled());
    EXPECT_TRUE(w.action(Command::Add)->isEnabled());
    EXPECT_TRUE(w.button(Command::Add)->isEnabled());
    EXPECT_FALSE(w.button(Command::Edit)->isEnabled());
    EXPECT_FALSE(w.action(Command::First)->isEnabled());
    const Availability a = w.controller().availability();
    EXPECT_FALSE(a.search);
    EXPECT_FALSE(a.browse);
    w.close();

    EXPECT_TRUE(s.hasKey("Misc", "GlobalTagId"));
    EXPECT_TRUE(s.hasSection("TAddressMain_Placement"));
    EXPECT_EQ(s.readString("MRU", "Item1"), path);
    EXPECT_TRUE(s.hasKey("Misc", "GettingStarted"));
    AddressTable t;
    ASSERT_TRUE(t.open(path));
    EXPECT_TRUE(CheckValidIndex(t));
    EXPECT_EQ(t.tagNames().size(), 26);
}

TEST(SortMenu, ZipChecksOnlyZipAndOrdersByZip)
{
    auto dir = freshProgramFolder();
    makeStartBook(zips());
    setSetting("Misc", "GettingStarted", "1");
    TAddressMain w;
    activate(w);
    EXPECT_EQ(w.fieldEdit("LNAME")->text(), "Abel");
    QAction* zip = menuAction(w, "&Sort", "&Zip");
    ASSERT_NE(zip, nullptr);
    zip->trigger();
    EXPECT_EQ(w.sortStatusText(), "Sorted by Zip");
    int checked = 0;
    for (QAction* a : w.findChild<QMenu*>("&Sort")->actions())
        checked += a->isChecked() ? 1 : 0;
    EXPECT_EQ(checked, 1);
    EXPECT_TRUE(zip->isChecked());
    w.run(Command::First);
    EXPECT_EQ(w.fieldEdit("ZIP")->text(), "10001");
    w.run(Command::Next);
    EXPECT_EQ(w.fieldEdit("ZIP")->text(), "30301");
    // Text that names no order changes nothing.
    EXPECT_FALSE(w.setOrderTo("&Shoe size"));
    EXPECT_EQ(w.sortStatusText(), "Sorted by Zip");
}

TEST(StatusLine, TwelveOfFortyFilterMatchesThenFortyRecordsWithoutTheDeleted)
{
    auto dir = freshProgramFolder();
    QVector<Row> rows;
    for (int i = 0; i < 42; ++i)
        rows.push_back({{"LNAME", QString("Name%1").arg(i, 2, 10, QChar('0'))}, {"CODES", i < 12 ? "VIP" : "X"}});
    makeStartBook(rows);
    setSetting("Misc", "GettingStarted", "1");
    BookUi ui;
    TAddressMain w;
    w.setUiOverride(&ui);
    activate(w);
    w.run(Command::Last);
    w.run(Command::Delete);
    w.run(Command::Delete);
    EXPECT_EQ(w.filterStatusText(), "40 records (no filter)");
    QueryValues q;
    q.values[15] = "VIP";
    w.controller().setQuery(q);
    w.controller().applyFilter();
    EXPECT_EQ(w.filterStatusText(), "12 filter matches");
    EXPECT_TRUE(w.button(Command::ClearFilter)->isVisible());
    w.run(Command::ClearFilter);
    EXPECT_EQ(w.filterStatusText(), "40 records (no filter)");
    EXPECT_FALSE(w.button(Command::ClearFilter)->isVisible());
}

TEST(Keys, PageKeysMoveAndBeepAtTheEnds)
{
    auto dir = freshProgramFolder();
    makeStartBook(zips());
    setSetting("Misc", "GettingStarted", "1");
    BookUi ui;
    TAddressMain w;
    w.setUiOverride(&ui);
    activate(w);
    TRecordEdit* last = w.fieldEdit("LNAME");
    last->setFocus();
    QTest::keyClick(last, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(last->text(), "Cole");
    QTest::keyClick(last, Qt::Key_PageDown);
    EXPECT_EQ(last->text(), "Cole");
    EXPECT_EQ(ui.beeps, 1);
    QTest::keyClick(last, Qt::Key_PageUp);
    EXPECT_EQ(last->text(), "Baker");
    QTest::keyClick(last, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(last->text(), "Abel");
    QTest::keyClick(last, Qt::Key_PageUp);
    EXPECT_EQ(ui.beeps, 2);
    QTest::keyClick(last, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(last->text(), "Baker");
}

TEST(Keys, OverwriteTypingEnterAndDoubleClick)
{
    auto dir = freshProgramFolder();
    makeStartBook(zips());
    setSetting("Misc", "GettingStarted", "1");
    BookUi ui;
    TAddressMain w;
    w.setUiOverride(&ui);
    activate(w);
    TRecordEdit* last = w.fieldEdit("LNAME");
    QTest::mouseDClick(last, Qt::LeftButton);
    ASSERT_TRUE(w.controller().editing());
    EXPECT_FALSE(last->isReadOnly());
    EXPECT_FALSE(w.button(Command::Add)->isVisible());
    EXPECT_TRUE(w.button(Command::Save)->isVisible());

    setInsertToggle(false);
    last->setFocus();
    last->setCursorPosition(0);
    QTest::keyClicks(last, "Ma");
    EXPECT_EQ(last->text(), "Mael");  // "Ab" overwritten
    QTest::keyClick(last, Qt::Key_Insert);
    QTest::keyClicks(last, "x");
    EXPECT_EQ(last->text(), "Maxel");
    setInsertToggle(false);
    EXPECT_EQ(w.controller().fieldValue("LNAME"), "Maxel");

    QTest::keyClick(last, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), w.fieldEdit("FNAME"));

    // Alt+Enter saves and asks to add another; No stays browsing.
    ui.answer = [](const QString&, const QString&) { return false; };
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::AltModifier);
    EXPECT_FALSE(w.controller().editing());
    EXPECT_EQ(ui.questions.last(), "Add: Add another record?");
    EXPECT_EQ(last->text(), "Maxel");
    EXPECT_TRUE(last->isReadOnly());
}

TEST(Keys, MiFieldTakesCapitals)
{
    auto dir = freshProgramFolder();
    makeStartBook(zips());
    setSetting("Misc", "GettingStarted", "1");
    BookUi ui;
    TAddressMain w;
    w.setUiOverride(&ui);
    activate(w);
    w.run(Command::Edit);
    TRecordEdit* mi = w.fieldEdit("MIDDLE");
    mi->setFocus();
    QTest::keyClicks(mi, "q");
    EXPECT_EQ(w.controller().fieldValue("MIDDLE"), "Q");
    w.run(Command::Cancel);
}

// Characters an address file cannot hold are stopped where they are typed or pasted, with a
// note naming them; the rest of the typing goes in.
TEST(Keys, CharactersTheFileCannotHoldAreStoppedWhereTyped)
{
    auto dir = freshProgramFolder();
    makeStartBook(zips());
    setSetting("Misc", "GettingStarted", "1");
    BookUi ui;
    TAddressMain w;
    w.setUiOverride(&ui);
    activate(w);
    w.run(Command::Edit);
    ASSERT_TRUE(w.controller().editing());
    TRecordEdit* last = w.fieldEdit("LNAME");
    last->setFocus();
    last->selectAll();
    typeText(last, QStringLiteral("Łukasiewicz"));
    EXPECT_EQ(last->text(), "ukasiewicz");
    EXPECT_EQ(w.controller().fieldValue("LNAME"), "ukasiewicz");
    EXPECT_TRUE(w.statusBar()->currentMessage().startsWith(QStringLiteral("Not typed: Ł (U+0141)")))
        << w.statusBar()->currentMessage().toStdString();
    EXPECT_EQ(ui.beeps, 1);
    // Characters the file holds are not stopped.
    last->selectAll();
    typeText(last, QStringLiteral("Müller"));
    EXPECT_EQ(last->text(), QStringLiteral("Müller"));

    // The memo: typed and pasted text alike; a paste holding one such character is refused whole.
    auto* memo = w.findChild<QPlainTextEdit*>("MEMO");
    ASSERT_NE(memo, nullptr);
    memo->setFocus();
    typeText(memo, QStringLiteral("gęś"));
    EXPECT_EQ(memo->toPlainText(), "g");
    QApplication::clipboard()->setText(QStringLiteral("Zażółć"));
    memo->paste();
    EXPECT_EQ(memo->toPlainText(), "g");
    EXPECT_TRUE(w.statusBar()->currentMessage().contains(QStringLiteral("ż (U+017C)")));
    QApplication::clipboard()->setText(QStringLiteral("ol"));
    memo->paste();
    EXPECT_EQ(memo->toPlainText(), "gol");
    w.run(Command::Save);
    EXPECT_FALSE(w.controller().editing());
    EXPECT_EQ(w.controller().fieldValue("LNAME"), QStringLiteral("Müller"));
}

TEST(ShutDown, ClosingTheWindowWhileEditingDiscardsTheEdit)
{
    auto dir = freshProgramFolder();
    const QString path = makeStartBook(zips());
    setSetting("Misc", "GettingStarted", "1");
    BookUi ui;
    {
        TAddressMain w;
        w.setUiOverride(&ui);
        activate(w);
        w.run(Command::Edit);
        TRecordEdit* last = w.fieldEdit("LNAME");
        last->setFocus();
        last->selectAll();
        QTest::keyClicks(last, "Zzz");
        EXPECT_EQ(w.controller().fieldValue("LNAME"), "Zzz");
        w.close();
        EXPECT_FALSE(w.controller().isOpen());
    }
    AddressTable t;
    ASSERT_TRUE(t.open(path));
    t.setOrder("LNAME");
    t.first();
    EXPECT_EQ(t.value("LNAME"), "Abel");
}

TEST(Commands, MissingWindowsAreHiddenAndLaterPartsCanAddThem)
{
    auto dir = freshProgramFolder();
    makeStartBook(zips());
    setSetting("Misc", "GettingStarted", "1");
    TAddressMain w;
    activate(w);
    EXPECT_FALSE(w.action(Command::PrintLabels)->isVisible());
    EXPECT_FALSE(w.findChild<QMenu*>("&Print")->menuAction()->isVisible());
    int ran = 0;
    w.setCommandHandler(Command::PrintLabels, [&] { ++ran; });
    EXPECT_TRUE(w.action(Command::PrintLabels)->isVisible());
    EXPECT_TRUE(w.findChild<QMenu*>("&Print")->menuAction()->isVisible());
    w.action(Command::PrintLabels)->trigger();
    EXPECT_EQ(ran, 1);
}

TEST(WorkWindows, UtilityGetsTheOrderBackAndPrintKeepsTheRecord)
{
    auto dir = freshProgramFolder();
    makeStartBook(zips());
    setSetting("Misc", "GettingStarted", "1");
    TAddressMain w;
    activate(w);
    AddressTable& t = w.controller().table();
    ASSERT_TRUE(w.setOrderTo("&Zip"));
    w.run(Command::Next);
    const quint32 here = t.recNo();
    w.runWorkWindow(TAddressMain::WorkKind::Print, [&] {
        EXPECT_TRUE(t.extraFields());
        EXPECT_EQ(t.fullName().isEmpty(), false);
        t.setOrder("FNAME");
        t.first();
    });
    EXPECT_FALSE(t.extraFields());
    EXPECT_EQ(t.recNo(), here);
    w.runWorkWindow(TAddressMain::WorkKind::Utility, [&] { t.setOrder("CITY"); });
    EXPECT_EQ(t.order(), "ZIP");
    EXPECT_EQ(w.sortStatusText(), "Sorted by Zip");
}
