#include "addressbookcontroller.h"

#include "programfolder.h"
#include "settings.h"

#include <QDir>
#include <QFileInfo>

namespace postavo {

namespace {
const QString kNotDeleted = QStringLiteral("!ISDEL");

// The memo editor shows lines joined by "\n"; the file keeps them joined by CR LF.
QString memoToFile(const QString& editor)
{
    QString s = editor;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return s;
}
QString memoFromFile(const QString& stored)
{
    QString s = stored;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

// Keeps the table's order, filter and record across a lookup on another order.
class LookupScope {
public:
    explicit LookupScope(AddressTable& t, const QString& order)
        : t_(t), order_(t.order()), filter_(t.filter()), recno_(t.recNo()), onRecord_(t.hasRecord())
    {
        t_.setNotificationsEnabled(false);
        // The whole file is searched, not only the records the filter shows.
        if (filter_ != kNotDeleted)
            t_.setFilter(kNotDeleted);
        t_.setOrder(order);
    }
    void keepHere() { stay_ = true; }
    ~LookupScope()
    {
        const quint32 here = t_.recNo();
        t_.setOrder(order_);
        if (filter_ != kNotDeleted)
            t_.setFilter(filter_);
        if (stay_)
            t_.goTo(here);
        else if (onRecord_)
            t_.goTo(recno_);
        else
            t_.first();
        t_.setNotificationsEnabled(true);
        emit t_.currentChanged();
    }

private:
    AddressTable& t_;
    QString order_, filter_;
    quint32 recno_;
    bool onRecord_;
    bool stay_ = false;
};
} // namespace

AddressBookController::AddressBookController(AddressBookUi& ui, QObject* parent)
    : QObject(parent), ui_(ui), today_([] { return QDate::currentDate(); })
{
    connect(&table_, &AddressTable::currentChanged, this, [this] {
        if (!table_.editing())
            reloadMemo();
        emit recordChanged();
    });
    connect(&table_, &AddressTable::dataChanged, this, [this] { visible_.reset(); });
    connect(&table_, &AddressTable::stateChanged, this, &AddressBookController::stateChanged);
}

AddressBookController::~AddressBookController() { shutDown(); }

Settings AddressBookController::settings() const { return Settings(); }

// ---------------------------------------------------------------- start-up and files

bool AddressBookController::startUp()
{
    query_.clear();
    loadPreferences();
    Settings s = settings();
    QString path = getMRUFile(s);
    if (path.isEmpty()) {
        path = resolveFileName(ProgramFolder::dataPath() + QStringLiteral("add0001.DBF"));
        if (!QFileInfo::exists(path)) {
            QDir().mkpath(ProgramFolder::dataPath());
            CreateAddressFile(path, readNewFileFieldLengths(s), ui_);
        }
    }
    openFile(path);
    return !prefs_.gettingStartedOff;
}

void AddressBookController::shutDown()
{
    if (!table_.isOpen())
        return;
    if (table_.editing())
        cancel();
    table_.close();
    currentOrder_.clear();
}

bool AddressBookController::openFile(const QString& path)
{
    if (path.isEmpty())
        return false;
    if (table_.editing())
        cancel();
    Settings s = settings();
    table_.setNotificationsEnabled(false);
    const bool ok = OpenPVWDBF(table_, path, ui_, s);
    table_.setNotificationsEnabled(true);
    currentPath_ = ok ? path : QString();
    fileOpened(ok);
    emit fileChanged();
    return ok;
}

void AddressBookController::fileOpened(bool ok)
{
    visible_.reset();
    if (!ok) {
        table_.close();
        currentOrder_.clear();
        sortCaption_.clear();
        memo_.clear();
        emit orderChanged();
        emit memoChanged();
        emit stateChanged();
        return;
    }
    table_.setTagId(tagId_);
    setOrderTo(QStringLiteral("&Last Name"));
    applyFilter();
    table_.first();
    emit stateChanged();
}

bool AddressBookController::openRecent(const QString& path)
{
    const bool wasOpen = table_.isOpen();
    const QString previous = currentPath_;
    if (openFile(path))
        return true;
    if (wasOpen && !previous.isEmpty())
        openFile(previous);
    return false;
}

bool AddressBookController::createDatabase(const QString& name, const FieldLengths& lengths)
{
    QDir().mkpath(ProgramFolder::dataPath());
    const QString path = resolveFileName(ProgramFolder::dataPath() + name + QStringLiteral(".DBF"));
    if (QFileInfo::exists(path)) {
        ui_.showInformation(QStringLiteral("That file already exists.Please select another name"));
        return false;
    }
    if (!CreateAddressFile(path, lengths, ui_))
        return false;
    shutDown();
    return openFile(path);
}

QString AddressBookController::caption() const
{
    // With nothing open the caption names no file: a path that failed to open is not shown.
    return currentPath_.isEmpty() ? QStringLiteral("Postavo") : mainWindowCaption(currentPath_);
}

QString AddressBookController::getDatabasePath() const
{
    if (currentPath_.isEmpty())
        return {};
    QString dir = QFileInfo(currentPath_).absolutePath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

void AddressBookController::rebuildIndexes()
{
    if (!table_.isOpen()) {
        ui_.showInformation(QStringLiteral("You need to have a database file open first"));
        return;
    }
    if (table_.editing())
        return;
    table_.setNotificationsEnabled(false);
    ui_.rebuildIndexes(table_);
    table_.setNotificationsEnabled(true);
    if (!CheckValidIndex(table_)) {
        // The rebuild failed half way: the file cannot be worked on safely.
        table_.close();
        currentPath_.clear();
        fileOpened(false);
        emit fileChanged();
        return;
    }
    setCurrentOrder(currentOrder_);
    applyFilter();
    table_.first();
    emit stateChanged();
}

// ---------------------------------------------------------------- preferences

void AddressBookController::loadPreferences()
{
    Settings s = settings();
    prefs_ = Preferences::load(s);
    tagId_ = loadGlobalTagId(s);
    table_.setTagId(tagId_);
}

// ---------------------------------------------------------------- state

bool AddressBookController::filterSet() const { return !BuildQueryString(query_, tagId_).isEmpty(); }

Availability AddressBookController::availability() const
{
    return computeAvailability(isOpen(), editing(), hasRecord(), filterSet());
}

quint32 AddressBookController::visibleCount()
{
    if (!table_.isOpen())
        return 0;
    if (!visible_)
        visible_ = table_.visibleCount();
    return *visible_;
}

std::optional<QString> AddressBookController::filterStatus()
{
    return filterStatusText(isOpen(), filterSet(), visibleCount());
}

QString AddressBookController::sortStatus() const
{
    return sortCaption_.isEmpty() ? QString() : sortStatusText(sortCaption_);
}

// ---------------------------------------------------------------- sort orders

bool AddressBookController::setOrderTo(const QString& caption)
{
    const QString tag = sortTagForCaption(caption);
    if (tag.isEmpty())
        return false;
    setCurrentOrder(tag);
    sortCaption_ = caption;
    emit orderChanged();
    return true;
}

void AddressBookController::setCurrentOrder(const QString& tagName)
{
    currentOrder_ = tagName;
    if (!tagName.isEmpty() && table_.isOpen())
        table_.setOrder(tagName);  // a failure keeps the order there is
}

// ---------------------------------------------------------------- moving

void AddressBookController::first()
{
    if (table_.isOpen() && !editing())
        table_.first();
}

void AddressBookController::last()
{
    if (table_.isOpen() && !editing())
        table_.last();
}

void AddressBookController::next()
{
    if (!table_.isOpen() || editing())
        return;
    if (!table_.next())
        ui_.beep();
}

void AddressBookController::previous()
{
    if (!table_.isOpen() || editing())
        return;
    if (!table_.previous())
        ui_.beep();
}

void AddressBookController::goTo(quint32 recno)
{
    if (table_.isOpen() && !editing())
        table_.goTo(recno);
}

bool AddressBookController::handleKey(WindowKey key)
{
    if (!table_.isOpen())
        return false;
    const bool ed = editing();
    switch (key) {
    case WindowKey::PageDown:
    case WindowKey::CtrlPageDown:
        if (ed) {
            if (ui_.askYesNo(QStringLiteral("Save changes?"), QStringLiteral("Save")))
                save();
        } else if (key == WindowKey::PageDown) {
            next();
        } else {
            last();
        }
        return true;
    case WindowKey::PageUp:
        if (!ed)
            previous();
        return true;
    case WindowKey::CtrlPageUp:
        if (!ed)
            first();
        return true;
    case WindowKey::CtrlEnter:
        if (ed)
            save();
        return true;
    case WindowKey::AltEnter:
        if (ed && save() && ui_.askYesNo(QStringLiteral("Add another record?"), QStringLiteral("Add")))
            add();
        return true;
    case WindowKey::Escape:
        if (ed && ui_.askYesNo(QStringLiteral("Cancel changes?"), QStringLiteral("Cancel")))
            cancel();
        return ed;
    case WindowKey::EscapeInMemo:
        if (ed)
            cancel();
        return ed;
    }
    return false;
}

// ---------------------------------------------------------------- editing

void AddressBookController::reloadMemo()
{
    memo_ = table_.hasRecord() ? memoFromFile(table_.memo()) : QString();
    emit memoChanged();
}

void AddressBookController::setMemoText(const QString& text)
{
    memo_ = text;
    if (editing())
        table_.setMemo(memoToFile(text));
}

bool AddressBookController::setFieldValue(const QString& field, const QString& text)
{
    return editing() && table_.setValue(field, text);
}

bool AddressBookController::startEdit()
{
    if (!availability().edit)
        return false;
    if (!table_.edit())
        return false;
    emit stateChanged();
    return true;
}

bool AddressBookController::add()
{
    if (!availability().add)
        return false;
    // The carry-over snapshot comes from the record on screen.
    struct {
        QString org, city, state, zip, street, street2, country;
    } snap;
    if (table_.hasRecord()) {
        snap.org = table_.value(QStringLiteral("ORG"));
        snap.city = table_.value(QStringLiteral("CITY"));
        snap.state = table_.value(QStringLiteral("STATE"));
        snap.zip = table_.value(QStringLiteral("ZIP"));
        snap.street = table_.value(QStringLiteral("STREET"));
        snap.street2 = table_.value(QStringLiteral("STREET2"));
        if (prefs_.carryCountry())
            snap.country = table_.value(QStringLiteral("COUNTRY"));
    }

    NewRecordAnswer typed;
    if (prefs_.plugCityState || prefs_.autoDupCheck) {
        NewRecordPrompt p;
        p.askNames = prefs_.autoDupCheck;
        p.askZip = prefs_.plugCityState;
        p.lastWidth = table_.fieldWidth(QStringLiteral("LNAME"));
        p.firstWidth = table_.fieldWidth(QStringLiteral("FNAME"));
        p.zipWidth = table_.fieldWidth(QStringLiteral("ZIP"));
        const auto answer = ui_.askNewRecord(p);
        if (!answer)
            return false;
        typed = *answer;
        typed.last = typed.last.left(p.lastWidth);
        typed.first = typed.first.left(p.firstWidth);
        typed.zip = typed.zip.left(p.zipWidth);
    }
    const bool zipTyped = !typed.zip.trimmed().isEmpty();
    CityState place;
    if (prefs_.plugCityState && zipTyped)
        place = fillCityState(typed.zip);
    if (!checkDupName(typed.last, typed.first))
        return false;

    memo_.clear();
    emit memoChanged();
    if (!table_.insert())
        return false;
    auto put = [this](const char* f, const QString& v) { table_.setValue(QString::fromLatin1(f), v); };
    if (!typed.first.trimmed().isEmpty())
        put("FNAME", typed.first);
    if (!typed.last.trimmed().isEmpty())
        put("LNAME", typed.last);
    if (zipTyped)
        put("ZIP", typed.zip);
    if (place.found) {
        put("CITY", place.city);
        put("STATE", place.state);
    }
    if (!zipTyped && prefs_.carryZip())
        put("ZIP", snap.zip);
    if (!place.found && prefs_.carryCity())
        put("CITY", snap.city);
    if (!place.found && prefs_.carryState())
        put("STATE", snap.state);
    if (prefs_.carryCountry())
        put("COUNTRY", snap.country);
    if (prefs_.carryStreet())
        put("STREET", snap.street);
    if (prefs_.carryStreet2())
        put("STREET2", snap.street2);
    if (snap.country.isEmpty() && !prefs_.defaultCountry.isEmpty())
        put("COUNTRY", prefs_.defaultCountry);
    if (prefs_.plugDate)
        put("DATE", recordDateText(today_()));
    if (prefs_.carryOrg())
        put("ORG", snap.org);

    // Typing order and the first field to type into.
    skipping_ = true;
    const QStringList skipped = postavo::skippedFields(prefs_);
    addFocus_ = QStringLiteral("STREET");
    if (!skipped.contains(QLatin1String("LNAME")) && table_.value(QStringLiteral("LNAME")).isEmpty())
        addFocus_ = QStringLiteral("LNAME");
    else if (!skipped.contains(QLatin1String("FNAME")) && table_.value(QStringLiteral("FNAME")).isEmpty())
        addFocus_ = QStringLiteral("FNAME");
    else
        for (const char* f : {"MIDDLE", "PREFIX", "TITLE", "ORG"})
            if (!skipped.contains(QLatin1String(f))) {
                addFocus_ = QString::fromLatin1(f);
                break;
            }
    emit recordChanged();
    emit stateChanged();
    emit addStarted();
    return true;
}

void AddressBookController::endAdd()
{
    if (!skipping_)
        return;
    skipping_ = false;
    addFocus_.clear();
    emit typingOrderRestored();
}

bool AddressBookController::save()
{
    if (!editing())
        return false;
    QString stored = memoToFile(memo_);
    // Memo texts whose length is a multiple of four get one trailing blank on their last line.
    if (!stored.isEmpty() && stored.size() % 4 == 0)
        stored += QLatin1Char(' ');
    table_.setMemo(stored);
    // A post is all or nothing: when it fails the record stays in edit mode as typed, so the
    // user can mend the cause and save again (stored once) or cancel (nothing written).
    const bool durable = flushDueAfterNextSave();
    if (!table_.post(durable)) {
        ui_.showInformation(QStringLiteral("The record could not be saved:\r\n") + table_.lastError()
                            + QStringLiteral("\r\n\r\nYour changes are still on the screen: save again, or cancel them."));
        emit stateChanged();
        return false;
    }
    // Saved, but the disk did not confirm it (the aggressive-save wait failed).
    const QString unconfirmed = table_.lastError();
    afterPost();
    endAdd();
    emit stateChanged();
    if (!unconfirmed.isEmpty())
        ui_.showWarning(unconfirmed);
    noteSave(durable && unconfirmed.isEmpty());
    return true;
}

void AddressBookController::cancel()
{
    if (!editing())
        return;
    table_.cancel();
    reloadMemo();
    endAdd();
    emit stateChanged();
}

void AddressBookController::afterPost()
{
    visible_.reset();
    if (visibleCount() == 0) {
        applyFilter();
        table_.first();
    }
}

bool AddressBookController::deleteRecord()
{
    if (!availability().del)
        return false;
    bool deleted = false;
    if (ui_.askYesNo(QStringLiteral("Delete this record?"), QStringLiteral("DELETE"))) {
        const quint32 gone = table_.recNo();
        if (!table_.deleteCurrent()) {
            ui_.showInformation(QStringLiteral("The record could not be deleted:\r\n") + table_.lastError());
        } else {
            deleted = true;
            visible_.reset();
            if (!table_.previous() || table_.recNo() == gone)
                table_.first();
        }
    }
    afterPost();
    emit stateChanged();
    if (deleted)
        noteSave();
    return deleted;
}

bool AddressBookController::cloneRecord()
{
    if (!availability().clone)
        return false;
    if (!ui_.askYesNo(QStringLiteral("Clone this record?"), QStringLiteral("Clone")))
        return false;
    static const char* const copied[] = {"LNAME", "FNAME", "MIDDLE", "PREFIX", "TITLE", "ORG", "STREET",
                                         "STREET2", "CITY", "STATE", "ZIP", "COUNTRY", "PHONE", "PHONE2",
                                         "EMAIL", "FAX", "CODES", "USER1", "USER2", "DATE"};
    ui_.setBusy(true);
    QMap<QString, QString> values;
    for (const char* f : copied)
        values[QString::fromLatin1(f)] = table_.value(QString::fromLatin1(f));
    const QString memo = table_.memo();
    table_.setNotificationsEnabled(false);
    bool ok = table_.insert();
    for (auto it = values.cbegin(); ok && it != values.cend(); ++it)
        table_.setValue(it.key(), it.value());
    if (ok) {
        table_.setMemo(memo);
        ok = table_.post();
        if (!ok)
            table_.cancel();
    }
    table_.setNotificationsEnabled(true);
    visible_.reset();
    reloadMemo();
    emit recordChanged();
    emit stateChanged();
    ui_.setBusy(false);
    if (!ok) {
        ui_.showInformation(QStringLiteral("The record could not be cloned:\r\n") + table_.lastError());
        return false;
    }
    ui_.showInformation(QStringLiteral("Clone completed. Current record is an exact copy"));
    noteSave();
    return true;
}

bool AddressBookController::setDate(const QDate& date)
{
    if (!editing() && !startEdit())
        return false;
    table_.setValue(QStringLiteral("DATE"), recordDateText(date));
    emit recordChanged();
    return true;
}

bool AddressBookController::toggleTag()
{
    if (!table_.isOpen() || !table_.hasRecord())
        return false;
    const bool on = !table_.tagged();
    if (editing()) {
        table_.setValue(QStringLiteral("TAG"), on ? tagId_ : QString());
        emit recordChanged();
    } else {
        if (!table_.setTagged(on)) {
            ui_.showInformation(QStringLiteral("The tag could not be saved:\r\n") + table_.lastError());
            return false;
        }
        emit recordChanged();
        noteSave();
    }
    afterPost();
    emit stateChanged();
    return true;
}

// ---------------------------------------------------------------- lookups

AddressBookController::CityState AddressBookController::fillCityState(const QString& zip)
{
    CityState r;
    if (!table_.isOpen() || editing() || zip.trimmed().isEmpty())
        return r;
    LookupScope scope(table_, QStringLiteral("ZIP"));
    if (table_.seek(zip.toUpper(), false)) {
        r.found = true;
        r.city = table_.value(QStringLiteral("CITY"));
        r.state = table_.value(QStringLiteral("STATE"));
    }
    return r;
}

bool AddressBookController::checkDupName(const QString& last, const QString& first)
{
    if (!table_.isOpen() || editing() || last.trimmed().isEmpty() || first.trimmed().isEmpty())
        return true;
    const int wl = table_.fieldWidth(QStringLiteral("LNAME"));
    const int wf = table_.fieldWidth(QStringLiteral("FNAME"));
    const QString key = (last.leftJustified(wl, QLatin1Char(' '), true)
                         + first.leftJustified(wf, QLatin1Char(' '), true)).toUpper();
    LookupScope scope(table_, QStringLiteral("LNAME"));
    if (!table_.seek(key, true))
        return true;
    ui_.beep();
    auto v = [this](const char* f) { return table_.value(QString::fromLatin1(f)); };
    const QString text = QStringLiteral("Possible duplicate: \r\n\r\n") + v("FNAME") + QLatin1Char(' ') + v("LNAME")
                         + QStringLiteral("\r\n") + v("STREET") + QStringLiteral("\r\n") + v("CITY")
                         + QLatin1Char(',') + v("STATE") + QLatin1Char(' ') + v("ZIP") + QStringLiteral("\r\n")
                         + QStringLiteral("\r\n") + QStringLiteral("Continue adding?");
    if (ui_.askYesNoDefaultNo(text, QStringLiteral("Possible Duplicate")))
        return true;
    scope.keepHere();
    return false;
}

// ---------------------------------------------------------------- aggressive saving

void AddressBookController::noteSave(bool onDisk)
{
    const int level = prefs_.aggressiveSave;
    if (level <= 0)
        return;
    ++saveCounter_;
    if (saveCounter_ < (level == 1 ? 5 : 1))
        return;
    saveCounter_ = 0;
    flush(onDisk);
}

bool AddressBookController::flushDueAfterNextSave() const
{
    const int level = prefs_.aggressiveSave;
    return level > 0 && passDepth_ == 0 && saveCounter_ + 1 >= (level == 1 ? 5 : 1);
}

void AddressBookController::beginPass() { ++passDepth_; }

void AddressBookController::endPass()
{
    if (passDepth_ > 0 && --passDepth_ == 0 && flushPending_) {
        flushPending_ = false;
        flush();
    }
}

bool AddressBookController::flush(bool onDisk)
{
    if (passDepth_ > 0) {
        flushPending_ = true;
        return true;
    }
    if (!table_.isOpen())
        return false;
    ++flushes_;
    // Waiting for the disk is what closing and reopening the file achieved; only when the
    // disk refuses is the file closed and opened again.
    bool ok = onDisk || table_.commit();
    if (failFlushes_ > 0) {
        --failFlushes_;
        ok = false;
    }
    return ok || reopen();
}

bool AddressBookController::reopen()
{
    const quint32 recno = table_.recNo();
    const QString path = currentPath_;
    ui_.setBusy(true);
    table_.setNotificationsEnabled(false);
    table_.close();
    bool ok = false;
    for (int attempt = 0; attempt < 10 && !ok; ++attempt) {
        ok = table_.open(path) && CheckValidIndex(table_);
        if (!ok)
            table_.close();
    }
    table_.setNotificationsEnabled(true);
    if (ok) {
        table_.setTagId(tagId_);
        setCurrentOrder(currentOrder_);
        applyFilter();
        table_.goTo(recno);
    } else {
        currentPath_.clear();
        fileOpened(false);
        emit fileChanged();
        ui_.showInformation(QStringLiteral(
            "An error has occurred which may have resulted in lost data.\r\nPlease close and restart the "
            "program, and verify that the\r\nlast few changes were saved.\r\n\r\nIf you see this message "
            "too often, turn off agressive saving\r\nfrom the Preferences screen"));
    }
    visible_.reset();
    emit recordChanged();
    emit stateChanged();
    ui_.setBusy(false);
    return ok;
}

// ---------------------------------------------------------------- filter and tags

quint32 AddressBookController::applyFilter()
{
    if (!table_.isOpen())
        return 0;
    ui_.setBusy(true);
    const quint32 n = ApplyFilter(table_, query_, tagId_, [this](const QString& m) { ui_.showInformation(m); });
    visible_.reset();
    // The record on screen must be one the filter shows.
    if (!table_.hasRecord() || !table_.evalCondition(table_.filter()))
        table_.first();
    ui_.setBusy(false);
    emit stateChanged();
    return n;
}

QString AddressBookController::testFilter(const QueryValues& boxes)
{
    query_ = boxes;
    const quint32 n = applyFilter();
    table_.first();
    emit stateChanged();
    return filterSet() ? QString::number(n) + QStringLiteral(" matches") : QStringLiteral("No filter set");
}

void AddressBookController::clearFilter()
{
    ClearQueryVars(query_);
    applyFilter();
    table_.first();
    emit stateChanged();
}

QString AddressBookController::filterSavePath(const QString& chosen, QString* error)
{
    const QFileInfo fi(chosen);
    if (fi.suffix().compare(QLatin1String("FLT"), Qt::CaseInsensitive) == 0)
        return chosen;
    if (fi.fileName().contains(QLatin1Char('.'))) {
        if (error)
            *error = QStringLiteral("Must have a .FLT extension");
        return {};
    }
    return chosen + QStringLiteral(".FLT");
}

bool AddressBookController::saveFilter(const QString& path)
{
    QString error;
    if (!SaveFilterTo(path, query_, &error)) {
        ui_.showInformation(error);
        return false;
    }
    return true;
}

bool AddressBookController::restoreFilter(const QString& path)
{
    if (QFileInfo(path).suffix().compare(QLatin1String("FLT"), Qt::CaseInsensitive) != 0) {
        ui_.showInformation(QStringLiteral("Must be a Filter (.FLT) file"));
        return false;
    }
    QString error;
    const auto q = RestoreFilterFrom(path, &error);
    if (!q) {
        ui_.showInformation(error);
        return false;
    }
    query_ = *q;
    applyFilter();
    table_.first();
    emit stateChanged();
    return true;
}

void AddressBookController::clearTags()
{
    Settings s = settings();
    tagId_ = postavo::clearTags(s);
    table_.setTagId(tagId_);
    applyFilter();
    table_.first();
    emit recordChanged();
    emit stateChanged();
}

TagAllResult AddressBookController::tagAll(const std::function<bool(quint32)>& step)
{
    TagAllResult r;
    if (!table_.isOpen() || editing())
        return r;
    beginPass();
    table_.setNotificationsEnabled(false);
    r = tagAllMatches(table_, step);
    table_.setNotificationsEnabled(true);
    visible_.reset();
    endPass();
    table_.first();
    emit recordChanged();
    emit stateChanged();
    // The pass counts as one save of the window's own.
    if (r.tagged > 0)
        noteSave();
    return r;
}

} // namespace postavo
