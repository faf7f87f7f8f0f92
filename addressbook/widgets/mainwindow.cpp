#include "mainwindow.h"

#include "addressfields.h"
#include "dialogkit.h"
#include "editdialogs.h"
#include "filterdialogs.h"
#include "helptopics.h"
#include "helpwindow.h"
#include "messageboxes.h"
#include "programfolder.h"
#include "recordedit.h"
#include "settings.h"
#include "storedialogs.h"
#include "textguard.h"
#include "typingmode.h"
#include "windowplacement.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWhatsThis>

namespace postavo {

namespace {

struct MenuEntry {
    const char* menu;      // menu path, "/" between levels
    const char* caption;   // nullptr: a separator
    const char* shortcut;  // "" for none
    Command command;
};

// The menus in the order they appear. Commands without a handler stay hidden.
const MenuEntry kMenu[] = {
    {"&File", "&New Address Database", "", Command::NewDatabase},
    {"&File", "&Open Address DataBase", "", Command::OpenDatabase},
    {"&File", nullptr, "", Command::Exit},
    {"&File", "&Browse", "Ctrl+B", Command::Browse},
    {"&File", "&Search", "Ctrl+S", Command::Search},
    {"&File/&Import", "Import from &DBF File", "", Command::ImportDbf},
    {"&File/&Import", "Import from &ASCII File", "", Command::ImportAscii},
    {"&File/&Import", "Import from Postavo 1.x DBF", "", Command::ImportV1},
    {"&File/&Import", "Import from Postavo 2.x DBF", "", Command::ImportV2},
    {"&File", "&Export ", "", Command::Export},
    {"&File", nullptr, "", Command::Exit},
    {"&File", "Set &Filter", "Ctrl+F", Command::SetFilter},
    {"&File", "&Clear Filter", "", Command::ClearFilter},
    {"&File", "&Save Filter", "", Command::SaveFilter},
    {"&File", "&Restore Filter", "", Command::RestoreFilter},
    {"&File", nullptr, "", Command::Exit},
    {"&File", "Clear &Tags", "", Command::ClearTags},
    {"&File", "&Tag All Filter Matches", "", Command::TagAll},
    {"&File", nullptr, "", Command::Exit},
    {"&File", "&Rebuild Indexes for this file", "", Command::Rebuild},
    {"&File", "Rebuild S&ystem File indexes", "", Command::RebuildSystem},
    {"&File", "Pre&ferences", "", Command::Preferences},
    {"&File", nullptr, "", Command::Exit},
    {"&File", "E&xit ", "", Command::Exit},
    {"Ed&it", "&Undo typing", "", Command::Undo},
    {"Ed&it", "Cu&t", "", Command::Cut},
    {"Ed&it", "&Copy", "", Command::Copy},
    {"Ed&it", "&Paste", "", Command::Paste},
    {"&Record", "&First", "Ctrl+Up", Command::First},
    {"&Record", "&Previous", "Ctrl+Left", Command::Prior},
    {"&Record", "&Next", "Ctrl+Right", Command::Next},
    {"&Record", "&Last", "Ctrl+Down", Command::Last},
    {"&Record", nullptr, "", Command::Exit},
    {"&Record", "&Add", "", Command::Add},
    {"&Record", "&Edit", "", Command::Edit},
    {"&Record", "&Delete", "", Command::Delete},
    {"&Record", "Create a Duplicate &Record (Clone)", "", Command::Clone},
    {"&Record", "Copy To &Clipboard", "", Command::CopyToClipboard},
    {"&Sort", nullptr, "", Command::Exit},  // filled with the sort orders
    {"&Utilities", "Count &Zip Codes", "", Command::CountZip},
    {"&Utilities", "Check && Repair &State and Zip Codes", "", Command::CheckStateZip},
    {"&Utilities", "Check && Repair &Duplicates", "", Command::CheckDuplicates},
    {"&Utilities", "Con&vert Case", "", Command::ConvertCase},
    {"&Utilities", "Delete &Records", "", Command::DeleteRecords},
    {"&Utilities", "&Search && Replace Field Values", "", Command::SearchReplace},
    {"&Print", "Print &Labels", "Ctrl+L", Command::PrintLabels},
    {"&Print", "Print Le&tters", "Ctrl+T", Command::PrintLetters},
    {"&Print", "Print &Envelopes", "Ctrl+E", Command::PrintEnvelopes},
    {"&Print", "Print &Reports", "Ctrl+R", Command::PrintReports},
    {"&Print", "Print C&urrent Record", "Ctrl+P", Command::PrintCurrent},
    {"Online", " Visit Our Internet Website", "", Command::Website},
    {"&Help", "&Contents", "F1", Command::HelpContents},
    {"&Help", "&Getting Started", "", Command::GettingStarted},
    {"&Help", "Search for Help On", "", Command::HelpSearch},
    {"&Help", "How to Use Help", "", Command::HowToUseHelp},
    {"&Help", nullptr, "", Command::Exit},
    {"&Help", "&About...", "", Command::About},
};

struct ToolEntry {
    const char* caption;
    const char* hint;
    Command command;
    QStyle::StandardPixmap icon;
};
const ToolEntry kTools[] = {
    {"Search", "Click here or press CTRL+S to search for a specific value", Command::Search, QStyle::SP_FileDialogContentsView},
    {"Browse", "Click here or press CTRL+B for a table view of the database", Command::Browse, QStyle::SP_FileDialogDetailedView},
    {"Filter", "Click here or press CTRL+F to set or change a filter", Command::SetFilter, QStyle::SP_FileDialogListView},
    {"Labels", "Click here or press CTRL+L to print/design labels", Command::PrintLabels, QStyle::SP_FileIcon},
    {"Letters", "Click here or press CTRL+T to print/design letters", Command::PrintLetters, QStyle::SP_FileIcon},
    {"Envelopes", "Click here or press CTRL+E to print/design envelopes", Command::PrintEnvelopes, QStyle::SP_FileIcon},
    {"Reports", "Click here or press CTRL+R to print/design reports", Command::PrintReports, QStyle::SP_FileIcon},
};

// Field, caption, "What's this?" text; the form's fields in typing order.
struct FieldEntry {
    const char* field;
    const char* caption;
    const char* help;
};
const FieldEntry kNameFields[] = {
    {"LNAME", "Last", "The last name (family name). Records are sorted by it unless you choose another order."},
    {"FNAME", "First", "The first name."},
    {"MIDDLE", "MI", "The middle initial; typed letters become capitals."},
    {"PREFIX", "Prefix", "The salutation prefix, such as Mr., Ms. or Dr."},
    {"TITLE", "Title", "The job title."},
    {"ORG", "Org", "The organisation or company."},
};
const FieldEntry kLeftFields[] = {
    {"STREET", "Address 1", "The first address line."},
    {"STREET2", "Address 2", "The second address line."},
    {"CITY", "City", "The city."},
    {"STATE", "State or Prov", "The state or province."},
    {"ZIP", "Zip or Postal ", "The zip or postal code."},
    {"COUNTRY", "Country", "The country."},
};
const FieldEntry kRightFields[] = {
    {"PHONE", "Phone 1", "The first telephone number."},
    {"PHONE2", "Phone 2", "The second telephone number."},
    {"FAX", "Fax", "The fax number."},
    {"EMAIL", "E-mail", "The e-mail address."},
    {"CODES", "Codes", "Your own classification codes; a filter of $C finds every record whose codes contain C."},
    {"USER1", "Comment 1", "A comment of your own."},
    {"USER2", "Comment 2", "A second comment."},
};

bool enabledFor(Command c, const Availability& a)
{
    switch (c) {
    case Command::NewDatabase:
    case Command::OpenDatabase:
    case Command::Preferences:
    case Command::RebuildSystem: return a.fileMenu;
    case Command::Browse: return a.browse;
    case Command::Search: return a.search;
    case Command::ImportDbf:
    case Command::ImportAscii:
    case Command::ImportV1:
    case Command::ImportV2: return a.importMenu && a.fileMenu;
    case Command::Export: return a.exportFile;
    case Command::SetFilter: return a.setFilter;
    case Command::ClearFilter: return a.clearFilter && !a.editing;
    case Command::SaveFilter: return a.saveFilter && a.fileMenu;
    case Command::RestoreFilter: return a.restoreFilter && a.fileMenu;
    case Command::ClearTags: return a.clearTags && a.fileMenu;
    case Command::TagAll: return a.tagAll && a.fileMenu;
    case Command::Rebuild: return a.rebuild && a.fileMenu;
    case Command::Exit: return a.exit;
    case Command::Undo:
    case Command::Cut:
    case Command::Copy:
    case Command::Paste: return a.editMenu;
    case Command::First:
    case Command::Prior:
    case Command::Next:
    case Command::Last: return a.navigate;
    case Command::Add: return a.add;
    case Command::Edit: return a.edit;
    case Command::Delete: return a.del;
    case Command::Clone: return a.clone;
    case Command::CopyToClipboard: return a.recordMenu && a.navigate;
    case Command::CountZip:
    case Command::CheckStateZip:
    case Command::CheckDuplicates:
    case Command::ConvertCase:
    case Command::DeleteRecords:
    case Command::SearchReplace: return a.utilitiesMenu;
    case Command::PrintLabels:
    case Command::PrintLetters:
    case Command::PrintEnvelopes:
    case Command::PrintReports:
    case Command::PrintCurrent: return a.printMenu;
    case Command::Save:
    case Command::Cancel: return a.editing;
    case Command::DialPhone1:
    case Command::DialPhone2: return a.dial;
    case Command::SearchMemo: return a.searchMemo;
    case Command::FindNext: return a.navigate;
    case Command::Website:
    case Command::HelpContents:
    case Command::GettingStarted:
    case Command::About:
    case Command::HelpSearch:
    case Command::HowToUseHelp: return true;
    }
    return true;
}

QLineEdit* focusedLineEdit() { return qobject_cast<QLineEdit*>(QApplication::focusWidget()); }

} // namespace

// ================================================================ construction

TAddressMain::TAddressMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QStringLiteral("Postavo"));
    resize(860, 560);
    controller_ = new AddressBookController(*this, this);
    installHelpWindow();

    sortStatus_ = new QLabel(this);
    sortStatus_->setObjectName(QStringLiteral("SortStatus"));
    filterStatus_ = new QLabel(this);
    filterStatus_->setObjectName(QStringLiteral("FilterStatus"));
    modeStatus_ = new QLabel(this);
    modeStatus_->setObjectName(QStringLiteral("ModeStatus"));
    QFont modeFont = modeStatus_->font();
    modeFont.setBold(true);
    modeStatus_->setFont(modeFont);
    statusBar()->addWidget(sortStatus_, 1);
    statusBar()->addWidget(modeStatus_);
    typingMode_ = new QLabel(this);
    typingMode_->setObjectName(QStringLiteral("TypingMode"));
    typingMode_->setToolTip(QStringLiteral("OVR: typing replaces the character at the cursor. INS: typing inserts. The Insert key switches."));
    statusBar()->addPermanentWidget(typingMode_);
    statusBar()->addPermanentWidget(filterStatus_);
    sortStatus_->clear();
    filterStatus_->clear();
    filterStatus_->hide();
    buildForm();
    buildMenus();
    buildToolBar();
    installHandlers();


    connect(controller_, &AddressBookController::recordChanged, this, &TAddressMain::showRecord);
    connect(controller_, &AddressBookController::memoChanged, this, &TAddressMain::showMemo);
    connect(controller_, &AddressBookController::stateChanged, this, &TAddressMain::setButtons);
    connect(controller_, &AddressBookController::orderChanged, this, &TAddressMain::orderChanged);
    connect(controller_, &AddressBookController::fileChanged, this, &TAddressMain::fileChanged);
    connect(controller_, &AddressBookController::addStarted, this, &TAddressMain::applyTypingOrder);
    connect(controller_, &AddressBookController::typingOrderRestored, this, &TAddressMain::restoreTypingOrder);
    qApp->installEventFilter(this);
    pages_->setCurrentWidget(emptyPanel_);
    setButtons();
}

