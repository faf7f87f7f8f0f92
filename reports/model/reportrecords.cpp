#include "reportrecords.h"

#include "addressfile.h"
#include "cp1252.h"
#include "engine/recordengine.h"

#include <array>
#include <utility>

namespace postavo::reports {

namespace {

using Member = QString ReportRecord::*;

const std::array<std::pair<const char*, Member>, 20>& recordFields()
{
    static const std::array<std::pair<const char*, Member>, 20> fields = {{
        {"LNAME", &ReportRecord::lname},     {"FNAME", &ReportRecord::fname},
        {"MIDDLE", &ReportRecord::middle},   {"PREFIX", &ReportRecord::prefix},
        {"TITLE", &ReportRecord::title},     {"ORG", &ReportRecord::org},
        {"STREET", &ReportRecord::street},   {"STREET2", &ReportRecord::street2},
        {"CITY", &ReportRecord::city},       {"STATE", &ReportRecord::state},
        {"ZIP", &ReportRecord::zip},         {"COUNTRY", &ReportRecord::country},
        {"DATE", &ReportRecord::date},       {"PHONE", &ReportRecord::phone},
        {"PHONE2", &ReportRecord::phone2},   {"FAX", &ReportRecord::fax},
        {"EMAIL", &ReportRecord::email},     {"CODES", &ReportRecord::codes},
        {"USER1", &ReportRecord::user1},     {"USER2", &ReportRecord::user2},
    }};
    return fields;
}

QString trimmedField(const unsigned char* data, const engine::DbfField& f)
{
    const char* p = reinterpret_cast<const char*>(data) + f.offset;
    std::size_t n = f.length;
    while (n > 0 && (p[n - 1] == ' ' || p[n - 1] == '\0'))
        --n;
    return fromCp1252(std::string_view(p, n));
}

} // namespace

QString selectionQuery(RecordChoice which, quint32 recno)
{
    switch (which) {
    case RecordChoice::All: return QStringLiteral("UPPER(PREFIX)<>\"DELETED\"");
    case RecordChoice::Current: return QStringLiteral("Recno()=") + QString::number(recno);
    case RecordChoice::Filter: break;
    }
    return {};
}

// ---- ReportRecordScope ----

ReportRecordScope::ReportRecordScope(AddressTable& table)
    : table_(table), order_(table.order()), query_(table.filter()), recno_(table.recNo())
{
}

ReportRecordScope::~ReportRecordScope()
{
    if (!table_.isOpen())
        return;
    table_.setOrder(order_);
    table_.setFilter(query_);
    try {
        if (auto* t = table_.engineTable())
            t->clearScope();
    } catch (const engine::EngineError&) {
    }
    if (recno_ > 0)
        table_.goTo(recno_);
}

bool ReportRecordScope::select(const RecordSelection& selection, const QString& orderTag, bool seekFromZero,
                               const std::function<void(const QString&)>& inform, QString* error)
{
    auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (!table_.isOpen())
        return fail(QStringLiteral("No address file is open."));
    if (!orderTag.isEmpty() && !table_.setOrder(orderTag))
        return fail(QStringLiteral("The address file has no index tag %1; rebuild its indexes.").arg(orderTag));
    if (selection.which != RecordChoice::Filter) {
        const QString query = selectionQuery(selection.which, recno_);
        if (!table_.setFilter(query))
            return fail(table_.lastError());
    }
    if (selection.startFromCurrent && recno_ > 0) {
        table_.goTo(recno_);
        // The engine goes to any record asked for; it starts the run only if the choice shows it.
        bool ok = table_.hasRecord() && table_.recNo() == recno_;
        if (ok) {
            try {
                ok = !table_.engineTable()->isDeleted();
            } catch (const engine::EngineError&) {
                ok = false;
            }
        }
        if (ok && !table_.filter().isEmpty()) {
            bool evaluated = false;
            ok = table_.evalCondition(table_.filter(), &evaluated) && evaluated;
        }
        if (ok)
            return true;
        if (inform)
            inform(QString::fromLatin1(kOutOfRangeMessage));
    }
    table_.first();
    if (seekFromZero && table_.hasRecord()) {
        try {
            engine::Table* t = table_.engineTable();
            t->setExact(false);
            t->setSoftSeek(true);
            t->seek("0");
            t->setSoftSeek(false);
        } catch (const engine::EngineError& e) {
            table_.engineTable()->setSoftSeek(false);
            return fail(fromCp1252(std::string_view(e.what())));
        }
    }
    return true;
}

// ---- TableRecords ----

TableRecords::TableRecords(AddressTable& table, bool withMemo) : table_(table.engineTable()), withMemo_(withMemo)
{
    if (!table_)
        return;
    for (const auto& field : recordFields())
        index_.push_back(table_->fieldIndex(field.first));
}

bool TableRecords::atEnd()
{
    if (!table_ || !error_.isEmpty())
        return true;
    return table_->eof() || table_->recNo() == 0;
}

const ReportRecord& TableRecords::current()
{
    if (loaded_ || atEnd())
        return record_;
    const unsigned char* data = table_->recordData();
    const auto& fields = table_->fields();
    const auto& members = recordFields();
    for (std::size_t i = 0; i < members.size(); ++i) {
        const int at = index_[i];
        record_.*(members[i].second) = at >= 0 ? trimmedField(data, fields[std::size_t(at)]) : QString();
    }
    record_.recno = table_->recNo();
    record_.memo.clear();
    if (withMemo_) {
        try {
            record_.memo = fromCp1252(table_->getMemo("MEMO"));
        } catch (const engine::EngineError&) {
            record_.memo.clear(); // a damaged memo prints as none rather than ending the run
        }
    }
    loaded_ = true;
    return record_;
}

void TableRecords::next()
{
    if (atEnd())
        return;
    loaded_ = false;
    try {
        table_->skip(1);
    } catch (const engine::EngineError& e) {
        error_ = fromCp1252(std::string_view(e.what()));
    }
}

ReportRecord readCurrentRecord(AddressTable& table)
{
    TableRecords source(table, true);
    ReportRecord r;
    if (!source.atEnd())
        r = source.current();
    return r;
}

} // namespace postavo::reports
