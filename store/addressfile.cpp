#include "addressfile.h"

#include "cp1252.h"
#include "engine/recordengine.h"
#include "settings.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace postavo {

using engine::EngineError;
using engine::OpenMode;
using engine::Table;

namespace {
const QStringList kCalculated = {QStringLiteral("DisplayDate"), QStringLiteral("Tagged"),
                                 QStringLiteral("FullName"), QStringLiteral("FullNameWithPrefix"),
                                 QStringLiteral("CityStateZip")};
std::string bytes(const QString& s) { return toCp1252(s); }
} // namespace

QString AddressTable::fromFile(std::string_view b) { return fromCp1252(b); }
std::string AddressTable::toFile(const QString& text) { return toCp1252(text); }

AddressTable::AddressTable(QObject* parent) : QObject(parent)
{
    for (const auto& f : addressFields()) {
        Field fd;
        fd.name = QString::fromLatin1(f.name);
        fd.type = f.type;
        fd.width = f.defaultWidth;
        fd.label = QString::fromLatin1(f.label);
        fd.visible = *f.label != '\0';
        fields_ << fd;
        fieldOrder_ << fd.name;
    }
}

AddressTable::~AddressTable() { close(); }

bool AddressTable::fail(const QString& message, QString* error)
{
    error_ = message;
    if (error)
        *error = message;
    return false;
}

bool AddressTable::isOpen() const { return table_ != nullptr; }

bool AddressTable::open(const QString& path, QString* error)
{
    return bind(path, OpenMode::Exclusive, error);
}

bool AddressTable::openShared(const QString& path, bool readOnly, QString* error)
{
    return bind(path, readOnly ? OpenMode::ReadOnly : OpenMode::Shared, error);
}

bool AddressTable::bind(const QString& path, OpenMode mode, QString* error)
{
    close();
    if (!QFileInfo::exists(path))
        return fail(QStringLiteral("File ") + path + QStringLiteral(" not found"), error);
    try {
        const std::string file = QFile::encodeName(path).toStdString();
        // The file is judged from its header before it is opened, so that opening, which may
        // finish work of ours left undone, never touches a file that is not an address file.
        const engine::DbfHeader header = Table::readHeader(file);
        QVector<Field> matched = fields_;
        for (Field& f : matched) {
            // MatchFieldSizes: every address field must be there; take the file's widths.
            const int i = header.fieldIndex(f.name.toStdString());
            if (i < 0)
                return fail(QStringLiteral("%1 is not an address file: it has no field %2.").arg(path, f.name), error);
            f.width = header.fields[size_t(i)].length;
        }
        if (header.memoKind() == engine::MemoKind::DbtIII || header.memoKind() == engine::MemoKind::DbtIV)
            return fail(QStringLiteral("%1 keeps its memos in a dBASE memo file (.DBT), which address files do not "
                                       "use: import it into an address file instead.")
                            .arg(path),
                        error);
        auto t = Table::open(file, mode);
        if (mode == OpenMode::Exclusive && !t->tail().empty()) {
            const auto& tail = t->tail();
            return fail(QStringLiteral("%1 holds %2 whole records and %3 other bytes past the last record its header "
                                       "counts: another program stopped while adding records. The file was left as "
                                       "it is; \"postavo-db recover\" adopts the whole records.")
                            .arg(path)
                            .arg(tail.wholeRecords)
                            .arg(qulonglong(tail.otherBytes)),
                        error);
        }
        t->setDeletedHidden(true);
        t->setCentury(true);
        fields_ = matched;
        table_ = std::move(t);
    } catch (const EngineError& e) {
        return fail(fromFile(e.what()), error);
    }
    path_ = path;
    order_.clear();
    filter_.clear();
    buffer_.clear();
    modified_ = false;
    setState(TableState::Browse);
    try {
        table_->goTop();
    } catch (const EngineError& e) {
        close();
        return fail(fromFile(e.what()), error);
    }
    emitCurrent();
    return true;
}