TAddressMain::~TAddressMain()
{
    qApp->removeEventFilter(this);
    controller_->shutDown();
}

void TAddressMain::buildForm()
{
    pages_ = new QStackedWidget(this);
    setCentralWidget(pages_);
    buildEmptyPanel();

    auto* form = new QWidget(pages_);
    form->setObjectName(QStringLiteral("RecordForm"));
    QWidget* names = buildNamePanel(form);
    tabs_ = new QTabWidget(form);
    tabs_->setObjectName(QStringLiteral("Tabs"));
    tabs_->addTab(buildAddressTab(tabs_), QStringLiteral("Address &Information"));
    tabs_->addTab(buildMemoTab(tabs_), QStringLiteral("&Memo"));

    auto* fv = new QVBoxLayout(form);
    fv->addWidget(names);
    fv->addWidget(tabs_, 1);
    buildButtonBar();
    fv->addWidget(findChild<QWidget*>(QStringLiteral("ButtonBar")));

    pages_->addWidget(form);
    pages_->addWidget(emptyPanel_);
    for (auto* e : std::as_const(edits_))
        e->setReadOnly(true);
}

void TAddressMain::buildEmptyPanel()
{
    emptyPanel_ = new QLabel(QStringLiteral("Please Open or Create a Postavo Address file"), pages_);
    emptyPanel_->setObjectName(QStringLiteral("EmptyPanel"));
    emptyPanel_->setAlignment(Qt::AlignCenter);
    QFont ef = emptyPanel_->font();
    ef.setPointSizeF(ef.pointSizeF() * 1.4);
    ef.setBold(true);
    emptyPanel_->setFont(ef);
    emptyPanel_->setFrameShape(QFrame::StyledPanel);
}

