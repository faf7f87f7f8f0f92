// The maintenance windows driven headless: their panels, questions, grids and results, and the
// files they leave behind (none).
#include "bulkeditwindows.h"
#include "duplicateswindow.h"
#include "statezipwindow.h"

#include "../model/support_maintenance.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>

using namespace postavo;
using namespace postavo::testing;

namespace {

// Answers the windows' questions from a script and remembers everything it was told.
struct ScriptUi : MaintenanceUi {
    QStringList told, asked;
    std::function<bool(const QString&)> answer = [](const QString&) { return true; };
    void showInformation(const QString& text) override { told << text; }
    bool askYesNo(const QString& text, const QString& caption) override
    {
        asked << caption + ": " + text;
        return answer(text);
    }
    bool askYesNoDefaultNo(const QString& text, const QString& caption) override { return askYesNo(text, caption); }
};

Rows people()
{
    return {person("Adams", "Ann", "12 Main Street", "NY", "10001"), person("Baker", "Bob", "12 Main St.", "NY", "16000"),
            person("Clark", "Cy", "7 Oak Ave", "ny", "10001"), person("Drake", "Di", "9 Elm", "OK", "73102")};
}

int rows(RecordGrid* g) { return g->model()->rowCount(); }
QString cell(RecordGrid* g, int row, const QString& column)
{
    TableModel* m = g->model();
    for (int c = 0; c < m->columnCount(); ++c)
        if (m->columnName(c).compare(column, Qt::CaseInsensitive) == 0)
            return m->data(m->index(row, c)).toString();
    return {};
}

TEST(StateZipWindow, ListsTheQuestionableRecordsTagsThemAndLeavesNoIndexBehind)
{
    const QString path = addressFile("statezip", people());
    const QString sysdata = shippedSysdata("statezip");
    AddressTable t;
    openAsWindowsDo(t, path);
    ScriptUi ui;
    const QString index = QFileInfo(path).absolutePath() + "/_chksz.idx";
    {
        TStateZipCheckWindow w(t, ui, sysdata);
        EXPECT_FALSE(w.blankBox()->isChecked());
        w.performCheck();
        EXPECT_TRUE(w.resultsShown());
        EXPECT_EQ(w.countText(), QStringLiteral("Found 2 records with questionable state or zipcodes"));
        ASSERT_EQ(rows(w.resultGrid()), 2);
        EXPECT_EQ(cell(w.resultGrid(), 0, "LNAME"), "Baker");
        EXPECT_EQ(cell(w.resultGrid(), 1, "LNAME"), "Clark");
        EXPECT_TRUE(QFile::exists(index));
        w.tagAll();
        EXPECT_EQ(ui.asked.last(), "TAG ALL: Tag all records with questionable state or zipcodes?");
        EXPECT_EQ(cell(w.resultGrid(), 0, "Tagged"), "Yes");
        EXPECT_EQ(cell(w.resultGrid(), 1, "Tagged"), "Yes");
        w.resultGrid()->selectRecord(3);
        w.tagCurrent();
        EXPECT_EQ(cell(w.resultGrid(), 1, "Tagged"), "No");
        w.reject();
        EXPECT_FALSE(QFile::exists(index));
    }
    EXPECT_EQ(value(t, 4, "TAG"), "") << "a record that passed is not tagged";
    EXPECT_EQ(value(t, 2, "TAG"), "TAG1");
}

TEST(StateZipWindow, TheStateTableIsEditedInItsOwnPanelAndTheCheckPanelComesBack)
{
    const QString path = addressFile("editcsz", people());
    const QString sysdata = shippedSysdata("editcsz");
    AddressTable t;
    openAsWindowsDo(t, path);
    ScriptUi ui;
    TStateZipCheckWindow w(t, ui, sysdata);
    w.editStateTable();
    ASSERT_TRUE(w.editingStateTable());
    EXPECT_GT(rows(w.stateGrid()), 60);
    EXPECT_EQ(w.stateGrid()->model()->headerData(1, Qt::Horizontal).toString(), "Abbreviation");
    w.editStateTable();  // "Stop Editing"
    EXPECT_FALSE(w.editingStateTable());
    QFile::remove(sysdata + "/CSZ.DBF");
    w.editStateTable();
    EXPECT_EQ(ui.told.last(), "Unable to open CSZ.DBF");
    EXPECT_FALSE(w.editingStateTable());
}

TEST(StateZipWindow, CancelAsksAndStopsWithTheRecordsFoundSoFarAndCloseWaits)
{
    Rows many;
    for (int i = 0; i < 2600; ++i)
        many.push_back(person(QStringLiteral("P%1").arg(i), "X", "1 Elm", "NY", "99999"));
    const QString path = addressFile("cancel", many);
    const QString sysdata = shippedSysdata("cancel");
    AddressTable t;
    openAsWindowsDo(t, path);
    ScriptUi ui;
    TStateZipCheckWindow w(t, ui, sysdata);
    bool closedWhileRunning = false;
    QTimer::singleShot(0, &w, [&] {
        w.reject();  // refused while the check runs
        closedWhileRunning = !w.check().running();
        w.cancelClicked();
    });
    w.performCheck();
    EXPECT_FALSE(closedWhileRunning);
    EXPECT_EQ(ui.asked.value(0), "Cancel: Cancel operation?");
    EXPECT_TRUE(w.check().outcome().cancelled);
    EXPECT_LT(rows(w.resultGrid()), 2600);
    EXPECT_GT(rows(w.resultGrid()), 0);
}

TEST(DuplicatesWindow, TheStreetCheckShowsTheStreetSecondAndDeletesFromTheGrid)
{
    const QString path = addressFile("street", people());
    const QString folder = scratchDir("street-program");
    AddressTable t;
    openAsWindowsDo(t, path);
    const QStringList order = t.fieldOrder();
    ScriptUi ui;
    {
        TDuplicatesWindow w(t, ui, folder);
        EXPECT_FALSE(w.streetChars()->isVisibleTo(&w));
        w.setKind(DuplicateKind::Street);
        EXPECT_TRUE(w.streetChars()->isVisibleTo(&w));
        w.setStreetChars(10);
        w.performCheck();
        ASSERT_TRUE(w.resultsShown());
        EXPECT_EQ(w.countText(), "Found 1 possible duplicates");
        EXPECT_EQ(w.resultGrid()->model()->columnName(1), "STREET");
        EXPECT_FALSE(w.pairList()->isVisibleTo(&w));
        ASSERT_EQ(rows(w.resultGrid()), 2);
        w.resultGrid()->selectRecord(2);
        w.deleteCurrent();
        EXPECT_EQ(ui.asked.last(), "DELETE: Delete this record?");
        EXPECT_EQ(rows(w.resultGrid()), 1);
        w.reject();
        EXPECT_FALSE(QFile::exists(folder + "/_chkdup.idx"));
    }
    EXPECT_EQ(t.fieldOrder(), order);
    ASSERT_TRUE(t.goTo(2));
    EXPECT_TRUE(t.logical("ISDEL"));
}

TEST(DuplicatesWindow, SimilarRecordsAreListedInPairsWithTheirScores)
{
    Rows rows_ = people();
    rows_.push_back(person("Addams", "Ann", "12 Main St", "NY", "10001"));
    const QString path = addressFile("similar", rows_);
    AddressTable t;
    openAsWindowsDo(t, path);
    ScriptUi ui;
    TDuplicatesWindow w(t, ui, scratchDir("similar-program"));
    w.setKind(DuplicateKind::Similar);
    w.performCheck();
    ASSERT_TRUE(w.resultsShown());
    ASSERT_TRUE(w.pairList()->isVisibleTo(&w));
    ASSERT_EQ(w.pairList()->rowCount(), 1);
    const double score = w.pairList()->item(0, 0)->text().toDouble();
    EXPECT_GT(score, 0.85);
    EXPECT_LT(score, 1.0);
    EXPECT_EQ(w.pairList()->item(0, 2)->text(), "Adams, Ann | 12 Main Street | 10001");
    w.pairList()->setCurrentCell(0, 4);
    EXPECT_EQ(w.resultGrid()->currentRecord(), 5u);
}

TEST(DuplicatesWindow, NothingFoundKeepsTheSetupPanel)
{
    const QString path = addressFile("nothing", people());
    AddressTable t;
    openAsWindowsDo(t, path);
    ScriptUi ui;
    TDuplicatesWindow w(t, ui, scratchDir("nothing-program"));
    w.performCheck();
    EXPECT_FALSE(w.resultsShown());
    EXPECT_EQ(w.countText(), "Found 0 possible duplicates");
}

TEST(ConvertCaseWindow, AsksFirstRefusesNoFieldsAndConvertsOnlyTheCurrentRecord)
{
    const QString path = addressFile("convert", people());
    AddressTable t;
    openAsWindowsDo(t, path);
    ASSERT_TRUE(t.goTo(3));
    ScriptUi ui;
    {
        TConvertCaseWindow w(t, ui, {});
        EXPECT_FALSE(w.scopeButton(TConvertCaseWindow::Scope::MatchingFilter)->isEnabled()) << "no filter is set";
        w.allBox()->click();  // clears every box
        w.convert();
        EXPECT_EQ(ui.told.value(0), "No fields checked for conversion");
        w.allBox()->click();
        ui.answer = [](const QString&) { return false; };
        w.convert();
        EXPECT_EQ(ui.asked.value(0), "Convert: Convert now? This process cannot be undone..");
        EXPECT_EQ(value(t, 3, "LNAME"), "Clark");
        ui.answer = [](const QString&) { return true; };
        w.convert();
        EXPECT_EQ(w.outcome().changed, 1u);
    }
    EXPECT_EQ(value(t, 3, "LNAME"), "CLARK");
    EXPECT_EQ(value(t, 3, "STREET"), "7 OAK AVE");
    EXPECT_EQ(value(t, 2, "LNAME"), "Baker");
    EXPECT_EQ(t.recNo(), 3u);
}

TEST(DeleteRecordsWindow, DeletesThoseNotMatchingTheFilterAndSaysHowMany)
{
    const QString path = addressFile("delete", people());
    AddressTable t;
    openAsWindowsDo(t, path);
    ScriptUi ui;
    {
        TDeleteRecordsWindow none(t, ui, {});
        EXPECT_FALSE(none.choiceButton(DeleteChoice::MatchingFilter)->isEnabled());
        EXPECT_FALSE(none.choiceButton(DeleteChoice::NotMatchingFilter)->isEnabled());
    }
    const QString filter = QStringLiteral("UPPER(STATE)=\"NY\"");
    ASSERT_TRUE(t.setFilter(filter));
    TDeleteRecordsWindow w(t, ui, filter);
    w.setChoice(DeleteChoice::NotMatchingFilter);
    w.deleteNow();
    EXPECT_EQ(ui.asked.value(0), "DELETE: Are you sure?");
    EXPECT_EQ(ui.told, (QStringList{"Deleted 1 records",
                                    "For optimum space usage, please select\r\n[Rebuild Indexes] from the File menu"}));
    ASSERT_TRUE(t.setFilter("!ISDEL"));
    EXPECT_EQ(t.visibleRecords(), (std::vector<quint32>{1, 2, 3}));
}

TEST(SearchReplaceWindow, TheBoxesFollowTheFieldsWidthAndAValueThatWouldNotFitIsNotCut)
{
    const QString path = addressFile("replace", people());
    AddressTable t;
    openAsWindowsDo(t, path);
    ScriptUi ui;
    TSearchReplaceWindow w(t, ui, {});
    EXPECT_FALSE(w.filterScope()->isEnabled());
    w.findBox()->setText(QString(30, 'x'));
    w.fieldList()->setCurrentIndex(w.fieldList()->findData("STATE"));
    EXPECT_EQ(w.findBox()->text().size(), 20) << "cut to the new width";
    EXPECT_EQ(w.findBox()->maxLength(), 20);
    ReplaceRequest r;
    r.field = "STREET";
    r.exact = false;
    r.wholeField = false;
    r.find = "Main";
    r.with = QString(35, 'M');
    w.setRequest(r);
    ui.answer = [](const QString& q) { return !q.contains("longer than"); };
    w.replace();
    EXPECT_TRUE(ui.asked.value(0).startsWith("Replace: Find records where field Address 1\rcontains: \"Main\""));
    EXPECT_TRUE(ui.asked.value(1).contains("2 of the 2 records found would get a value longer than Address 1 holds (40 characters)"));
    EXPECT_EQ(ui.told, QStringList{"Nothing was replaced."});
    EXPECT_EQ(value(t, 1, "STREET"), "12 Main Street");
}

TEST(SearchReplaceWindow, ReplacesAndReportsTheCount)
{
    const QString path = addressFile("replace2", people());
    AddressTable t;
    openAsWindowsDo(t, path);
    ScriptUi ui;
    TSearchReplaceWindow w(t, ui, {});
    ReplaceRequest r;
    r.field = "STATE";
    r.find = "NY";
    r.caseSensitive = false;
    r.with = "NY";
    w.setRequest(r);
    w.replace();
    EXPECT_EQ(ui.told, (QStringList{"Replaced 3 records", "Replacement done"}));
    EXPECT_EQ(value(t, 3, "STATE"), "NY");
}

} // namespace
