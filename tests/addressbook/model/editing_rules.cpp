// The editing rules: adding with the prompt, carry-over, default country, lookups, saving,
// memo lengths, deleting, cloning, tagging and aggressive saving, driven without a window.
#include "addressbookcontroller.h"
#include "engine/write_faults.h"
#include "mainwindowsetup.h"
#include "programfolder.h"
#include "settings.h"

#include <QFile>
#include <gtest/gtest.h>

#include <cerrno>

using namespace postavo;
using namespace postavo::testing;

namespace {

struct Book {
    std::unique_ptr<QTemporaryDir> dir = freshProgramFolder();
    BookUi ui;
    std::unique_ptr<AddressBookController> c;
    QString path;

    explicit Book(const QVector<Row>& rows, const QMap<QString, QString>& adding = {})
    {
        path = makeStartBook(rows);
        setSetting("Misc", "GettingStarted", "1");
        for (auto it = adding.cbegin(); it != adding.cend(); ++it)
            setSetting(it.key() == "AggressiveSave" ? "Editing" : "Adding", it.key().toLatin1().constData(), it.value());
        c = std::make_unique<AddressBookController>(ui);
        c->setToday([] { return QDate(2026, 3, 14); });
        c->startUp();
    }
    QString v(const char* f) const { return c->fieldValue(QString::fromLatin1(f)); }
};

QVector<Row> people()
{
    return {
        {{"LNAME", "Adams"}, {"FNAME", "Ann"}, {"CITY", "Toronto"}, {"STATE", "ON"}, {"ZIP", "M5V 2T6"}, {"COUNTRY", "Canada"}, {"ORG", "Acme"}, {"STREET", "1 King St"}},
        {{"LNAME", "miller"}, {"FNAME", "anne"}, {"STREET", "9 Elm"}, {"CITY", "Boston"}, {"STATE", "MA"}, {"ZIP", "02110"}},
        {{"LNAME", "Young"}, {"FNAME", "Zed"}, {"CITY", "Denver"}, {"STATE", "CO"}, {"ZIP", "80202"}, {"COUNTRY", "USA"}},
    };
}

} // namespace

TEST(Adding, WithBothPromptsOffInsertsAtOnceWithoutTheNewRecordWindow)
{
    Book b(people());
    ASSERT_TRUE(b.c->add());
    EXPECT_EQ(b.ui.prompts, 0);
    EXPECT_TRUE(b.c->adding());
    EXPECT_EQ(b.c->addFocusField(), "LNAME");
    b.c->setFieldValue("LNAME", "Brown");
    ASSERT_TRUE(b.c->save());
    EXPECT_FALSE(b.c->editing());
    EXPECT_EQ(b.v("LNAME"), "Brown");
    EXPECT_EQ(b.c->visibleCount(), 4u);
}

TEST(Adding, PromptCancelAddsNothing)
{
    Book b(people(), {{"AutoDupCheck", "1"}});
    b.ui.newRecord.reset();
    EXPECT_FALSE(b.c->add());
    EXPECT_EQ(b.ui.prompts, 1);
    EXPECT_TRUE(b.ui.lastPrompt.askNames);
    EXPECT_FALSE(b.ui.lastPrompt.askZip);
    EXPECT_FALSE(b.c->editing());
    EXPECT_EQ(b.c->visibleCount(), 3u);
}

TEST(Adding, LowerCasePostalCodeFindsTheCityStoredInCapitals)
{
    Book b(people(), {{"PlugCityState", "1"}});
    b.c->last();
    const quint32 before = b.c->table().recNo();
    b.ui.newRecord = NewRecordAnswer{{}, {}, "m5v"};
    ASSERT_TRUE(b.c->add());
    EXPECT_EQ(b.ui.lastPrompt.zipWidth, 10);
    EXPECT_EQ(b.v("ZIP"), "m5v");
    EXPECT_EQ(b.v("CITY"), "Toronto");
    EXPECT_EQ(b.v("STATE"), "ON");
    b.c->cancel();
    // The lookup left order, filter and record as they were.
    EXPECT_EQ(b.c->table().order(), "LNAME");
    EXPECT_EQ(b.c->table().recNo(), before);
}