std::pair<QLabel*, TRecordEdit*> TAddressMain::addFieldEdit(const char* field, const char* caption, const char* help,
                                                           QWidget* parent)
{
    auto* e = new TRecordEdit(QString::fromLatin1(field), parent);
    explain(e, QString::fromUtf8(help));
    auto* l = new QLabel(QString::fromLatin1(caption), parent);
    l->setBuddy(e);
    edits_.insert(e->fieldName(), e);
    labels_.insert(e->fieldName(), l);
    typingOrder_ << e;
    guardCp1252(e, [this](const QStringList& chars) { noteRefusedCharacters(chars); });
    connect(e, &QLineEdit::textEdited, this, [this, e](const QString& t) {
        if (!loadingRecord_)
            controller_->setFieldValue(e->fieldName(), t);
    });
    connect(e, &TRecordEdit::enterPressed, this, [this, e] { focusNextField(e); });
    connect(e, &TRecordEdit::doubleClicked, this, [this] {
        if (controller_->availability().edit)
            run(Command::Edit);
    });
    return std::make_pair(l, e);
}

QWidget* TAddressMain::buildNamePanel(QWidget* form)
{
    auto* names = new QFrame(form);
    names->setObjectName(QStringLiteral("NamePanel"));
    names->setFrameShape(QFrame::StyledPanel);
    auto* ng = new QGridLayout(names);
    ng->setHorizontalSpacing(8);
    auto edit = [&](const FieldEntry& f) { return addFieldEdit(f.field, f.caption, f.help, names); };
    auto [l0, last] = edit(kNameFields[0]);
    auto [l1, first] = edit(kNameFields[1]);
    auto [l2, mi] = edit(kNameFields[2]);
    auto [l3, prefix] = edit(kNameFields[3]);
    auto [l4, title] = edit(kNameFields[4]);
    auto [l5, org] = edit(kNameFields[5]);
    mi->setForceUpper(true);
    mi->setFixedWidth(mi->fontMetrics().horizontalAdvance(QStringLiteral("WW")) + 14);
    prefix->setMaximumWidth(prefix->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 9);
    QFont big = last->font();
    big.setBold(true);
    last->setFont(big);
    first->setFont(big);
    ng->addWidget(l0, 0, 0, Qt::AlignRight);
    ng->addWidget(last, 0, 1);
    ng->addWidget(l1, 0, 2, Qt::AlignRight);
    ng->addWidget(first, 0, 3);
    ng->addWidget(l2, 0, 4, Qt::AlignRight);
    ng->addWidget(mi, 0, 5);
    ng->addWidget(l3, 1, 0, Qt::AlignRight);
    auto* pt = new QHBoxLayout;
    pt->setSpacing(8);
    pt->addWidget(prefix);
    pt->addSpacing(8);
    pt->addWidget(l4);
    pt->addWidget(title, 1);
    ng->addLayout(pt, 1, 1);
    ng->addWidget(l5, 1, 2, Qt::AlignRight);
    ng->addWidget(org, 1, 3, 1, 3);
    ng->setColumnStretch(1, 1);
    ng->setColumnStretch(3, 1);
    return names;
}