void AddressTable::close()
{
    if (!table_)
        return;
    if (editing())
        cancel();
    try {
        table_->close();
    } catch (const EngineError& e) {
        error_ = fromFile(e.what());
    }
    table_.reset();
    path_.clear();
    order_.clear();
    filter_.clear();
    setState(TableState::Closed);
    emitCurrent();
}

const AddressTable::Field* AddressTable::field(const QString& name) const
{
    for (const Field& f : fields_)
        if (f.name.compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

int AddressTable::fieldWidth(const QString& name) const
{
    const Field* f = field(name);
    return f ? f->width : 0;
}

void AddressTable::setFieldOrder(const QStringList& names)
{
    fieldOrder_ = names;
}

bool AddressTable::isCalculated(const QString& name)
{
    return kCalculated.contains(name, Qt::CaseInsensitive);
}

// ---- values ----

QString AddressTable::storedValue(const QString& name) const
{
    if (!table_ || !hasRecord())
        return {};
    try {
        const Field* f = field(name);
        if (f && f->type == 'L')
            return table_->getLogical(name.toStdString()) ? QStringLiteral("T") : QStringLiteral("F");
        if (f && f->type == 'M')
            return fromFile(table_->getMemo(name.toStdString()));
        return fromFile(table_->getTrimString(name.toStdString()));
    } catch (const EngineError&) {
        return {};
    }
}

QString AddressTable::value(const QString& fieldName) const
{
    return editing() ? buffer_.value(fieldName.toUpper()) : storedValue(fieldName);
}

bool AddressTable::logical(const QString& fieldName) const { return value(fieldName) == QLatin1String("T"); }

QString AddressTable::memo() const { return editing() ? memoBuffer_ : storedValue(QStringLiteral("MEMO")); }

QString AddressTable::displayValue(const QString& name) const
{
    if (name.compare(QLatin1String("DisplayDate"), Qt::CaseInsensitive) == 0)
        return displayDate();
    if (name.compare(QLatin1String("Tagged"), Qt::CaseInsensitive) == 0)
        return tagged() ? QStringLiteral("Yes") : QStringLiteral("No");
    if (name.compare(QLatin1String("FullName"), Qt::CaseInsensitive) == 0)
        return fullName();
    if (name.compare(QLatin1String("FullNameWithPrefix"), Qt::CaseInsensitive) == 0)
        return fullNameWithPrefix();
    if (name.compare(QLatin1String("CityStateZip"), Qt::CaseInsensitive) == 0)
        return cityStateZip();
    const Field* f = field(name);
    if (f && f->type == 'L')
        return logical(name) ? QStringLiteral("Yes") : QStringLiteral("No");
    if (f && f->type == 'M')
        return memo();
    return value(name);
}

bool AddressTable::setValue(const QString& fieldName, const QString& text)
{
    const Field* f = field(fieldName);
    if (!editing() || !f)
        return false;
    if (f->type == 'M')
        return setMemo(text);
    QString v = text;
    if (f->type == 'C' && v.size() > f->width)
        v.truncate(f->width);
    if (buffer_.value(f->name) != v) {
        buffer_[f->name] = v;
        modified_ = true;
    }
    return true;
}

bool AddressTable::setLogical(const QString& fieldName, bool v)
{
    return setValue(fieldName, v ? QStringLiteral("T") : QStringLiteral("F"));
}

bool AddressTable::setMemo(const QString& text)
{
    if (!editing())
        return false;
    if (memoBuffer_ != text) {
        memoBuffer_ = text;
        modified_ = true;
    }
    return true;
}

QString AddressTable::displayDate() const { return postavo::displayDate(value(QStringLiteral("DATE"))); }

bool AddressTable::tagged() const
{
    return !tagId_.isEmpty() && value(QStringLiteral("TAG")) == tagId_;
}

QString AddressTable::fullName() const
{
    if (!extraFields_)
        return {};
    return postavo::fullName(value("FNAME"), value("MIDDLE"), value("LNAME"));
}

QString AddressTable::fullNameWithPrefix() const
{
    if (!extraFields_)
        return {};
    return postavo::fullNameWithPrefix(value("PREFIX"), value("FNAME"), value("MIDDLE"), value("LNAME"));
}

QString AddressTable::cityStateZip() const
{
    if (!extraFields_)
        return {};
    return postavo::cityStateZip(value("CITY"), value("STATE"), value("ZIP"));
}

// ---- moving ----

bool AddressTable::move(const std::function<void()>& step)
{
    if (!table_)
        return false;
    if (editing() && !post())
        return false;
    try {
        step();
    } catch (const EngineError& e) {
        error_ = fromFile(e.what());
        emitCurrent();
        return false;
    }
    emitCurrent();
    return true;
}

bool AddressTable::first() { return move([this] { table_->goTop(); }); }
bool AddressTable::last() { return move([this] { table_->goBottom(); }); }

bool AddressTable::next()
{
    bool moved = false;
    const bool ok = move([this, &moved] {
        if (table_->eof())
            return;
        const quint32 here = table_->recNo();
        table_->skip(1);
        if (table_->eof())
            table_->go(here);
        else
            moved = true;
    });
    return ok && moved;
}

bool AddressTable::previous()
{
    bool moved = false;
    const bool ok = move([this, &moved] {
        const quint32 here = table_->recNo();
        table_->skip(-1);
        if (table_->bof())
            table_->go(here);
        else
            moved = true;
    });
    return ok && moved;
}

bool AddressTable::goTo(quint32 recno) { return move([this, recno] { table_->go(recno); }); }

quint32 AddressTable::recNo() const { return table_ ? table_->recNo() : 0; }
bool AddressTable::eof() const { return !table_ || table_->eof(); }
bool AddressTable::bof() const { return !table_ || table_->bof(); }
bool AddressTable::hasRecord() const { return table_ && !table_->eof() && table_->recNo() > 0; }

// ---- states ----

void AddressTable::loadBuffer()
{
    const bool inserting = state_ == TableState::Insert;
    buffer_.clear();
    for (const Field& f : fields_) {
        if (f.type == 'M')
            continue;
        if (inserting)
            buffer_[f.name] = f.type == 'L' ? QStringLiteral("F") : QString();
        else
            buffer_[f.name] = storedValue(f.name);
    }
    memoBuffer_ = inserting ? QString() : storedValue(QStringLiteral("MEMO"));
    modified_ = false;
}

bool AddressTable::edit()
{
    if (!table_ || editing() || !hasRecord())
        return false;
    state_ = TableState::Edit;
    loadBuffer();
    setState(TableState::Edit);
    return true;
}

bool AddressTable::insert()
{
    if (!table_ || editing())
        return false;
    state_ = TableState::Insert;
    loadBuffer();
    setState(TableState::Insert);
    return true;
}

bool AddressTable::commit()
{
    if (!table_)
        return false;
    try {
        table_->commit();
    } catch (const EngineError& e) {
        error_ = fromFile(e.what());
        return false;
    }
    return true;
}

void AddressTable::discardQuietly()
{
    try {
        table_->discardChanges();
    } catch (const EngineError&) {
        // The error already reported is the one that matters.
    }
}

QString AddressTable::unstorableText() const
{
    QStringList where;
    for (auto it = buffer_.cbegin(); it != buffer_.cend(); ++it) {
        const QStringList chars = charactersOutsideCp1252(it.value());
        if (!chars.isEmpty())
            where << QStringLiteral("%1: %2").arg(displayLabel(it.key()), describeCharacters(chars));
    }
    const QStringList memoChars = charactersOutsideCp1252(memoBuffer_);
    if (!memoChars.isEmpty())
        where << QStringLiteral("Memo: %1").arg(describeCharacters(memoChars));
    if (where.isEmpty())
        return {};
    return QStringLiteral("An address file holds Windows-1252 text, which has no room for these characters. "
                          "Replace them and save again.\n")
        + where.join(QLatin1Char('\n'));
}

QString AddressTable::displayLabel(const QString& fieldName) const
{
    const Field* f = field(fieldName);
    return f && !f->label.isEmpty() ? f->label : fieldName;
}

bool AddressTable::post(bool durable)
{
    if (!editing())
        return true;
    error_.clear();   // what lastError() says after this post is about this post
    // Nothing is written unless all of it can be: text the file cannot hold is refused here,
    // and a write that fails is taken back whole.
    if (const QString refused = unstorableText(); !refused.isEmpty()) {
        error_ = refused;
        return false;
    }
    try {
        const bool inserting = state_ == TableState::Insert;
        const QString oldMemo = inserting ? QString() : storedValue(QStringLiteral("MEMO"));
        if (inserting)
            table_->appendBlank();
        for (const Field& f : fields_) {
            if (f.type == 'M')
                continue;
            const QString v = buffer_.value(f.name);
            if (f.type == 'L')
                table_->replaceLogical(f.name.toStdString(), v == QLatin1String("T"));
            else
                table_->replace(f.name.toStdString(), bytes(v));
        }
        if (inserting ? !memoBuffer_.isEmpty() : memoBuffer_ != oldMemo)
            table_->replace("MEMO", bytes(memoBuffer_));
        table_->postRecord();
    } catch (const EngineError& e) {
        try {
            table_->discardChanges();
        } catch (const EngineError& again) {
            error_ = QStringLiteral("The record was not saved: %1\nTaking the change back failed too: %2")
                         .arg(fromFile(e.what()), fromFile(again.what()));
            return false;
        }
        error_ = QStringLiteral("The record was not saved: %1").arg(fromFile(e.what()));
        return false;
    }
    buffer_.clear();
    modified_ = false;
    setState(TableState::Browse);
    if (durable) {
        // The record is in the files; only the wait for the disk is left.
        try {
            table_->commit();
        } catch (const EngineError& e) {
            error_ = QStringLiteral("The record was saved, but the disk did not confirm it: %1").arg(fromFile(e.what()));
        }
    }
    emitData();
    emitCurrent();
    return true;
}

void AddressTable::cancel()
{
    if (!editing())
        return;
    if (table_) {
        try {
            table_->discardChanges();   // nothing of a failed post stays behind
        } catch (const EngineError& e) {
            error_ = fromFile(e.what());
        }
    }
    buffer_.clear();
    memoBuffer_.clear();
    modified_ = false;
    setState(TableState::Browse);
    emitCurrent();
}

void AddressTable::setState(TableState s)
{
    const bool changed = state_ != s;
    state_ = s;
    if (changed && notify_)
        emit stateChanged();
}

// ---- order and filter ----

bool AddressTable::setOrder(const QString& tagName)
{
    if (!table_)
        return false;
    try {
        if (tagName.isEmpty()) {
            table_->setOrder(0);
        } else {
            const int n = table_->orderNumber(tagName.toStdString());
            if (n <= 0)
                return false;
            table_->setOrder(n);
        }
    } catch (const EngineError& e) {
        error_ = fromFile(e.what());
        return false;
    }
    order_ = tagName.toUpper();
    if (notify_)
        emit orderChanged();
    return true;
}

int AddressTable::orderNumber(const QString& tagName) const
{
    return table_ ? table_->orderNumber(tagName.toStdString()) : 0;
}

QStringList AddressTable::tagNames() const
{
    QStringList names;
    if (!table_)
        return names;
    for (std::size_t i = 1; i <= table_->tagCount(); ++i)
        names << QString::fromStdString(table_->tagName(i));
    return names;
}

bool AddressTable::setFilter(const QString& expression)
{
    if (!table_)
        return false;
    try {
        table_->setQuery(bytes(expression));
    } catch (const EngineError& e) {
        error_ = fromFile(e.what());
        return false;
    }
    filter_ = expression;
    emitData();
    return true;
}

quint32 AddressTable::visibleCount()
{
    if (!table_)
        return 0;
    try {
        return table_->queryRecCount();
    } catch (const EngineError& e) {
        error_ = fromFile(e.what());
        return 0;
    }
}

quint32 AddressTable::recordCount() const { return table_ ? table_->recCount() : 0; }

bool AddressTable::evalCondition(const QString& expression, bool* ok)
{
    if (ok)
        *ok = false;
    if (!table_ || !hasRecord())
        return false;
    try {
        const bool v = table_->evalLogical(bytes(expression));
        if (ok)
            *ok = true;
        return v;
    } catch (const EngineError& e) {
        error_ = fromFile(e.what());
        return false;
    }
}

// ---- seeking ----

bool AddressTable::seek(const QString& key, bool exact)
{
    if (!table_ || editing() || order_.isEmpty())
        return false;
    const quint32 here = table_->recNo();
    const bool wasOnRecord = hasRecord();
    bool found = false;
    try {
        table_->setExact(exact);
        found = table_->seek(bytes(key));
        table_->setExact(false);
        if (!found) {
            if (wasOnRecord)
                table_->go(here);
            else
                table_->goBottom(), table_->skip(1);
        }
    } catch (const EngineError& e) {
        table_->setExact(false);
        error_ = fromFile(e.what());
        return false;
    }
    emitCurrent();
    return found;
}

// ---- deletion and tagging ----

bool AddressTable::deleteCurrent()
{
    if (!table_ || !hasRecord())
        return false;
    if (editing())
        cancel();
    try {
        table_->replaceLogical("ISDEL", true);
        table_->deleteRecord();
        table_->commit();  // deleting is rare and must not come back after a crash
    } catch (const EngineError& e) {
        error_ = QStringLiteral("The record was not deleted: %1").arg(fromFile(e.what()));
        discardQuietly();
        return false;
    }
    emitData();
    return true;
}

bool AddressTable::setTagged(bool on)
{
    if (!table_ || !hasRecord() || editing())
        return false;
    try {
        table_->replace("TAG", bytes(on ? tagId_ : QString()));
        table_->postRecord();
    } catch (const EngineError& e) {
        error_ = fromFile(e.what());
        discardQuietly();
        return false;
    }
    emitData();
    return true;
}

// ---- reading without moving ----

std::vector<quint32> AddressTable::visibleRecords(const std::function<bool(int)>& progress)
{
    std::vector<quint32> rows;
    if (!table_)
        return rows;
    try {
        std::vector<std::uint32_t> found = table_->visibleRecordNumbers(progress);
        rows.assign(found.begin(), found.end());
    } catch (const EngineError& e) {
        error_ = fromFile(e.what());
    }
    return rows;
}

bool AddressTable::readRecord(quint32 recno, QStringList* values, const QStringList& names)
{
    if (!table_)
        return false;
    std::string rec;
    try {
        if (!table_->readRecord(recno, rec))
            return false;
    } catch (const EngineError& e) {
        error_ = fromFile(e.what());
        return false;
    }
    values->clear();
    const auto& defs = table_->fields();
    auto raw = [&](const QString& n) -> QString {
        const int i = table_->fieldIndex(n.toStdString());
        if (i < 0)
            return {};
        const auto& f = defs[size_t(i)];
        if (f.offset + f.length > rec.size())
            return {};
        std::string_view v(rec.data() + f.offset, f.length);
        if (f.type == 'L')
            return (v[0] == 'T' || v[0] == 't' || v[0] == 'Y' || v[0] == 'y') ? QStringLiteral("Yes") : QStringLiteral("No");
        while (!v.empty() && v.back() == ' ')
            v.remove_suffix(1);
        return fromFile(v);
    };
    for (const QString& n : names) {
        if (n.compare(QLatin1String("DisplayDate"), Qt::CaseInsensitive) == 0)
            *values << postavo::displayDate(raw(QStringLiteral("DATE")));
        else if (n.compare(QLatin1String("Tagged"), Qt::CaseInsensitive) == 0)
            *values << ((!tagId_.isEmpty() && raw(QStringLiteral("TAG")) == tagId_) ? QStringLiteral("Yes") : QStringLiteral("No"));
        else if (n.compare(QLatin1String("FullName"), Qt::CaseInsensitive) == 0)
            *values << postavo::fullName(raw("FNAME"), raw("MIDDLE"), raw("LNAME"));
        else if (n.compare(QLatin1String("FullNameWithPrefix"), Qt::CaseInsensitive) == 0)
            *values << postavo::fullNameWithPrefix(raw("PREFIX"), raw("FNAME"), raw("MIDDLE"), raw("LNAME"));
        else if (n.compare(QLatin1String("CityStateZip"), Qt::CaseInsensitive) == 0)
            *values << postavo::cityStateZip(raw("CITY"), raw("STATE"), raw("ZIP"));
        else
            *values << raw(n);
    }
    return true;
}

// ---- grids ----

QString AddressTable::gridLabel(const QString& column) const
{
    static const QMap<QString, QString> calculatedLabels = {
        {QStringLiteral("DISPLAYDATE"), QStringLiteral("Date")},
        {QStringLiteral("TAGGED"), QStringLiteral("Tagged")},
        {QStringLiteral("FULLNAME"), QStringLiteral("Full Name")},
        {QStringLiteral("FULLNAMEWITHPREFIX"), QStringLiteral("Full Name & Prefix")},
        {QStringLiteral("CITYSTATEZIP"), QStringLiteral("City, State & Zip")}};
    if (const Field* f = field(column))
        return f->label.isEmpty() ? f->name : f->label;
    return calculatedLabels.value(column.toUpper(), column);
}

bool AddressTable::gridEditable(const QString& column) const
{
    const Field* f = field(column);
    return f && f->type == 'C' && f->name != QLatin1String("TAG");
}

bool AddressTable::gridWrite(quint32 recno, const QString& column, const QString& value)
{
    if (!gridEditable(column) || editing())
        return false;
    if (recNo() != recno && !goTo(recno))
        return false;
    if (!edit())
        return false;
    setValue(column, value);
    if (!post()) {
        cancel();
        return false;
    }
    return true;
}

// ---- notifications ----

void AddressTable::setNotificationsEnabled(bool on) { notify_ = on; }

void AddressTable::emitCurrent()
{
    if (notify_)
        emit currentChanged();
}

void AddressTable::emitData()
{
    if (notify_)
        emit dataChanged();
}

// ---- progress ----

int RunningTotalProgress::report(int percent)
{
    if (percent > last_)
        total_ += percent - last_;
    last_ = percent;
    return position();
}

int RunningTotalProgress::position() const
{
    const double pos = std::nearbyint(double(total_) * 100.0 / double(divisor_));
    return int(std::min(100.0, pos));
}

// ---- address file operations ----

bool BuildAddressTags(AddressTable& table, const std::function<void(int)>& progress, int divisor)
{
    Table* t = table.engineTable();
    if (!t)
        return false;
    RunningTotalProgress bar(divisor);
    try {
        const std::string index = t->indexPath();
        t->closeIndexes();
        QFile::remove(QFile::decodeName(index.c_str()));
        if (progress)
            t->setProgressHook([&](int p) { progress(bar.report(p)); });
        t->indexTags(addressTagSpecs());
        t->setProgressHook({});
    } catch (const EngineError&) {
        t->setProgressHook({});
        return false;
    }
    return CheckValidIndex(table);
}

bool RebuildAddressFile(AddressTable& table, const std::function<void(const QString&, int)>& progress)
{
    Table* t = table.engineTable();
    if (!t)
        return false;
    try {
        if (progress)
            progress(QStringLiteral("Cleaning out old deleted records"), 0);
        const std::string index = t->indexPath();
        t->closeIndexes();
        QFile::remove(QFile::decodeName(index.c_str()));
        if (progress)
            t->setProgressHook([&](int p) { progress(QStringLiteral("Cleaning out old deleted records"), p); });
        t->pack();
        t->setProgressHook({});
    } catch (const EngineError&) {
        t->setProgressHook({});
        return false;
    }
    if (progress)
        progress(QStringLiteral("Rebuilding indexes"), 0);
    return BuildAddressTags(table, [&](int pos) {
        if (progress)
            progress(QStringLiteral("Rebuilding indexes"), pos);
    });
}

bool CheckValidIndex(const AddressTable& table)
{
    if (!table.isOpen())
        return false;
    for (const char* name : validIndexLookupOrder())
        if (table.orderNumber(QString::fromLatin1(name)) <= 0)
            return false;
    return true;
}

bool CreateAddressFile(const QString& path, const FieldLengths& lengths, AddressFileUi& ui)
{
    const std::vector<engine::FieldSpec> specs = addressFieldSpecs([&](const AddressFieldDef& f) {
        const QString name = QString::fromLatin1(f.name);
        return sanitisedFieldLength(name, lengths.value(name, f.defaultWidth));
    });
    try {
        Table::create(QFile::encodeName(path).toStdString(), specs);
    } catch (const EngineError&) {
        ui.showInformation(QStringLiteral("Create failed"));
        return false;
    }
    AddressTable creation;
    if (!QFileInfo::exists(path) || !creation.open(path)) {
        ui.showInformation(QStringLiteral("File creation failed"));
        return false;
    }
    if (!BuildAddressTags(creation)) {
        ui.showInformation(QStringLiteral("Unable to create index files"));
        ui.showInformation(QStringLiteral("File creation failed"));
        return false;
    }
    creation.close();
    return true;
}

bool OpenPVWDBF(AddressTable& table, const QString& path, AddressFileUi& ui, Settings& settings)
{
    if (path.isEmpty())
        return false;
    table.setFilter(QString());
    QString error;
    bool ok = table.open(path, &error);
    if (!ok) {
        if (!QFileInfo::exists(path))
            ui.showInformation(error);
        // The cause, when the file is there, follows the general message: it may say what to
        // do (records past the count: "postavo-db recover").
        QString cause;
        if (QFileInfo::exists(path) && !error.isEmpty())
            cause = QStringLiteral("\r\n\r\n") + error;
        ui.showInformation(QStringLiteral("Unable to open ") + path + QStringLiteral("\r\n\r\n")
                           + QStringLiteral(" * May not be ") + QStringLiteral("a Postavo") + QStringLiteral(" file.")
                           + QStringLiteral("\r\n") + QStringLiteral(" * May be in use by another program or user")
                           + cause);
        return false;
    }
    if (!CheckValidIndex(table)) {
        if (ui.askYesNo(QStringLiteral("The index file for ") + path + QStringLiteral("\r\n")
                            + QStringLiteral("is missing or invalid. Rebuild now?"),
                        QStringLiteral("Warning"))) {
            ui.rebuildIndexes(table);
            ok = CheckValidIndex(table);
        } else {
            ok = false;
        }
        if (!ok) {
            table.close();
            return false;
        }
    }
    updateMRUList(settings, path);
    return true;
}

QString mainWindowCaption(const QString& path) { return QStringLiteral("Postavo - ") + path; }

} // namespace postavo
