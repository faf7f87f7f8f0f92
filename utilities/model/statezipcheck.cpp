#include "statezipcheck.h"

#include "addressfile.h"
#include "catalogues.h"
#include "programfolder.h"
#include "rawrecords.h"
#include "recordengine.h"
#include "shippedcatalogues.h"

#include <QDir>
#include <QFileInfo>

namespace postavo {

using engine::EngineError;

namespace {
std::string_view trimBlanks(std::string_view v)
{
    while (!v.empty() && v.back() == ' ')
        v.remove_suffix(1);
    return v;
}
} // namespace

bool zipInRange(std::string_view zip, const ZipRange& range)
{
    if (zip < std::string_view(range.low))
        return false;
    const std::string_view head = zip.substr(0, std::min(zip.size(), range.high.size()));
    return head <= std::string_view(range.high);
}

StateZipTable StateZipTable::fromTable(engine::Table& csz)
{
    StateZipTable t;
    const RawField state = rawField(csz, "STATE");
    const RawField low = rawField(csz, "LOW_ZIP");
    const RawField high = rawField(csz, "HIGH_ZIP");
    if (!state.valid() || !low.valid() || !high.valid())
        throw EngineError(EngineError::Kind::Corrupt, csz.path(), "not a state table: STATE, LOW_ZIP or HIGH_ZIP missing");
    csz.setDeletedHidden(true);
    scanVisibleRecords(csz, [&](std::uint32_t, const unsigned char* r) {
        t.addRow(trimmedBytes(r, state), trimmedBytes(r, low), trimmedBytes(r, high));
    }, {});
    return t;
}

StateZipTable StateZipTable::fromRows(const QList<CszRow>& rows)
{
    StateZipTable t;
    for (const CszRow& r : rows)
        t.addRow(r.state.toLatin1().constData(), r.lowZip.toLatin1().constData(), r.highZip.toLatin1().constData());
    return t;
}

void StateZipTable::addRow(std::string_view state, std::string_view low, std::string_view high)
{
    // The table is looked up on its tag, UPPER(STATE).
    const std::string key = upperBytes(trimBlanks(state));
    if (key.empty())
        return;
    states_[key].push_back({std::string(trimBlanks(low)), std::string(trimBlanks(high))});
}

const std::vector<ZipRange>* StateZipTable::ranges(std::string_view state) const
{
    state = trimBlanks(state);
    if (state.empty())
        return nullptr;
    const auto it = states_.find(state);
    return it == states_.end() ? nullptr : &it->second;
}

bool StateZipTable::questionable(std::string_view state, std::string_view zip) const
{
    const std::vector<ZipRange>* rows = ranges(state);
    if (!rows)
        return true;
    zip = trimBlanks(zip);
    for (const ZipRange& r : *rows)
        if (zipInRange(zip, r))
            return false;
    return true;
}

QString statezip::foundText(quint64 count)
{
    return QStringLiteral("Found %1 records with questionable state or zipcodes").arg(count);
}

StateZipOutcome findQuestionableStatesAndZips(engine::Table& table, const StateZipTable& states, bool includeBlank,
                                              const PassStep& step)
{
    StateZipOutcome out;
    const RawField state = rawField(table, "STATE");
    const RawField zip = rawField(table, "ZIP");
    const RawField last = rawField(table, "LNAME");
    const RawField first = rawField(table, "FNAME");
    if (!state.valid() || !zip.valid()) {
        out.error = QStringLiteral("The file has no STATE or ZIP field.");
        return out;
    }
    try {
        out.cancelled = !scanVisibleRecords(table, [&](std::uint32_t recno, const unsigned char* r) {
            ++out.checked;
            const std::string_view s = trimmedBytes(r, state);
            const std::string_view z = trimmedBytes(r, zip);
            if (!includeBlank && (s.empty() || z.empty()))
                return;
            if (!states.questionable(s, z))
                return;
            StateZipFinding f;
            f.recno = recno;
            f.lastName = AddressTable::fromFile(trimmedBytes(r, last));
            f.firstName = AddressTable::fromFile(trimmedBytes(r, first));
            f.state = AddressTable::fromFile(s);
            f.zip = AddressTable::fromFile(z);
            out.found.push_back(std::move(f));
        }, step, [&] { return quint64(out.found.size()); });
    } catch (const EngineError& e) {
        out.error = AddressTable::fromFile(e.what());
    }
    return out;
}

QString stateTablePath(const QString& sysdataDir)
{
    QString dir = sysdataDir.isEmpty() ? ProgramFolder::sysdataPath() : sysdataDir;
    if (!dir.endsWith('/'))
        dir += '/';
    const QString path = resolveFileName(dir + QString::fromLatin1(catalogueDef(Catalogue::States).fileName));
    return QFileInfo::exists(path) ? path : QString();
}

// ---------------------------------------------------------------- the window's check

StateZipCheck::StateZipCheck(AddressTable& table, QString sysdataDir)
    : table_(table), sysdata_(std::move(sysdataDir)), index_(table)
{
}

StateZipCheck::~StateZipCheck() { close(); }

QString StateZipCheck::subsetIndexPath() const
{
    return QFileInfo(table_.path()).absolutePath() + QLatin1Char('/') + QLatin1String(statezip::kSubsetIndexName);
}

bool StateZipCheck::run(bool includeBlank, const PassStep& step, QString* message)
{
    engine::Table* t = table_.engineTable();
    if (!t || running_)
        return false;
    if (stateTablePath(sysdata_).isEmpty()) {
        *message = QString::fromLatin1(statezip::kMissingTable);
        return false;
    }
    QString openMessage;
    std::unique_ptr<engine::Table> csz = openCatalogue(Catalogue::States, &openMessage, sysdata_);
    std::optional<StateZipTable> states;
    if (csz) {
        try {
            states = StateZipTable::fromTable(*csz);
        } catch (const EngineError&) {
            openMessage = QString::fromLatin1(catalogueDef(Catalogue::States).openFailure);
        }
        csz.reset();
    }
    if (!states) {
        *message = openMessage;
        return false;
    }
    running_ = true;
    shown_ = false;
    QString error;
    if (!index_.create(subsetIndexPath(), QString::fromLatin1(statezip::kSubsetKey), &error)) {
        running_ = false;
        *message = error;
        return false;
    }
    table_.setNotificationsEnabled(false);
    outcome_ = findQuestionableStatesAndZips(*t, *states, includeBlank, step);
    std::vector<std::uint32_t> recnos;
    recnos.reserve(outcome_.found.size());
    for (const StateZipFinding& f : outcome_.found)
        recnos.push_back(f.recno);
    if (!index_.add(recnos, &error) && outcome_.error.isEmpty())
        outcome_.error = error;
    index_.activate();
    table_.setNotificationsEnabled(true);
    table_.first();
    running_ = false;
    shown_ = true;
    if (!outcome_.error.isEmpty())
        *message = outcome_.error;
    return outcome_.error.isEmpty();
}

void StateZipCheck::close()
{
    index_.remove();
    shown_ = false;
}

} // namespace postavo