QWidget* TAddressMain::buildAddressTab(QWidget* tabs)
{
    auto* info = new QWidget(tabs);
    auto* ig = new QGridLayout(info);
    ig->setHorizontalSpacing(8);
    int row = 0;
    for (const FieldEntry& f : kLeftFields) {
        auto [l, e] = addFieldEdit(f.field, f.caption, f.help, info);
        ig->addWidget(l, row, 0, Qt::AlignRight);
        ig->addWidget(e, row, 1);
        ++row;
    }
    auto* dateButton = new QPushButton(QStringLiteral("Date"), info);
    dateButton->setObjectName(QStringLiteral("DateButton"));
    dateButton->setAutoDefault(false);
    dateField_ = new QLineEdit(info);
    dateField_->setObjectName(QStringLiteral("DisplayDate"));
    // Plainly read-only, in editing too: the Date button sets the date (a calendar cannot be
    // mistyped into an impossible date), so the box takes neither the focus nor clicks.
    dateField_->setReadOnly(true);
    dateField_->setFocusPolicy(Qt::NoFocus);
    dateField_->setAttribute(Qt::WA_TransparentForMouseEvents);
    {
        QPalette dp = dateField_->palette();
        dp.setColor(QPalette::Base, dp.color(QPalette::Window));
        dateField_->setPalette(dp);
    }
    explain(dateButton, QStringLiteral("Opens a calendar to choose the record's date, shown beside it in your short date format."));
    connect(dateButton, &QPushButton::clicked, this, &TAddressMain::selectDate);
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(dateField_, 1);
    tagged_ = new QCheckBox(QStringLiteral("Tagged"), info);
    tagged_->setObjectName(QStringLiteral("Tagged"));
    explain(tagged_, QStringLiteral("Click to tag or untag this record. A filter with Tagged set shows only tagged records."));
    connect(tagged_, &QCheckBox::clicked, this, [this] {
        controller_->toggleTag();
        showRecord();
    });
    dateRow->addSpacing(12);
    dateRow->addWidget(tagged_);
    ig->addWidget(dateButton, row, 0);
    ig->addLayout(dateRow, row, 1);
    typingOrder_ << dateButton;
    row = 0;
    for (const FieldEntry& f : kRightFields) {
        auto [l, e] = addFieldEdit(f.field, f.caption, f.help, info);
        ig->addWidget(l, row, 2, Qt::AlignRight);
        ig->addWidget(e, row, 3);
        ++row;
    }
    auto* dial1 = new QPushButton(QStringLiteral("Dial Phone &1"), info);
    auto* dial2 = new QPushButton(QStringLiteral("Dial Phone &2"), info);
    buttons_.insert(Command::DialPhone1, dial1);
    buttons_.insert(Command::DialPhone2, dial2);
    auto* dialRow = new QHBoxLayout;
    dialRow->addWidget(dial1);
    dialRow->addWidget(dial2);
    dialRow->addStretch();
    ig->addLayout(dialRow, row, 3);
    ig->setColumnStretch(1, 1);
    ig->setColumnStretch(3, 1);
    ig->setRowStretch(row + 1, 1);
    return info;
}

QWidget* TAddressMain::buildMemoTab(QWidget* tabs)
{
    auto* memoPage = new QWidget(tabs);
    auto* mv = new QVBoxLayout(memoPage);
    auto* memoLabel = new QLabel(QStringLiteral("Memo"), memoPage);
    auto* memo = new TMemoEdit(memoPage);
    connect(memo, &TMemoEdit::refused, this, &TAddressMain::noteRefusedCharacters);
    memo_ = memo;
    memo_->setObjectName(QStringLiteral("MEMO"));
    memoLabel->setBuddy(memo_);
    explain(memo_, QStringLiteral("Free notes about this record. Start typing to edit the record."));
    memo_->setTabChangesFocus(true);
    connect(memo_, &QPlainTextEdit::textChanged, this, [this] {
        if (!loadingRecord_ && controller_->editing())
            controller_->setMemoText(memo_->toPlainText());
    });
    memo_->viewport()->installEventFilter(this);
    auto* searchMemo = new QPushButton(QStringLiteral("Search &Memo"), memoPage);
    auto* findNext = new QPushButton(QStringLiteral("Find &Next"), memoPage);
    findNext->hide();
    buttons_.insert(Command::SearchMemo, searchMemo);
    buttons_.insert(Command::FindNext, findNext);
    auto* mrow = new QHBoxLayout;
    mrow->addWidget(memoLabel);
    mrow->addStretch();
    mrow->addWidget(searchMemo);
    mrow->addWidget(findNext);
    mv->addLayout(mrow);
    mv->addWidget(memo_, 1);
    typingOrder_ << memo_;
    return memoPage;
}

void TAddressMain::buildButtonBar()
{
    auto* bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("ButtonBar"));
    auto* h = new QHBoxLayout(bar);
    h->setContentsMargins(0, 4, 0, 0);
    struct B {
        const char* caption;
        Command c;
        QStyle::StandardPixmap icon;
        const char* help;
    };
    const B nav[] = {{"", Command::First, QStyle::SP_MediaSkipBackward, "First record (Ctrl+PgUp)"},
                     {"", Command::Prior, QStyle::SP_MediaSeekBackward, "Previous record (PgUp)"},
                     {"", Command::Next, QStyle::SP_MediaSeekForward, "Next record (PgDn)"},
                     {"", Command::Last, QStyle::SP_MediaSkipForward, "Last record (Ctrl+PgDn)"}};
    for (const B& b : nav) {
        auto* p = new QPushButton(style()->standardIcon(b.icon), QString(), bar);
        p->setToolTip(QString::fromLatin1(b.help));
        p->setWhatsThis(QString::fromLatin1(b.help));
        p->setFocusPolicy(Qt::NoFocus);
        buttons_.insert(b.c, p);
        h->addWidget(p);
    }
    h->addSpacing(16);
    const B cmds[] = {{"&Save", Command::Save, QStyle::SP_DialogSaveButton, "Saves the record (Ctrl+Enter)."},
                      {"&Cancel", Command::Cancel, QStyle::SP_DialogCancelButton, "Drops the changes (Esc)."},
                      {"&Add", Command::Add, QStyle::SP_FileIcon, "Adds a new record."},
                      {"&Edit", Command::Edit, QStyle::SP_FileDialogDetailedView, "Changes the record on screen."},
                      {"&Delete", Command::Delete, QStyle::SP_TrashIcon, "Deletes the record on screen."}};
    for (const B& b : cmds) {
        auto* p = new QPushButton(QString::fromLatin1(b.caption), bar);
        p->setWhatsThis(QString::fromLatin1(b.help));
        p->setAutoDefault(false);
        buttons_.insert(b.c, p);
        h->addWidget(p);
    }
    h->addStretch();
    auto* clear = new QPushButton(QStringLiteral("Clear Filter"), bar);
    clear->setObjectName(QStringLiteral("ClearFilterButton"));
    clear->setWhatsThis(QStringLiteral("Removes the filter so that all records show."));
    buttons_.insert(Command::ClearFilter, clear);
    h->addWidget(clear);
    auto* exit = new QPushButton(QStringLiteral("E&xit"), bar);
    exit->setWhatsThis(QStringLiteral("Closes Postavo."));
    buttons_.insert(Command::Exit, exit);
    h->addWidget(exit);
    for (auto it = buttons_.cbegin(); it != buttons_.cend(); ++it) {
        const Command c = it.key();
        connect(it.value(), &QPushButton::clicked, this, [this, c] { run(c); });
    }
}

