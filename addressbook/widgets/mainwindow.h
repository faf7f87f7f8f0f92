#pragma once
// The main window: the address book the user lives in. It shows the state of its controller
// (every rule lives there) and forwards the user's commands to it.

#include "addressbookcontroller.h"

#include <QMainWindow>
#include <QMap>

#include <functional>
#include <utility>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QToolBar;
class QToolButton;

namespace postavo {

class TRecordEdit;

// Every command of the main window. Menus, tool bar and buttons are built from tables of these;
// a command whose window is not part of the program yet has no handler and is not shown.
enum class Command {
    NewDatabase, OpenDatabase, Browse, Search, ImportDbf, ImportAscii, ImportV1, ImportV2, Export,
    SetFilter, ClearFilter, SaveFilter, RestoreFilter, ClearTags, TagAll, Rebuild, RebuildSystem,
    Preferences, Exit, Undo, Cut, Copy, Paste, First, Prior, Next, Last, Add, Edit, Delete, Clone,
    CopyToClipboard, CountZip, CheckStateZip, CheckDuplicates, ConvertCase, DeleteRecords,
    SearchReplace, PrintLabels, PrintLetters, PrintEnvelopes, PrintReports, PrintCurrent, Website,
    HelpContents, GettingStarted, About, HelpSearch, HowToUseHelp, Save, Cancel, DialPhone1,
    DialPhone2, SearchMemo, FindNext,
};

class TAddressMain : public QMainWindow, private AddressBookUi {
    Q_OBJECT
public:
    static constexpr const char* kClassName = "TAddressMain";

    explicit TAddressMain(QWidget* parent = nullptr);
    ~TAddressMain() override;

    // Brings the window to the front, restored if it was minimised (a second copy asked).
    void bringToFront();
    bool firstActivationDone() const { return activated_; }

    AddressBookController& controller() { return *controller_; }

    // ---- operations other windows use
    void setButtons();
    void updateFilterStatus();
    void setCurrentOrder(const QString& tag) { controller_->setCurrentOrder(tag); }
    bool setOrderTo(const QString& caption) { return controller_->setOrderTo(caption); }
    QString getDatabasePath() const { return controller_->getDatabasePath(); }
    void setExtraFields(bool on) { controller_->setExtraFields(on); }
    // Cleared while another window works on the address table.
    void setUpdatesFlag(bool on);

    // Runs a window that works on the address table (print, utility, import and export windows):
    // the main window stops redrawing while it is open; afterwards a print window leaves the
    // record that was current, and a utility gets the order and filter re-applied. Posts made
    // meanwhile do not close and reopen the file under the window's feet.
    enum class WorkKind { Print, Utility };
    void runWorkWindow(WorkKind kind, const std::function<void()>& open);

    // Later parts of the program bring their commands here.
    void setCommandHandler(Command c, std::function<void()> handler);
    bool hasCommand(Command c) const { return handlers_.contains(c); }
    QAction* action(Command c) const { return actions_.value(c); }
    void run(Command c);

    // "Find Next" is shown while the last memo search found a record; opening a file hides it.
    void setFindNextShown(bool on);
    bool findNextShown() const { return findNextShown_; }

    // Tests answer the questions and messages instead of the message boxes.
    void setUiOverride(AddressBookUi* ui) { override_ = ui; }

    // ---- read by tests and screenshots
    QString sortStatusText() const;
    QString filterStatusText() const;
    bool filterStatusShown() const;
    TRecordEdit* fieldEdit(const QString& field) const { return edits_.value(field); }
    QPlainTextEdit* memoEditor() const { return memo_; }
    bool emptyPanelShown() const;
    QPushButton* button(Command c) const { return buttons_.value(c); }
    QMap<QString, QString> fieldCaptions() const;

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    // AddressBookUi
    void showInformation(const QString& text) override;
    bool askYesNo(const QString& text, const QString& caption) override;
    bool askYesNoDefaultNo(const QString& text, const QString& caption) override;
    void rebuildIndexes(AddressTable& table) override;
    void beep() override;
    std::optional<NewRecordAnswer> askNewRecord(const NewRecordPrompt& prompt) override;
    void setBusy(bool on) override;
    void showWarning(const QString& text) override;
    // Characters the file cannot hold were stopped where they were typed or pasted.
    void noteRefusedCharacters(const QStringList& characters);

    void formActivate();
    void buildMenus();
    void buildToolBar();
    // The record form: the name panel over the address and memo tabs, with the button bar.
    void buildForm();
    void buildEmptyPanel();
    QWidget* buildNamePanel(QWidget* form);
    QWidget* buildAddressTab(QWidget* tabs);
    QWidget* buildMemoTab(QWidget* tabs);
    // A record field with its caption, in typing order.
    std::pair<QLabel*, TRecordEdit*> addFieldEdit(const char* field, const char* caption, const char* help,
                                                  QWidget* parent);
    void buildButtonBar();
    void installHandlers();
    void showRecord();
    void showMemo();
    void showTypingMode();
    void fileChanged();
    void orderChanged();
    void updateMenuMRUList();
    void applyTypingOrder();
    void restoreTypingOrder();
    void focusNextField(QWidget* from);
    bool handleWindowKey(QKeyEvent* k, QObject* target);

    // commands
    void newDatabase();
    void openDatabase();
    void setFilter();
    void saveFilter();
    void restoreFilter();
    void tagAll();
    void selectDate();

    AddressBookController* controller_ = nullptr;
    AddressBookUi* override_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QLabel* emptyPanel_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QMap<QString, TRecordEdit*> edits_;
    QMap<QString, QLabel*> labels_;
    QList<QWidget*> typingOrder_;
    QLineEdit* dateField_ = nullptr;
    QCheckBox* tagged_ = nullptr;
    QPlainTextEdit* memo_ = nullptr;
    QLabel* sortStatus_ = nullptr;
    QLabel* filterStatus_ = nullptr;
    QLabel* modeStatus_ = nullptr;
    QLabel* typingMode_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* sortMenu_ = nullptr;
    QAction* mruSeparator_ = nullptr;
    QList<QAction*> mruActions_;
    QMap<QString, QMenu*> menus_;
    QMap<Command, QAction*> actions_;
    QMap<Command, QPushButton*> buttons_;
    QMap<Command, QToolButton*> toolButtons_;
    QMap<Command, std::function<void()>> handlers_;
    QList<QAction*> sortActions_;
    bool activated_ = false;
    bool updatesFlag_ = true;
    bool loadingRecord_ = false;
    bool findNextShown_ = false;
};

} // namespace postavo
