// The windows of the data store: Address Filter, Create new database, Specify Field Lengths,
// Preferences, Select a Date, rebuilding, and the help window's topics.
#include "addressbookcontroller.h"
#include "editdialogs.h"
#include "filterdialogs.h"
#include "helptopics.h"
#include "helpwindow.h"
#include "mainwindowsetup.h"
#include "messageboxes.h"
#include "programfolder.h"
#include "settings.h"
#include "storedialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::testing;

namespace {
// Types text key by key, letters outside ASCII too (QTest::keyClicks takes ASCII only).
void typeText(QWidget* w, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QVector<Row> people()
{
    return {{{"LNAME", "Adams"}, {"STATE", "NY"}}, {{"LNAME", "Baker"}, {"STATE", "NJ"}}, {{"LNAME", "Young"}, {"STATE", "CA"}}};
}
} // namespace

TEST(FilterWindow, TestClearOkAndCancel)
{
    auto dir = freshProgramFolder();
    makeStartBook(people());
    BookUi ui;
    AddressBookController c(ui);
    c.startUp();

    {
        TAddressFilter dlg(c, {{"LNAME", "Last"}, {"STATE", "State or Prov"}});
        dlg.box("STATE")->setText("NY;NJ");
        dlg.test();
        EXPECT_EQ(dlg.matchLine(), "2 matches");
        EXPECT_TRUE(c.filterSet());  // live on the main window while the window is open
        EXPECT_EQ(c.visibleCount(), 2u);
        dlg.box("LNAME")->setText("Nobody");
        dlg.test();
        EXPECT_EQ(dlg.matchLine(), "No filter set");  // matched nothing: dropped
        EXPECT_EQ(c.visibleCount(), 3u);
        dlg.reject();  // Cancel: nothing was set before
        EXPECT_FALSE(c.filterSet());
    }
    {
        TAddressFilter dlg(c, {});
        dlg.box("LNAME")->setText("y");
        dlg.accept();
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(c.query().values[0], "y");
        EXPECT_EQ(c.visibleCount(), 1u);
    }
    {
        TAddressFilter dlg(c, {});
        EXPECT_EQ(dlg.box("LNAME")->text(), "y");  // the current values are shown
        dlg.box("LNAME")->setText("A");
        dlg.test();
        EXPECT_EQ(c.visibleCount(), 1u);
        dlg.reject();  // back to the filter from before
        EXPECT_EQ(c.query().values[0], "y");
        c.applyFilter();
        EXPECT_EQ(c.table().value("LNAME"), "Young");
    }
    {
        TAddressFilter dlg(c, {});
        dlg.clear();
        EXPECT_EQ(dlg.box("LNAME")->text(), "");
        EXPECT_EQ(dlg.matchLine(), "No filter set");
        EXPECT_FALSE(c.filterSet());
    }
}

TEST(FilterFiles, SaveNamesAndRestoreChecks)
{
    QString error;
    EXPECT_EQ(AddressBookController::filterSavePath("/x/mine", &error), "/x/mine.FLT");
    EXPECT_EQ(AddressBookController::filterSavePath("/x/mine.flt", &error), "/x/mine.flt");
    EXPECT_EQ(AddressBookController::filterSavePath("/x/mine.txt", &error), "");
    EXPECT_EQ(error, "Must have a .FLT extension");

    auto dir = freshProgramFolder();
    makeStartBook(people());
    BookUi ui;
    AddressBookController c(ui);
    c.startUp();
    QueryValues q;
    q.values[8] = "CA";
    c.setQuery(q);
    c.applyFilter();
    const QString path = ProgramFolder::path() + "ca.FLT";
    ASSERT_TRUE(c.saveFilter(path));
    c.clearFilter();
    EXPECT_FALSE(c.restoreFilter(ProgramFolder::path() + "ca.txt"));
    EXPECT_EQ(ui.messages.last(), "Must be a Filter (.FLT) file");
    ASSERT_TRUE(c.restoreFilter(path));
    EXPECT_EQ(c.visibleCount(), 1u);
}

TEST(TagAll, TagsTheMatchesAndClearTagsForgetsThem)
{
    auto dir = freshProgramFolder();
    makeStartBook(people());
    BookUi ui;
    AddressBookController c(ui);
    c.startUp();
    QueryValues q;
    q.values[8] = "N";
    c.setQuery(q);
    c.applyFilter();
    TTagging dlg(c);
    dlg.run();
    EXPECT_TRUE(dlg.finished());
    EXPECT_EQ(dlg.findChild<QLabel*>("State")->text(), "Complete");
    c.clearFilter();
    QueryValues tagged;
    tagged.taggedOnly = true;
    c.setQuery(tagged);
    EXPECT_EQ(c.applyFilter(), 2u);
    const QString oldId = c.tagId();
    c.clearTags();
    EXPECT_NE(c.tagId(), oldId);
    EXPECT_FALSE(c.filterSet());  // the tagged filter matches nothing now and is dropped
}

TEST(NewDatabaseWindow, NamesAndProposal)
{
    auto dir = freshProgramFolder();
    TNewDataBaseName dlg("ADD0003");
    EXPECT_EQ(dlg.windowTitle(), "Create new database");
    EXPECT_TRUE(dlg.okEnabled());
    auto* name = dlg.findChild<QLineEdit*>("Name");
    for (const char* bad : {"1LIST", "MY-LIST", ""}) {
        name->setText(bad);
        EXPECT_FALSE(dlg.okEnabled()) << bad;
        EXPECT_TRUE(dlg.invalidShown()) << bad;
    }
    name->setText("_LIST");
    EXPECT_TRUE(dlg.okEnabled());
    EXPECT_FALSE(dlg.invalidShown());
    name->setText("TOOLONGNAME");
    EXPECT_EQ(dlg.name(), "TOOLONGN");
}

// The invalid-name note has its room from the start: showing it neither clips its two lines
// nor makes the window jump.
TEST(NewDatabaseWindow, InvalidNameNoteIsNeverClipped)
{
    auto dir = freshProgramFolder();
    TNewDataBaseName dlg("ADD0003");
    dlg.show();
    QApplication::processEvents();
    const QSize before = dlg.size();
    dlg.findChild<QLineEdit*>("Name")->setText("1LIST");
    QApplication::processEvents();
    ASSERT_TRUE(dlg.invalidShown());
    EXPECT_EQ(dlg.size(), before);
    auto* note = dlg.findChild<QLabel*>("InvalidName");
    ASSERT_NE(note, nullptr);
    ASSERT_TRUE(note->isVisible());
    EXPECT_GE(note->height(), note->heightForWidth(note->width()));
}

// The new-record window stops what the file cannot hold, too, and says so.
TEST(NewRecordWindow, CharactersTheFileCannotHoldAreStopped)
{
    NewRecordPrompt p;
    p.askNames = true;
    TNewRecordPrompt dlg(p);
    dlg.show();
    typeText(dlg.lastBox(), QStringLiteral("Ł"));
    auto* note = dlg.findChild<QLabel*>("RefusedNote");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->text(), QStringLiteral("Not typed: Ł (U+0141). An address file holds Windows-1252 text, which has no room for it."));
    typeText(dlg.lastBox(), QStringLiteral("ódź"));
    EXPECT_EQ(dlg.lastBox()->text(), QStringLiteral("ód"));
    EXPECT_TRUE(note->text().contains(QStringLiteral("ź (U+017A)"))) << note->text().toStdString();
}

