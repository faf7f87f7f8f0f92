#pragma once
// The address book's rules without a window: opening files, availability, sort orders,
// navigation, the window keys, adding, editing, saving, cancelling, deleting, cloning, the
// date and the tag, aggressive saving, and the filter and tag commands. The main window only
// shows this state and forwards the user's commands; tests drive it directly.

#include "addressfile.h"
#include "availability.h"
#include "filterops.h"
#include "filters.h"
#include "preferences.h"

#include <QDate>
#include <QObject>

#include <functional>
#include <optional>

namespace postavo {

class Settings;

// What the "New Record" window asks for.
struct NewRecordPrompt {
    bool askNames = false;  // "Last Name" and "First Name"
    bool askZip = false;    // "Zip or Postal Code"
    int lastWidth = 30, firstWidth = 30, zipWidth = 10;
};
struct NewRecordAnswer {
    QString last, first, zip;
};

// The questions and messages of the editing rules; the window implements it, tests answer.
class AddressBookUi : public AddressFileUi {
public:
    virtual void beep() = 0;
    virtual bool askYesNoDefaultNo(const QString& text, const QString& caption) = 0;
    // Empty when the user cancels.
    virtual std::optional<NewRecordAnswer> askNewRecord(const NewRecordPrompt& prompt) = 0;
    virtual void setBusy(bool on) { (void)on; }
    // Something done that the user should know went only partly well (caption "Warning").
    virtual void showWarning(const QString& text) { showInformation(text); }
};

// The keys the window handles whatever field has the focus.
enum class WindowKey { PageDown, CtrlPageDown, PageUp, CtrlPageUp, CtrlEnter, AltEnter, Escape, EscapeInMemo };

class AddressBookController : public QObject {
    Q_OBJECT
public:
    explicit AddressBookController(AddressBookUi& ui, QObject* parent = nullptr);
    ~AddressBookController() override;

    AddressTable& table() { return table_; }
    const AddressTable& table() const { return table_; }

    // ---- start-up and shut-down
    // Clears the filter, loads the preferences, opens the most recent file (or DATA/add0001.DBF,
    // created when missing) and applies the filter. True when the getting-started screen is due.
    bool startUp();
    // Cancels a pending edit (not saved) and closes the file.
    void shutDown();

    // ---- files
    bool openFile(const QString& path);    // the window's one way of opening (OpenPVWDBF)
    bool openRecent(const QString& path);  // reopens the previous file when this one fails
    // "Create new database": false when it exists (message shown) or could not be made.
    bool createDatabase(const QString& name, const FieldLengths& lengths);
    QString currentPath() const { return currentPath_; }
    QString caption() const;
    QString getDatabasePath() const;  // folder of the open file with a trailing '/'
    // Runs the rebuild window for the open file, then restores order and filter.
    void rebuildIndexes();

    // ---- preferences (sections Adding, Editing, Misc) and the tag id
    void loadPreferences();
    const Preferences& preferences() const { return prefs_; }
    QString tagId() const { return tagId_; }

    // ---- state shown by the window
    bool isOpen() const { return table_.isOpen(); }
    bool editing() const { return table_.editing(); }
    bool adding() const { return table_.state() == TableState::Insert; }
    bool hasRecord() const { return table_.hasRecord(); }
    bool filterSet() const;
    Availability availability() const;  // what the window's setButtons shows
    std::optional<QString> filterStatus();  // what updateFilterStatus shows; empty = hidden
    quint32 visibleCount();
    QString sortCaption() const { return sortCaption_; }
    QString sortStatus() const;
    QString currentOrder() const { return currentOrder_; }

    // ---- sort orders
    bool setOrderTo(const QString& caption);  // a "&Sort" menu caption
    void setCurrentOrder(const QString& tagName);
    void setExtraFields(bool on) { table_.setExtraFields(on); }