TEST(Adding, UnknownZipLeavesCityToCarryOver)
{
    Book b(people(), {{"PlugCityState", "1"}, {"CarryCity", "1"}});
    b.c->first();  // Adams, Toronto
    b.ui.newRecord = NewRecordAnswer{{}, {}, "99999"};
    ASSERT_TRUE(b.c->add());
    EXPECT_EQ(b.v("CITY"), "Toronto");
    EXPECT_EQ(b.v("STATE"), "");
}

TEST(Adding, DuplicateNameDeclinedMakesTheExistingRecordCurrentAndAddsNothing)
{
    Book b(people(), {{"AutoDupCheck", "1"}});
    b.c->last();  // Young
    b.ui.newRecord = NewRecordAnswer{"Miller", "Anne", {}};
    b.ui.answer = [](const QString& caption, const QString&) { return caption != "Possible Duplicate"; };
    EXPECT_FALSE(b.c->add());
    EXPECT_EQ(b.ui.beeps, 1);
    ASSERT_EQ(b.ui.questions.size(), 1);
    EXPECT_EQ(b.ui.questions[0],
              "Possible Duplicate: Possible duplicate: \r\n\r\nanne miller\r\n9 Elm\r\nBoston,MA 02110\r\n\r\nContinue adding?");
    EXPECT_FALSE(b.c->editing());
    EXPECT_EQ(b.v("LNAME"), "miller");
    EXPECT_EQ(b.c->visibleCount(), 3u);
}

TEST(Adding, DuplicateNameAcceptedGoesOnFromTheRecordOnScreen)
{
    Book b(people(), {{"AutoDupCheck", "1"}, {"CarryOrg", "1"}});
    b.c->first();  // Adams, org Acme
    b.ui.newRecord = NewRecordAnswer{"MILLER", "ANNE", {}};
    ASSERT_TRUE(b.c->add());
    EXPECT_EQ(b.ui.questions.size(), 1);
    EXPECT_EQ(b.v("LNAME"), "MILLER");
    EXPECT_EQ(b.v("ORG"), "Acme");
    // Only a last name: no duplicate check.
    b.c->cancel();
    b.ui.questions.clear();
    b.ui.newRecord = NewRecordAnswer{"Miller", "", {}};
    ASSERT_TRUE(b.c->add());
    EXPECT_TRUE(b.ui.questions.isEmpty());
    EXPECT_EQ(b.c->addFocusField(), "FNAME");
}

TEST(Adding, DefaultCountryWinsWhenCountryIsNotCarried)
{
    Book b(people(), {{"DefaultCountry", "Norway"}});
    b.c->first();  // Canada on screen
    ASSERT_TRUE(b.c->add());
    EXPECT_EQ(b.v("COUNTRY"), "Norway");
    b.c->cancel();

    Book carried(people(), {{"DefaultCountry", "Norway"}, {"CarryCountry", "1"}});
    carried.c->first();
    ASSERT_TRUE(carried.c->add());
    EXPECT_EQ(carried.v("COUNTRY"), "Canada");
}