void TAddressMain::buildMenus()
{
    QMap<QString, QMenu*>& menus = menus_;
    auto menuFor = [&](const QString& path) {
        if (QMenu* m = menus.value(path))
            return m;
        const int slash = path.lastIndexOf(QLatin1Char('/'));
        QMenu* m = slash < 0 ? menuBar()->addMenu(path) : menus.value(path.left(slash))->addMenu(path.mid(slash + 1));
        m->setObjectName(path);
        menus.insert(path, m);
        return m;
    };
    for (const MenuEntry& e : kMenu) {
        QMenu* m = menuFor(QString::fromLatin1(e.menu));
        if (!e.caption) {
            if (QString::fromLatin1(e.menu) != QLatin1String("&Sort"))
                m->addSeparator();
            continue;
        }
        auto* a = m->addAction(QString::fromLatin1(e.caption));
        if (*e.shortcut)
            a->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut)));
        const Command c = e.command;
        connect(a, &QAction::triggered, this, [this, c] { run(c); });
        actions_.insert(c, a);
    }
    fileMenu_ = menus.value(QStringLiteral("&File"));
    mruSeparator_ = fileMenu_->addSeparator();
    mruSeparator_->setVisible(false);
    menus.value(QStringLiteral("Ed&it"))->menuAction()->setVisible(false);

    sortMenu_ = menus.value(QStringLiteral("&Sort"));
    auto* group = new QActionGroup(this);
    for (const SortOrder& o : sortOrders()) {
        auto* a = sortMenu_->addAction(QString::fromLatin1(o.caption));
        a->setCheckable(true);
        group->addAction(a);
        sortActions_ << a;
        const QString caption = QString::fromLatin1(o.caption);
        connect(a, &QAction::triggered, this, [this, caption] { controller_->setOrderTo(caption); });
    }
}

void TAddressMain::buildToolBar()
{
    QToolBar* tb = addToolBar(QStringLiteral("Tools"));
    tb->setObjectName(QStringLiteral("ToolBar"));
    tb->setMovable(false);
    tb->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (const ToolEntry& t : kTools) {
        auto* b = new QToolButton(tb);
        b->setText(QString::fromLatin1(t.caption));
        b->setIcon(style()->standardIcon(t.icon));
        b->setToolTip(QString::fromLatin1(t.hint));
        b->setWhatsThis(QString::fromLatin1(t.hint));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setFocusPolicy(Qt::NoFocus);
        const Command c = t.command;
        connect(b, &QToolButton::clicked, this, [this, c] { run(c); });
        QAction* holder = tb->addWidget(b);
        b->setProperty("holder", QVariant::fromValue(static_cast<QObject*>(holder)));
        toolButtons_.insert(c, b);
    }
    tb->addSeparator();
    QAction* whatsThis = QWhatsThis::createAction(this);
    whatsThis->setToolTip(QStringLiteral("Click here, then on any part of the window, to learn what it does"));
    tb->addAction(whatsThis);
    if (auto* b = qobject_cast<QToolButton*>(tb->widgetForAction(whatsThis)))
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void TAddressMain::installHandlers()
{
    auto& c = *controller_;
    setCommandHandler(Command::NewDatabase, [this] { newDatabase(); });
    setCommandHandler(Command::OpenDatabase, [this] { openDatabase(); });
    setCommandHandler(Command::SetFilter, [this] { setFilter(); });
    setCommandHandler(Command::ClearFilter, [&c] { c.clearFilter(); });
    setCommandHandler(Command::SaveFilter, [this] { saveFilter(); });
    setCommandHandler(Command::RestoreFilter, [this] { restoreFilter(); });
    setCommandHandler(Command::ClearTags, [&c] { c.clearTags(); });
    setCommandHandler(Command::TagAll, [this] { tagAll(); });
    setCommandHandler(Command::Rebuild, [&c] { c.rebuildIndexes(); });
    setCommandHandler(Command::RebuildSystem, [this] {
        setUpdatesFlag(false);
        TSystemReindex dlg(this);
        dlg.exec();
        setUpdatesFlag(true);
    });
    setCommandHandler(Command::Preferences, [this, &c] {
        TPreferences dlg(this);
        dlg.exec();
        c.loadPreferences();
        setButtons();
    });
    setCommandHandler(Command::Exit, [this] { close(); });
    setCommandHandler(Command::Undo, [] { if (auto* e = focusedLineEdit()) e->undo(); });
    setCommandHandler(Command::Cut, [] { if (auto* e = focusedLineEdit()) e->cut(); });
    setCommandHandler(Command::Copy, [] { if (auto* e = focusedLineEdit()) e->copy(); });
    setCommandHandler(Command::Paste, [] { if (auto* e = focusedLineEdit()) e->paste(); });
    setCommandHandler(Command::First, [&c] { c.first(); });
    setCommandHandler(Command::Prior, [&c] { c.previous(); });
    setCommandHandler(Command::Next, [&c] { c.next(); });
    setCommandHandler(Command::Last, [&c] { c.last(); });
    setCommandHandler(Command::Add, [this, &c] {
        tabs_->setCurrentIndex(0);
        c.add();
    });
    setCommandHandler(Command::Edit, [&c] { c.startEdit(); });
    setCommandHandler(Command::Delete, [&c] { c.deleteRecord(); });
    setCommandHandler(Command::Clone, [&c] { c.cloneRecord(); });
    setCommandHandler(Command::Save, [&c] { c.save(); });
    setCommandHandler(Command::Cancel, [&c] { c.cancel(); });
    setCommandHandler(Command::HelpContents, [] { openHelp(help::Contents); });
    setCommandHandler(Command::HelpSearch, [] { openHelp(help::Contents, true); });
    setCommandHandler(Command::HowToUseHelp, [] { openHelp(help::HowToUseHelp); });
    setCommandHandler(Command::GettingStarted, [this] {
        TGettingStarted dlg(this);
        dlg.exec();
    });
    setCommandHandler(Command::About, [this] { showAbout(this); });
}

void TAddressMain::setCommandHandler(Command c, std::function<void()> handler)
{
    handlers_.insert(c, std::move(handler));
    setButtons();
}

void TAddressMain::runWorkWindow(WorkKind kind, const std::function<void()>& open)
{
    AddressBookController& c = *controller_;
    if (kind == WorkKind::Print && (!c.isOpen() || c.visibleCount() == 0))
        return;
    const quint32 recno = c.table().recNo();
    setUpdatesFlag(false);
    c.beginPass();
    if (kind == WorkKind::Print)
        c.setExtraFields(true);
    open();
    if (kind == WorkKind::Print) {
        c.setExtraFields(false);
        c.goTo(recno);
    }
    c.endPass();
    if (kind == WorkKind::Utility && c.isOpen()) {
        c.setCurrentOrder(c.currentOrder());
        c.applyFilter();
    }
    setUpdatesFlag(true);
}

void TAddressMain::run(Command c)
{
    const Availability a = controller_->availability();
    if (c == Command::SetFilter && controller_->editing()) {
        beep();  // no filter while a record is being edited
        return;
    }
    if (!enabledFor(c, a) || !handlers_.contains(c))
        return;
    handlers_.value(c)();
}

// ================================================================ showing state

void TAddressMain::setButtons()
{
    if (!updatesFlag_ || !controller_)
        return;
    const Availability a = controller_->availability();
    for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
        it.value()->setVisible(handlers_.contains(it.key()));
        it.value()->setEnabled(enabledFor(it.key(), a));
    }
    for (auto it = toolButtons_.cbegin(); it != toolButtons_.cend(); ++it) {
        auto* holder = qobject_cast<QAction*>(it.value()->property("holder").value<QObject*>());
        if (holder)
            holder->setVisible(handlers_.contains(it.key()));
        it.value()->setEnabled(enabledFor(it.key(), a));
    }
    for (auto it = buttons_.cbegin(); it != buttons_.cend(); ++it) {
        QPushButton* b = it.value();
        const Command c = it.key();
        bool visible = handlers_.contains(c);
        if (c == Command::Save || c == Command::Cancel)
            visible = visible && a.editing;
        if (c == Command::Add || c == Command::Edit || c == Command::Delete || c == Command::Exit)
            visible = visible && !a.editing;
        if (c == Command::ClearFilter)
            visible = a.clearFilterButtonVisible;
        if (c == Command::FindNext)
            visible = visible && findNextShown_;  // shown by a memo search that found something
        b->setVisible(visible);
        b->setEnabled(c == Command::ClearFilter ? a.clearFilterButtonEnabled : enabledFor(c, a));
    }
    // Menus as a whole.
    auto menuEnabled = [this](const char* path, bool on) {
        if (QMenu* m = menus_.value(QString::fromLatin1(path)))
            m->menuAction()->setEnabled(on);
    };
    menuEnabled("&File", a.fileMenu);
    menuEnabled("&File/&Import", a.importMenu);
    menuEnabled("&Record", a.recordMenu);
    menuEnabled("&Sort", a.sortMenu);
    menuEnabled("&Print", a.printMenu);
    menuEnabled("&Utilities", a.utilitiesMenu);
    for (QMenu* m : std::as_const(menus_)) {
        if (m == sortMenu_ || m->objectName() == QLatin1String("Ed&it"))
            continue;
        bool any = false;
        for (QAction* act : m->actions())
            any = any || (act->isVisible() && !act->isSeparator());
        m->menuAction()->setVisible(any);
    }
    // Fields: typed into only while editing.
    const bool ed = a.editing;
    for (TRecordEdit* e : std::as_const(edits_))
        e->setReadOnly(!ed);
    memo_->setReadOnly(!ed);
    // Browsing shows the fields on a quieter background, so editing is plain to see.
    QPalette pal = QApplication::palette();
    if (!ed)
        pal.setColor(QPalette::Base, pal.color(QPalette::Window).lighter(103));
    for (TRecordEdit* e : std::as_const(edits_))
        e->setPalette(pal);
    memo_->setPalette(pal);
    modeStatus_->setText(!ed ? QString()
                             : controller_->adding() ? QStringLiteral("Adding a new record")
                                                     : QStringLiteral("Editing"));
    showTypingMode();
    if (ed) {
        QWidget* f = QApplication::focusWidget();
        const bool onField = f && (f == memo_ || edits_.values().contains(static_cast<TRecordEdit*>(f)));
        if (!onField && !controller_->adding())
            edits_.value(QStringLiteral("LNAME"))->setFocus();
    }
    updateFilterStatus();
}