    // ---- moving
    void first();
    void previous();  // beeps before the first
    void next();      // beeps past the last
    void last();
    void goTo(quint32 recno);
    bool handleKey(WindowKey key);
    // The window's beep and message, for the rules of other windows.
    void beep() { ui_.beep(); }
    void showInformation(const QString& text) { ui_.showInformation(text); }

    // ---- editing
    bool startEdit();
    bool add();
    bool save();
    void cancel();
    bool deleteRecord();
    bool cloneRecord();
    // Stores a date (an invalid date stores a blank), entering edit mode first.
    bool setDate(const QDate& date);
    bool toggleTag();
    bool setFieldValue(const QString& field, const QString& text);
    QString fieldValue(const QString& field) const { return table_.value(field); }
    // The memo editor's text: loaded from MEMO as each record becomes current while browsing.
    QString memoText() const { return memo_; }
    void setMemoText(const QString& text);
    // Typing order while adding: the skipped fields and where the cursor starts.
    QStringList skippedFields() const { return skipping_ ? postavo::skippedFields(prefs_) : QStringList(); }
    QString addFocusField() const { return addFocus_; }
    void setToday(std::function<QDate()> today) { today_ = std::move(today); }

    // ---- lookups while adding
    struct CityState {
        bool found = false;
        QString city, state;
    };
    CityState fillCityState(const QString& zip);
    // True when adding may go on (no duplicate, or the user said Yes).
    bool checkDupName(const QString& last, const QString& first);

    // ---- aggressive saving
    // One post by the window's own commands; `onDisk` when that post already waited for the disk.
    void noteSave(bool onDisk = false);
    int saveCounter() const { return saveCounter_; }
    int flushCount() const { return flushes_; }
    // A pass that walks its own set of records (tag all, utilities, imports): the disk flush
    // waits until the pass ends, so the pass keeps its records, order and filter.
    void beginPass();
    void endPass();
    // Tests: make the next flush fail to reach the disk, so the reopen path runs.
    void setFlushFailsForTest(int times) { failFlushes_ = times; }

    // ---- filter and tags
    const QueryValues& query() const { return query_; }
    void setQuery(const QueryValues& q) { query_ = q; }
    quint32 applyFilter();  // ApplyFilter
    // The filter window's "Test": copies the boxes in, applies, goes to the first record and
    // returns the line the window shows.
    QString testFilter(const QueryValues& boxes);
    void clearFilter();
    // The name a filter is saved under: ".FLT" appended when there is no extension; empty with
    // `error` set when another extension was given.
    static QString filterSavePath(const QString& chosen, QString* error);
    bool saveFilter(const QString& path);
    bool restoreFilter(const QString& path);
    void clearTags();
    TagAllResult tagAll(const std::function<bool(quint32)>& step = {});

signals:
    void fileChanged();          // opened, closed or reopened; caption and MRU list may change
    void stateChanged();         // availability and status line need recomputing
    void recordChanged();        // the current record or its values changed
    void memoChanged();          // the memo editor's text was reloaded
    void orderChanged();         // sort caption and check marks
    void addStarted();           // show the address tab, apply the typing order, focus
    void typingOrderRestored();  // the add ended

private:
    void fileOpened(bool ok);
    void afterPost();  // filter re-applied when it matches nothing
    void reloadMemo();
    void endAdd();
    bool flush(bool onDisk = false);
    bool flushDueAfterNextSave() const;
    bool reopen();
    Settings settings() const;

    AddressBookUi& ui_;
    AddressTable table_;
    Preferences prefs_;
    QueryValues query_;
    QString tagId_;
    QString currentPath_;
    QString currentOrder_;
    QString sortCaption_;
    QString memo_;
    bool skipping_ = false;
    QString addFocus_;
    int saveCounter_ = 0;
    int flushes_ = 0;
    int passDepth_ = 0;
    bool flushPending_ = false;
    int failFlushes_ = 0;
    std::optional<quint32> visible_;
    std::function<QDate()> today_;
};

} // namespace postavo