TEST(Adding, CarryOverTodaySkipsAndFocus)
{
    Book b(people(), {{"CarrySA1", "1"}, {"CarryZip", "1"}, {"CarryState", "1"}, {"PlugDate", "1"},
                      {"SkipLastName", "1"}, {"SkipfirstName", "1"}, {"SkipMiddleInitial", "1"}, {"SkipPrefix", "1"}});
    b.c->first();
    ASSERT_TRUE(b.c->add());
    EXPECT_EQ(b.v("STREET"), "1 King St");
    EXPECT_EQ(b.v("ZIP"), "M5V 2T6");
    EXPECT_EQ(b.v("STATE"), "ON");
    EXPECT_EQ(b.v("CITY"), "");
    EXPECT_EQ(b.v("ORG"), "");
    EXPECT_EQ(b.v("DATE"), "20260314");
    EXPECT_EQ(b.c->addFocusField(), "TITLE");
    EXPECT_EQ(b.c->skippedFields(), QStringList({"LNAME", "FNAME", "MIDDLE", "PREFIX"}));
    b.c->cancel();
    EXPECT_TRUE(b.c->skippedFields().isEmpty());  // the typing order is whole again
    EXPECT_EQ(b.c->visibleCount(), 3u);           // the added record disappeared
}

TEST(Saving, MemoOfFourCharactersGetsATrailingBlankAndFiveStaysAsItIs)
{
    Book b(people());
    b.c->first();
    ASSERT_TRUE(b.c->startEdit());
    b.c->setMemoText("abcd");
    ASSERT_TRUE(b.c->save());
    EXPECT_EQ(b.c->table().memo(), "abcd ");
    ASSERT_TRUE(b.c->startEdit());
    b.c->setMemoText("abcde");
    ASSERT_TRUE(b.c->save());
    EXPECT_EQ(b.c->table().memo(), "abcde");
    // Line breaks count as the two characters the file keeps: "a\nb" is 4 stored characters.
    ASSERT_TRUE(b.c->startEdit());
    b.c->setMemoText("a\nb");
    ASSERT_TRUE(b.c->save());
    EXPECT_EQ(b.c->table().memo(), "a\r\nb ");
    EXPECT_EQ(b.c->memoText(), "a\nb ");
}

TEST(Saving, MemoIsReloadedOnEveryRecordChange)
{
    Book b({{{"LNAME", "A"}, {"MEMO", "first memo"}}, {{"LNAME", "B"}}});
    b.c->first();
    EXPECT_EQ(b.c->memoText(), "first memo");
    b.c->next();
    EXPECT_EQ(b.c->memoText(), "");
}

// A save the disk refuses keeps the window in editing with the typing as it was; saving again
// stores the record once, and cancelling after a failure writes nothing.
TEST(Saving, AFailedSaveKeepsTheTypingThenSavesOnceOrCancelsCleanly)
{
    struct NoFaults {
        ~NoFaults() { engine::setWriteFaultHook({}); }
    } restore;
    auto fullDisk = [] {
        engine::setWriteFaultHook([](const std::string&, std::uint64_t, std::size_t) { return ENOSPC; });
    };
    Book b(people());

    // Adding: refused, still adding with the typing; the second save stores it once.
    ASSERT_TRUE(b.c->add());
    b.c->setFieldValue("LNAME", "Brown");
    b.c->setMemoText("a long enough memo");
    fullDisk();
    EXPECT_FALSE(b.c->save());
    ASSERT_EQ(b.ui.messages.size(), 1);
    EXPECT_TRUE(b.ui.messages[0].startsWith("The record could not be saved:\r\n")) << b.ui.messages[0].toStdString();
    EXPECT_TRUE(b.ui.messages[0].contains("save again, or cancel them"));
    EXPECT_TRUE(b.c->adding());
    EXPECT_EQ(b.v("LNAME"), "Brown");
    EXPECT_EQ(b.c->memoText(), "a long enough memo");
    engine::setWriteFaultHook({});
    ASSERT_TRUE(b.c->save());
    EXPECT_FALSE(b.c->editing());
    EXPECT_EQ(b.c->visibleCount(), 4u);
    EXPECT_EQ(b.c->table().recordCount(), 4u);

    // Editing: refused, then cancelled: the record is as it was before the edit.
    b.c->first();
    const QString city = b.v("CITY");
    ASSERT_TRUE(b.c->startEdit());
    b.c->setFieldValue("CITY", "Paris");
    fullDisk();
    EXPECT_FALSE(b.c->save());
    EXPECT_TRUE(b.c->editing());
    EXPECT_EQ(b.v("CITY"), "Paris");
    engine::setWriteFaultHook({});
    b.c->cancel();
    EXPECT_FALSE(b.c->editing());
    b.c->last();
    b.c->first();
    EXPECT_EQ(b.v("CITY"), city);
    EXPECT_EQ(b.c->table().recordCount(), 4u);
}