TEST(NewDatabaseWindow, CreatingAnExistingNameIsRefusedAndANewOneOpens)
{
    auto dir = freshProgramFolder();
    makeStartBook(people());
    BookUi ui;
    AddressBookController c(ui);
    c.startUp();
    EXPECT_FALSE(c.createDatabase("ADD0001", defaultFieldLengths()));
    EXPECT_EQ(ui.messages.last(), "That file already exists.Please select another name");
    EXPECT_TRUE(c.isOpen());
    FieldLengths l = defaultFieldLengths();
    l["ZIP"] = 12;
    ASSERT_TRUE(c.createDatabase("LIST2", l));
    EXPECT_TRUE(c.currentPath().endsWith("DATA/LIST2.DBF"));
    EXPECT_EQ(c.table().fieldWidth("ZIP"), 12);
    EXPECT_EQ(c.filterStatus(), std::optional<QString>("No records"));
    EXPECT_EQ(getMRUList(Settings()).value(0), c.currentPath());
}

TEST(FieldLengthsWindow, OutOfRangeRevertsDefaultsAndKeep)
{
    auto dir = freshProgramFolder();
    TSpecifyFieldLengths dlg(defaultFieldLengths());
    dlg.show();
    QLineEdit* zip = dlg.box("ZIP");
    for (const char* bad : {"9", "81", "x"}) {
        zip->setText(bad);
        emit zip->editingFinished();
        EXPECT_EQ(zip->text(), "10") << bad;
    }
    for (const char* good : {"10", "80"}) {
        zip->setText(good);
        emit zip->editingFinished();
        EXPECT_EQ(zip->text(), good);
    }
    dlg.findChild<QPushButton*>("Defaults")->click();
    EXPECT_EQ(dlg.box("FAX")->text(), "30");
    zip->setText("9");
    emit zip->editingFinished();
    EXPECT_EQ(zip->text(), "10");
    zip->setText("25");
    dlg.findChild<QCheckBox*>("UseForAll")->setChecked(true);
    dlg.accept();
    EXPECT_EQ(dlg.lengths().value("ZIP"), 25);
    EXPECT_EQ(dlg.lengths().value("FAX"), 30);
    EXPECT_EQ(Settings().readInteger("NewFileFieldLengths", "FieldZIP", 0), 25);
}