void TAddressMain::showTypingMode()
{
    typingMode_->setText(controller_->editing() ? (insertToggle() ? QStringLiteral("INS") : QStringLiteral("OVR")) : QString());
}

void TAddressMain::updateFilterStatus()
{
    const auto text = controller_->filterStatus();
    filterStatus_->setVisible(text.has_value());
    filterStatus_->setText(text.value_or(QString()));
}

QString TAddressMain::sortStatusText() const { return sortStatus_->text(); }
QString TAddressMain::filterStatusText() const { return filterStatus_->text(); }
bool TAddressMain::filterStatusShown() const { return !filterStatus_->isHidden(); }
bool TAddressMain::emptyPanelShown() const { return pages_->currentWidget() == emptyPanel_; }

QMap<QString, QString> TAddressMain::fieldCaptions() const
{
    QMap<QString, QString> m;
    for (auto it = labels_.cbegin(); it != labels_.cend(); ++it)
        m.insert(it.key(), it.value()->text());
    m.insert(QStringLiteral("DATE"), QStringLiteral("Date"));
    return m;
}

void TAddressMain::setUpdatesFlag(bool on)
{
    updatesFlag_ = on;
    if (on) {
        showRecord();
        setButtons();
    }
}

void TAddressMain::showRecord()
{
    if (!updatesFlag_)
        return;
    const AddressTable& t = controller_->table();
    loadingRecord_ = true;
    for (TRecordEdit* e : std::as_const(edits_)) {
        const QString v = t.value(e->fieldName());
        if (e->text() != v)
            e->setText(v);
        e->setCursorPosition(0);
    }
    dateField_->setText(t.displayDate());
    tagged_->setChecked(t.hasRecord() && t.tagged());
    tagged_->setEnabled(t.hasRecord() || t.editing());
    loadingRecord_ = false;
    updateFilterStatus();
}