// Text the file cannot hold is never saved as '?': the save is refused naming the characters.
TEST(Saving, CharactersTheFileCannotHoldAreNamedNotReplaced)
{
    Book b(people());
    b.c->first();
    ASSERT_TRUE(b.c->startEdit());
    b.c->setFieldValue("LNAME", QStringLiteral("Łukasiewicz"));
    EXPECT_FALSE(b.c->save());
    ASSERT_FALSE(b.ui.messages.isEmpty());
    EXPECT_TRUE(b.ui.messages.last().contains(QStringLiteral("Ł (U+0141)"))) << b.ui.messages.last().toStdString();
    EXPECT_TRUE(b.c->editing());
    b.c->setFieldValue("LNAME", QStringLiteral("Lukasiewicz"));
    ASSERT_TRUE(b.c->save());
    EXPECT_EQ(b.v("LNAME"), "Lukasiewicz");
}

// Records another program left past the count the header gives are never cut by opening: the
// window says why the file did not open and what adopts them, and the file stays as it was.
TEST(Opening, RecordsPastTheCountAreReportedAndTheFileLeftAlone)
{
    Book b(people());
    const QString path = b.c->currentPath();
    b.c->shutDown();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray bytes = f.readAll();
    bytes[4] = char(bytes[4] - 1);  // the last record now lies past the count
    f.seek(0);
    f.write(bytes);
    f.close();

    EXPECT_FALSE(b.c->openFile(path));
    ASSERT_FALSE(b.ui.messages.isEmpty());
    EXPECT_TRUE(b.ui.messages.last().startsWith("Unable to open " + path)) << b.ui.messages.last().toStdString();
    EXPECT_TRUE(b.ui.messages.last().contains("1 whole records")) << b.ui.messages.last().toStdString();
    EXPECT_TRUE(b.ui.messages.last().contains("\"postavo-db recover\" adopts the whole records"));
    EXPECT_FALSE(b.c->isOpen());
    QFile again(path);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), bytes);
}

TEST(Keys, SaveCancelEscAndAltEnterPaths)
{
    Book b(people());
    b.c->first();
    // Esc answered No keeps editing; Yes drops the change.
    ASSERT_TRUE(b.c->startEdit());
    b.c->setFieldValue("CITY", "Paris");
    b.ui.answer = [](const QString&, const QString&) { return false; };
    b.c->handleKey(WindowKey::Escape);
    EXPECT_TRUE(b.c->editing());
    EXPECT_EQ(b.ui.questions.last(), "Cancel: Cancel changes?");
    b.ui.answer = [](const QString&, const QString&) { return true; };
    b.c->handleKey(WindowKey::Escape);
    EXPECT_FALSE(b.c->editing());
    EXPECT_EQ(b.v("CITY"), "Toronto");

    // Esc in the memo cancels without a question.
    ASSERT_TRUE(b.c->startEdit());
    const int asked = b.ui.questions.size();
    b.c->handleKey(WindowKey::EscapeInMemo);
    EXPECT_FALSE(b.c->editing());
    EXPECT_EQ(b.ui.questions.size(), asked);

    // PgDn while editing asks to save.
    ASSERT_TRUE(b.c->startEdit());
    b.c->setFieldValue("CITY", "Lyon");
    b.c->handleKey(WindowKey::PageDown);
    EXPECT_EQ(b.ui.questions.last(), "Save: Save changes?");
    EXPECT_FALSE(b.c->editing());
    EXPECT_EQ(b.v("CITY"), "Lyon");

    // Ctrl+Enter saves at once.
    ASSERT_TRUE(b.c->startEdit());
    b.c->setFieldValue("CITY", "Nice");
    b.c->handleKey(WindowKey::CtrlEnter);
    EXPECT_EQ(b.v("CITY"), "Nice");

    // Alt+Enter while adding saves and offers another; Yes starts the next add.
    ASSERT_TRUE(b.c->add());
    b.c->setFieldValue("LNAME", "Zulu");
    b.c->handleKey(WindowKey::AltEnter);
    EXPECT_EQ(b.ui.questions.last(), "Add: Add another record?");
    EXPECT_TRUE(b.c->adding());
    b.c->cancel();
    EXPECT_EQ(b.c->visibleCount(), 4u);
}