TEST(PreferencesWindow, OkWritesEveryKeyAndCancelNothing)
{
    auto dir = freshProgramFolder();
    {
        TPreferences dlg;
        EXPECT_EQ(dlg.findChild<QComboBox*>("AggressiveSave")->currentIndex(), 1);
        dlg.findChild<QCheckBox*>("CarryCountry")->setChecked(true);
        dlg.reject();
        EXPECT_FALSE(Settings().hasKey("Adding", "CarryCountry"));
    }
    {
        TPreferences dlg;
        dlg.findChild<QCheckBox*>("Skiptitle")->setChecked(true);
        dlg.findChild<QLineEdit*>("DefaultCountry")->setText("Norway");
        dlg.findChild<QComboBox*>("AggressiveSave")->setCurrentIndex(2);
        dlg.accept();
    }
    Settings s;
    EXPECT_TRUE(s.readBool("Adding", "Skiptitle", false));
    EXPECT_TRUE(s.hasKey("Adding", "SkipfirstName"));
    EXPECT_TRUE(s.hasKey("Adding", "CarryZip"));
    EXPECT_EQ(s.readString("Adding", "DefaultCountry"), "Norway");
    EXPECT_EQ(s.readInteger("Editing", "AggressiveSave", 0), 2);
    const Preferences p = Preferences::load(s);
    EXPECT_EQ(skippedFields(p), QStringList({"TITLE"}));
    s.writeString("Editing", "AggressiveSave", "0x2");
    EXPECT_EQ(Preferences::load(s).aggressiveSave, 2);
}

TEST(SelectDateWindow, StartsAtTheRecordDateAndSteps)
{
    TSelectDate dlg(QDate(2024, 2, 29));
    EXPECT_EQ(dlg.windowTitle(), "Select a Date");
    EXPECT_EQ(dlg.date(), QDate(2024, 2, 29));
    dlg.findChild<QPushButton*>("YearForward")->click();
    EXPECT_EQ(dlg.date(), QDate(2025, 2, 28));
    dlg.findChild<QPushButton*>("MonthBack")->click();
    EXPECT_EQ(dlg.date(), QDate(2025, 1, 28));
    dlg.findChild<QPushButton*>("NoDate")->click();
    EXPECT_EQ(dlg.result(), TSelectDate::NoDate);
}