void TAddressMain::showMemo()
{
    loadingRecord_ = true;
    if (memo_->toPlainText() != controller_->memoText())
        memo_->setPlainText(controller_->memoText());
    loadingRecord_ = false;
}

void TAddressMain::orderChanged()
{
    const QString caption = controller_->sortCaption();
    sortStatus_->setText(controller_->sortStatus());
    const QString key = sortKeyOfCaption(caption);
    for (QAction* a : std::as_const(sortActions_))
        a->setChecked(!caption.isEmpty() && sortKeyOfCaption(a->text()) == key);
}

void TAddressMain::setFindNextShown(bool on)
{
    findNextShown_ = on;
    setButtons();
}

void TAddressMain::fileChanged()
{
    findNextShown_ = false;
    setWindowTitle(controller_->caption());
    const bool open = controller_->isOpen();
    pages_->setCurrentWidget(open ? pages_->widget(0) : emptyPanel_);
    for (TRecordEdit* e : std::as_const(edits_))
        e->setMaxLength(open ? std::max(1, controller_->table().fieldWidth(e->fieldName())) : 32767);
    updateMenuMRUList();
    showRecord();
    showMemo();
    setButtons();
}

void TAddressMain::updateMenuMRUList()
{
    for (QAction* a : std::as_const(mruActions_)) {
        fileMenu_->removeAction(a);
        a->deleteLater();
    }
    mruActions_.clear();
    const QStringList paths = getMRUList(Settings());
    mruSeparator_->setVisible(!paths.isEmpty());
    for (const QString& p : paths) {
        auto* a = fileMenu_->addAction(p);
        connect(a, &QAction::triggered, this, [this, p] { controller_->openRecent(p); });
        mruActions_ << a;
    }
}

// ================================================================ typing order and keys

void TAddressMain::applyTypingOrder()
{
    tabs_->setCurrentIndex(0);
    const QStringList skipped = controller_->skippedFields();
    for (auto it = edits_.cbegin(); it != edits_.cend(); ++it)
        it.value()->setFocusPolicy(skipped.contains(it.key()) ? Qt::ClickFocus : Qt::StrongFocus);
    if (auto* dateButton = findChild<QPushButton*>(QStringLiteral("DateButton")))
        dateButton->setFocusPolicy(skipped.contains(QLatin1String("DATE")) ? Qt::ClickFocus : Qt::StrongFocus);
    if (TRecordEdit* f = edits_.value(controller_->addFocusField()))
        f->setFocus(Qt::OtherFocusReason);
}

void TAddressMain::restoreTypingOrder()
{
    for (TRecordEdit* e : std::as_const(edits_))
        e->setFocusPolicy(Qt::StrongFocus);
    if (auto* dateButton = findChild<QPushButton*>(QStringLiteral("DateButton")))
        dateButton->setFocusPolicy(Qt::StrongFocus);
}

void TAddressMain::focusNextField(QWidget* from)
{
    const int i = typingOrder_.indexOf(from);
    for (int k = 1; k <= typingOrder_.size(); ++k) {
        QWidget* w = typingOrder_.at((i + k) % typingOrder_.size());
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(this) && w->isEnabled() && w != memo_) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

bool TAddressMain::handleWindowKey(QKeyEvent* k, QObject* target)
{
    const auto mods = k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    const int key = k->key();
    const bool inMemo = target == memo_ || target == memo_->viewport();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    std::optional<WindowKey> wk;
    if (key == Qt::Key_PageDown && mods == Qt::NoModifier) wk = WindowKey::PageDown;
    else if (key == Qt::Key_PageDown && mods == Qt::ControlModifier) wk = WindowKey::CtrlPageDown;
    else if (key == Qt::Key_PageUp && mods == Qt::NoModifier) wk = WindowKey::PageUp;
    else if (key == Qt::Key_PageUp && mods == Qt::ControlModifier) wk = WindowKey::CtrlPageUp;
    else if (enter && mods == Qt::ControlModifier) wk = WindowKey::CtrlEnter;
    else if (enter && mods == Qt::AltModifier) wk = WindowKey::AltEnter;
    else if (key == Qt::Key_Escape && mods == Qt::NoModifier) wk = inMemo ? WindowKey::EscapeInMemo : WindowKey::Escape;
    if (wk) {
        if (k->type() == QEvent::KeyPress)
            controller_->handleKey(*wk);
        return true;
    }
    // Record moves from the menu's keys work in every field while browsing.
    if (mods == Qt::ControlModifier && controller_->availability().navigate) {
        Command c;
        switch (key) {
        case Qt::Key_Up: c = Command::First; break;
        case Qt::Key_Left: c = Command::Prior; break;
        case Qt::Key_Right: c = Command::Next; break;
        case Qt::Key_Down: c = Command::Last; break;
        default: return false;
        }
        if (k->type() == QEvent::KeyPress)
            run(c);
        return true;
    }
    return false;
}

bool TAddressMain::eventFilter(QObject* o, QEvent* e)
{
    auto* w = qobject_cast<QWidget*>(o);
    if (!w || w->window() != this)
        return QMainWindow::eventFilter(o, e);
    if (e->type() == QEvent::ShortcutOverride || e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        // Key presses arrive at the focus widget; parents see them again when they propagate.
        if (w != QApplication::focusWidget() && !(w == memo_->viewport()))
            return QMainWindow::eventFilter(o, e);
        if (e->type() == QEvent::KeyPress && k->key() == Qt::Key_Insert)
            QTimer::singleShot(0, this, &TAddressMain::showTypingMode);
        if (handleWindowKey(k, o)) {
            e->accept();
            return true;
        }
        // Typing into the memo while browsing starts editing.
        if (e->type() == QEvent::KeyPress && o == memo_ && !controller_->editing() && !k->text().isEmpty()
            && k->text().at(0).isPrint() && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            && controller_->availability().edit) {
            run(Command::Edit);
        }
    } else if (e->type() == QEvent::MouseButtonDblClick && o == memo_->viewport()) {
        if (controller_->availability().edit)
            run(Command::Edit);
    }
    return QMainWindow::eventFilter(o, e);
}

// ================================================================ activation and closing

void TAddressMain::bringToFront()
{
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

bool TAddressMain::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate && !activated_) {
        activated_ = true;
        formActivate();
    } else if (e->type() == QEvent::Show && !activated_) {
        // A desktop without a window manager never activates the window: start up anyway
        // once the window is on screen.
        QTimer::singleShot(200, this, [this] {
            if (!activated_ && isVisible()) {
                activated_ = true;
                formActivate();
            }
        });
    }
    return QMainWindow::event(e);
}