TEST(Deleting, TheOnlyFilterMatchDeletedDropsTheFilter)
{
    Book b(people());
    QueryValues q;
    q.values[0] = "Young";
    b.c->setQuery(q);
    EXPECT_EQ(b.c->applyFilter(), 1u);
    EXPECT_EQ(b.c->filterStatus(), std::optional<QString>("1 filter matches"));
    ASSERT_TRUE(b.c->deleteRecord());
    EXPECT_EQ(b.ui.questions.last(), "DELETE: Delete this record?");
    EXPECT_FALSE(b.c->filterSet());
    EXPECT_EQ(b.c->filterStatus(), std::optional<QString>("2 records (no filter)"));
    EXPECT_TRUE(b.c->hasRecord());
}

TEST(Deleting, DeclinedLeavesTheRecordAndMovesToThePreviousOnYes)
{
    Book b(people());
    b.c->last();
    b.ui.answer = [](const QString&, const QString&) { return false; };
    EXPECT_FALSE(b.c->deleteRecord());
    EXPECT_EQ(b.c->visibleCount(), 3u);
    b.ui.answer = [](const QString&, const QString&) { return true; };
    ASSERT_TRUE(b.c->deleteRecord());
    EXPECT_EQ(b.v("LNAME"), "miller");
    b.c->first();
    ASSERT_TRUE(b.c->deleteRecord());  // the first: there is no previous one
    EXPECT_EQ(b.v("LNAME"), "miller");
    EXPECT_EQ(b.c->visibleCount(), 1u);
}

TEST(Cloning, CloneOfATaggedRecordIsNotTaggedButCopiesTheMemo)
{
    Book b({{{"LNAME", "Tag"}, {"FNAME", "Me"}, {"DATE", "19991231"}, {"MEMO", "notes"}}});
    b.c->first();
    ASSERT_TRUE(b.c->toggleTag());
    EXPECT_TRUE(b.c->table().tagged());
    const quint32 original = b.c->table().recNo();
    ASSERT_TRUE(b.c->cloneRecord());
    EXPECT_EQ(b.ui.questions.last(), "Clone: Clone this record?");
    EXPECT_EQ(b.ui.messages.last(), "Clone completed. Current record is an exact copy");
    EXPECT_NE(b.c->table().recNo(), original);
    EXPECT_EQ(b.v("LNAME"), "Tag");
    EXPECT_EQ(b.v("DATE"), "19991231");
    EXPECT_EQ(b.c->table().memo(), "notes");
    EXPECT_FALSE(b.c->table().tagged());
    EXPECT_EQ(b.c->visibleCount(), 2u);
}

TEST(Tagging, ToggleWhileBrowsingPostsAndATaggedOnlyFilterIsDroppedWhenTheLastTagGoes)
{
    Book b(people());
    b.c->first();
    ASSERT_TRUE(b.c->toggleTag());
    QueryValues q;
    q.taggedOnly = true;
    b.c->setQuery(q);
    EXPECT_EQ(b.c->applyFilter(), 1u);
    ASSERT_TRUE(b.c->toggleTag());  // untagged: the filter matches nothing and is dropped
    EXPECT_FALSE(b.c->filterSet());
    EXPECT_EQ(b.c->visibleCount(), 3u);
}