TEST(Rebuild, RebuildWindowPacksDeletedRecordsAndTheOrderComesBack)
{
    auto dir = freshProgramFolder();
    makeStartBook(people());
    BookUi ui;
    AddressBookController c(ui);
    c.startUp();
    c.first();
    ASSERT_TRUE(c.deleteRecord());
    EXPECT_EQ(c.table().recordCount(), 3u);
    c.setOrderTo("&State");
    c.rebuildIndexes();
    EXPECT_EQ(ui.rebuilds, 1);
    EXPECT_EQ(c.table().recordCount(), 2u);
    EXPECT_EQ(c.table().order(), "STATE");
    EXPECT_TRUE(CheckValidIndex(c.table()));

    c.shutDown();
    c.rebuildIndexes();
    EXPECT_EQ(ui.messages.last(), "You need to have a database file open first");
}

// The introduction keeps all its lines once the status line and the bar appear.
TEST(Rebuild, IntroductionStaysWholeWhenTheProgressAppears)
{
    auto dir = freshProgramFolder();
    const QString path = makeStartBook(people());
    AddressTable table;
    ASSERT_TRUE(table.open(path));
    TPVReindex dlg(table);
    dlg.show();
    QApplication::processEvents();
    auto* intro = dlg.findChild<QLabel*>("Intro");
    ASSERT_NE(intro, nullptr);
    auto* status = dlg.findChild<QLabel*>("Status");
    status->setText("Rebuilding the index of Last Name");
    status->show();
    dlg.findChild<QWidget*>("Progress")->show();
    QApplication::processEvents();
    EXPECT_GE(intro->height(), intro->heightForWidth(intro->width()));
}

TEST(Help, TopicsLinksAndSearch)
{
    EXPECT_EQ(gettingStartedLinkTopic("new"), help::NewDatabase);
    EXPECT_EQ(gettingStartedLinkTopic("Frequently Asked Questions"), help::Faq);
    EXPECT_EQ(gettingStartedLinkTopic("nothing"), 0);
    for (int id : {int(help::Adding), int(help::Filter), int(help::Tagging), int(help::RebuildIndexes), int(help::Preferences)})
        EXPECT_NE(findHelpTopic(id), nullptr) << id;
    EXPECT_FALSE(searchHelp("filter").isEmpty());
    // Every link of every topic leads to a topic that exists.
    QRegularExpression link("topic:(\\d+)");
    for (const HelpTopic& t : helpTopics())
        for (auto it = link.globalMatch(t.html); it.hasNext();)
            EXPECT_NE(findHelpTopic(it.next().captured(1).toInt()), nullptr) << t.id;
    // The getting-started page's links all lead somewhere.
    QRegularExpression startLink("href='(start:[^']+)'");
    int links = 0;
    for (auto it = startLink.globalMatch(TGettingStarted::pageHtml()); it.hasNext(); ++links)
        EXPECT_NE(gettingStartedLinkTopic(QUrl(it.next().captured(1)).path(QUrl::FullyDecoded)), 0);
    EXPECT_EQ(links, 9);
    installHelpWindow();
    showHelpTopic(help::Filter);
    auto* w = qobject_cast<THelpWindow*>([] {
        for (QWidget* t : QApplication::topLevelWidgets())
            if (t->objectName() == "THelpWindow" && t->isVisible())
                return t;
        return static_cast<QWidget*>(nullptr);
    }());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->currentTopic(), help::Filter);
    w->close();
}

TEST(NewRecordWindow, ZipOnlyAndPgDnActsAsOk)
{
    NewRecordPrompt p;
    p.askZip = true;
    p.zipWidth = 5;
    TNewRecordPrompt dlg(p);
    EXPECT_EQ(dlg.windowTitle(), "New Record");
    EXPECT_TRUE(dlg.lastBox()->isHidden());
    EXPECT_TRUE(dlg.firstBox()->isHidden());
    dlg.show();
    QTest::keyClicks(dlg.zipBox(), "k1a0b1");
    QTest::keyClick(dlg.zipBox(), Qt::Key_PageDown);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.answer().zip, "k1a0b");  // at most the width of ZIP
    EXPECT_EQ(dlg.answer().last, "");
}