void TAddressMain::formActivate()
{
    Settings settings;
    restorePlacement(this, QString::fromLatin1(kClassName), settings);
    setWindowTitle(QStringLiteral("Postavo"));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool showStart = controller_->startUp();
    QApplication::restoreOverrideCursor();
    updateMenuMRUList();
    setButtons();
    // Printers: the built-in PDF printer is always there, so there is nothing to warn about
    // before a print window is opened.
    if (showStart)
        QTimer::singleShot(0, this, [this] { run(Command::GettingStarted); });
}

void TAddressMain::closeEvent(QCloseEvent* e)
{
    controller_->shutDown();  // a pending edit is dropped, not saved
    Settings settings;
    storePlacement(this, QString::fromLatin1(kClassName), settings);
    QWidget* helpWindow = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("THelpWindow"))
            helpWindow = w;
    if (helpWindow)
        helpWindow->close();
    e->accept();
}

void TAddressMain::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    if (isMaximized() || isMinimized() || !screen())
        return;
    const QRect s = screen()->availableGeometry();
    QRect g = frameGeometry();
    if (g.right() > s.right() && g.left() != 0)
        move(0, y());
    if (g.bottom() > s.bottom() && g.top() != 0)
        move(x(), 0);
}

// ================================================================ the questions

void TAddressMain::showInformation(const QString& text)
{
    if (override_)
        return override_->showInformation(text);
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    postavo::showInformation(text, this);
    QApplication::restoreOverrideCursor();
}

bool TAddressMain::askYesNo(const QString& text, const QString& caption)
{
    return override_ ? override_->askYesNo(text, caption) : postavo::askYesNo(text, caption, this);
}

bool TAddressMain::askYesNoDefaultNo(const QString& text, const QString& caption)
{
    return override_ ? override_->askYesNoDefaultNo(text, caption) : postavo::askYesNoDefaultNo(text, caption, this);
}

void TAddressMain::rebuildIndexes(AddressTable& table)
{
    if (override_)
        return override_->rebuildIndexes(table);
    setUpdatesFlag(false);
    TPVReindex dlg(table, this);
    dlg.exec();
    setUpdatesFlag(true);
}

void TAddressMain::showWarning(const QString& text)
{
    if (override_)
        return override_->showWarning(text);
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox::warning(this, QStringLiteral("Warning"), t);
}

void TAddressMain::noteRefusedCharacters(const QStringList& characters)
{
    statusBar()->showMessage(refusedCharactersNote(characters), 15000);
    beep();
}

void TAddressMain::beep()
{
    if (override_)
        return override_->beep();
    QApplication::beep();
}

std::optional<NewRecordAnswer> TAddressMain::askNewRecord(const NewRecordPrompt& prompt)
{
    if (override_)
        return override_->askNewRecord(prompt);
    TNewRecordPrompt dlg(prompt, this);
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlg.answer();
}

void TAddressMain::setBusy(bool on)
{
    if (override_)
        return override_->setBusy(on);
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

// ================================================================ commands with windows

void TAddressMain::newDatabase()
{
    TNewDataBaseName dlg(proposeAddressFileName(ProgramFolder::dataPath()), this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    controller_->createDatabase(dlg.name(), dlg.lengths());
}

void TAddressMain::openDatabase()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open Address DataBase"),
                                                      ProgramFolder::dataPath(), QStringLiteral("DBF Files (*.dbf *.DBF)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().compare(QLatin1String("DBF"), Qt::CaseInsensitive) != 0) {
        showInformation(QStringLiteral("Must be a DBF file"));
        return;
    }
    controller_->openFile(path);
}

void TAddressMain::setFilter()
{
    TAddressFilter dlg(*controller_, fieldCaptions(), this);
    const bool ok = dlg.exec() == QDialog::Accepted;
    if (ok)
        controller_->setQuery(dlg.boxes());
    controller_->applyFilter();
    setButtons();
}

void TAddressMain::saveFilter()
{
    QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("Save Filter"), ProgramFolder::path() + QStringLiteral("*.FLT"),
                                                  QStringLiteral("Filter files (*.FLT *.flt)"), nullptr,
                                                  QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty())
        return;
    QString error;
    const QString path = AddressBookController::filterSavePath(chosen, &error);
    if (path.isEmpty()) {
        showInformation(error);
        return;
    }
    if (QFileInfo::exists(path)
        && !askYesNoDefaultNo(path + QStringLiteral(" already exists.\r\nDo you want to overwrite it?"), QStringLiteral("Warning!")))
        return;
    controller_->saveFilter(path);
}

void TAddressMain::restoreFilter()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Restore Filter"), ProgramFolder::path(),
                                                      QStringLiteral("Filter Files (*.flt *.FLT)"));
    if (!path.isEmpty())
        controller_->restoreFilter(path);
}

void TAddressMain::tagAll()
{
    if (!askYesNo(QStringLiteral("Tag all records matching filter?"), QStringLiteral("TAG ALL")))
        return;
    setUpdatesFlag(false);
    TTagging dlg(*controller_, this);
    dlg.show();
    QTimer::singleShot(0, &dlg, &TTagging::run);
    dlg.exec();
    setUpdatesFlag(true);
    controller_->first();
}

void TAddressMain::selectDate()
{
    const AddressTable& t = controller_->table();
    if (!t.hasRecord() && !t.editing())
        return;
    const QDate start = parseRecordDate(t.value(QStringLiteral("DATE")));
    TSelectDate dlg(start.isValid() ? start : QDate::currentDate(), this);
    const int r = dlg.exec();
    if (r == TSelectDate::Chosen)
        controller_->setDate(dlg.date());
    else if (r == TSelectDate::NoDate)
        controller_->setDate(QDate());
}

} // namespace postavo