TEST(Tagging, ToggleWhileEditingOnlyChangesTheValue)
{
    Book b(people());
    b.c->first();
    ASSERT_TRUE(b.c->startEdit());
    ASSERT_TRUE(b.c->toggleTag());
    EXPECT_TRUE(b.c->editing());
    EXPECT_TRUE(b.c->table().tagged());
    b.c->cancel();
    EXPECT_FALSE(b.c->table().tagged());
}

TEST(Dates, SelectADateStoresYyyymmddAndNoDateABlank)
{
    Book b(people());
    b.c->first();
    ASSERT_TRUE(b.c->setDate(QDate(2024, 2, 29)));
    EXPECT_TRUE(b.c->editing());  // storing puts the record into edit mode
    EXPECT_EQ(b.v("DATE"), "20240229");
    ASSERT_TRUE(b.c->save());
    ASSERT_TRUE(b.c->setDate(QDate()));
    EXPECT_EQ(b.v("DATE"), "");
}

TEST(AggressiveSaving, LevelOneFlushesEveryFifthSaveAndKeepsTheRecord)
{
    Book b(people(), {{"AggressiveSave", "1"}});
    b.c->first();
    b.c->next();
    const quint32 here = b.c->table().recNo();
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(b.c->startEdit());
        b.c->setFieldValue("USER1", QString::number(i));
        ASSERT_TRUE(b.c->save());
    }
    EXPECT_EQ(b.c->flushCount(), 0);
    ASSERT_TRUE(b.c->startEdit());
    ASSERT_TRUE(b.c->save());
    EXPECT_EQ(b.c->flushCount(), 1);
    EXPECT_EQ(b.c->saveCounter(), 0);
    EXPECT_EQ(b.c->table().recNo(), here);

    // When the disk refuses, the file is closed and opened again; the record stays.
    b.c->setFlushFailsForTest(1);
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(b.c->startEdit());
        ASSERT_TRUE(b.c->save());
    }
    EXPECT_TRUE(b.c->isOpen());
    EXPECT_EQ(b.c->table().recNo(), here);
    EXPECT_EQ(b.c->table().order(), "LNAME");
    EXPECT_TRUE(b.ui.messages.isEmpty());
}

TEST(AggressiveSaving, LevelTwoEveryPostAndNoneNever)
{
    Book high(people(), {{"AggressiveSave", "2"}});
    high.c->first();
    ASSERT_TRUE(high.c->toggleTag());
    EXPECT_EQ(high.c->flushCount(), 1);

    Book none(people(), {{"AggressiveSave", "0"}});
    none.c->first();
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(none.c->toggleTag());
    EXPECT_EQ(none.c->flushCount(), 0);
}

TEST(AggressiveSaving, APassDefersTheFlushUntilItEnds)
{
    Book b(people(), {{"AggressiveSave", "2"}});
    b.c->first();
    b.c->beginPass();
    ASSERT_TRUE(b.c->toggleTag());
    EXPECT_EQ(b.c->flushCount(), 0);
    b.c->endPass();
    EXPECT_EQ(b.c->flushCount(), 1);
}

TEST(ShutDown, ClosingWhileEditingDiscardsTheChanges)
{
    Book b(people());
    b.c->first();
    ASSERT_TRUE(b.c->startEdit());
    b.c->setFieldValue("LNAME", "Changed");
    b.c->shutDown();
    EXPECT_FALSE(b.c->isOpen());
    AddressTable t;
    ASSERT_TRUE(t.open(b.path));
    t.setOrder("LNAME");
    t.first();
    EXPECT_EQ(t.value("LNAME"), "Adams");
}
