#include "bulkedits.h"

#include "addressfile.h"
#include "rawrecords.h"
#include "recordengine.h"

namespace postavo {

using engine::EngineError;

namespace {

// Puts back the record engine's query and order the address table had, whatever a pass did.
class KeepView {
public:
    explicit KeepView(AddressTable& table) : table_(table), order_(table.engineTable()->order()) {}
    ~KeepView()
    {
        engine::Table* t = table_.engineTable();
        if (!t)
            return;
        try {
            t->setDeletedHidden(true);
            t->setQuery(AddressTable::toFile(table_.filter()));
            t->setOrder(order_);
        } catch (const EngineError&) {
        }
    }

private:
    AddressTable& table_;
    int order_;
};

QString errorText(const EngineError& e) { return AddressTable::fromFile(e.what()); }

// Stores what was posted; a failure here is the pass's failure.
void commitInto(engine::Table& t, BulkOutcome& out)
{
    try {
        t.commit();
    } catch (const EngineError& e) {
        if (out.error.isEmpty())
            out.error = errorText(e);
    }
}

} // namespace

// ---------------------------------------------------------------- case conversion

std::string convertCase(std::string_view value, CaseConversion how)
{
    std::string s(value);
    for (std::size_t i = 0; i < s.size(); ++i) {
        char& c = s[i];
        if (how == CaseConversion::Upper) {
            if (c >= 'a' && c <= 'z')
                c = char(c - 'a' + 'A');
        } else {
            if (c >= 'A' && c <= 'Z')
                c = char(c - 'A' + 'a');
            if (how == CaseConversion::Capitalise && (i == 0 || s[i - 1] == ' ') && c >= 'a' && c <= 'z')
                c = char(c - 'a' + 'A');
        }
    }
    return s;
}

QString convertCase(const QString& value, CaseConversion how)
{
    return AddressTable::fromFile(convertCase(AddressTable::toFile(value), how));
}

const std::vector<BulkField>& caseConversionFields()
{
    static const std::vector<BulkField> f = {
        {"LNAME", "Last"}, {"FNAME", "First"}, {"MIDDLE", "Middle"}, {"TITLE", "Title"},
        {"ORG", "Organization"}, {"STREET", "Address 1"}, {"STREET2", "Address 2"}, {"CITY", "City"},
        {"STATE", "State/Province"}, {"ZIP", "Zip/Postal Code"}, {"COUNTRY", "Country"}, {"PREFIX", "Prefix"},
        {"USER1", "Comment 1"}, {"USER2", "Comment 2"}, {"CODES", "Codes"}};
    return f;
}

BulkOutcome convertCaseOfRecords(AddressTable& table, const QStringList& fields, CaseConversion how, bool currentOnly,
                                 const PassStep& step)
{
    BulkOutcome out;
    engine::Table* t = table.engineTable();
    if (!t || table.editing())
        return out;
    // In the conversion's own order, whatever order the caller listed them in.
    std::vector<std::pair<std::string, RawField>> targets;
    for (const BulkField& f : caseConversionFields())
        if (fields.contains(QLatin1String(f.field), Qt::CaseInsensitive))
            if (const RawField s = rawField(*t, f.field); s.valid())
                targets.emplace_back(f.field, s);
    auto convertRecord = [&](const unsigned char* r) {
        bool changed = false;
        for (const auto& [name, slot] : targets) {
            const std::string_view v = trimmedBytes(r, slot);
            std::string c = convertCase(v, how);
            if (c != v) {
                t->replace(name, c);
                changed = true;
            }
        }
        ++out.visited;
        out.changed += changed;
    };
    const quint32 here = table.recNo();
    table.setNotificationsEnabled(false);
    try {
        if (currentOnly) {
            out.total = table.hasRecord() ? 1 : 0;
            if (out.total)
                convertRecord(t->recordData());
        } else {
            KeepView keep(table);
            out.total = t->queryRecCount();
            out.cancelled = !scanVisibleRecords(*t, [&](std::uint32_t, const unsigned char* r) { convertRecord(r); },
                                                step, [&] { return out.changed; });
        }
    } catch (const EngineError& e) {
        out.error = errorText(e);
    }
    commitInto(*t, out);
    table.setNotificationsEnabled(true);
    table.goTo(here);
    return out;
}

// ---------------------------------------------------------------- texts

QString bulk::deletedText(quint64 n) { return QStringLiteral("Deleted %1 records").arg(n); }
QString bulk::replacedText(quint64 n) { return QStringLiteral("Replaced %1 records").arg(n); }

QString bulk::stoppedText(const BulkOutcome& o, const QString& verb)
{
    const QString how = o.error.isEmpty() ? QStringLiteral("was cancelled")
                                          : QStringLiteral("stopped:\r\n") + o.error + QStringLiteral("\r\n");
    return QStringLiteral("The pass %1 after %2 of %3 records. %4 records were %5; the others are as they were.")
        .arg(how)
        .arg(o.visited)
        .arg(o.total)
        .arg(o.changed)
        .arg(verb);
}

// ---------------------------------------------------------------- deleting

BulkOutcome deleteRecords(AddressTable& table, DeleteChoice choice, const QString& filterText, const PassStep& step)
{
    BulkOutcome out;
    engine::Table* t = table.engineTable();
    if (!t || table.editing())
        return out;
    table.setNotificationsEnabled(false);
    {
        KeepView keep(table);
        try {
            t->setDeletedHidden(true);
            if (choice == DeleteChoice::All) {
                t->setQuery("!ISDEL");
                out.total = out.visited = out.changed = t->queryRecCount();
                t->zap();
            } else if (filterText.trimmed().isEmpty()) {
                out.error = QStringLiteral("No filter is set.");
            } else {
                // Records deleted before are not deleted (nor counted) again.
                const QString test = choice == DeleteChoice::MatchingFilter
                                         ? QStringLiteral("(") + filterText + QStringLiteral(")")
                                         : QStringLiteral(".not.(") + filterText + QStringLiteral(")");
                t->setQuery(AddressTable::toFile(test + QStringLiteral(" .and. !ISDEL")));
                std::vector<std::uint32_t> chosen;
                scanVisibleRecords(*t, [&](std::uint32_t recno, const unsigned char*) { chosen.push_back(recno); }, {});
                out.total = chosen.size();
                t->setOrder(0);
                for (std::uint32_t r : chosen) {
                    t->go(r);
                    t->replaceLogical("ISDEL", true);
                    t->deleteRecord();
                    ++out.visited;
                    ++out.changed;
                    if (step && stepDue(out.visited) && !step({out.visited, out.total, out.changed})) {
                        out.cancelled = true;
                        break;
                    }
                }
                if (step && !out.cancelled)
                    step({out.total, out.total, out.changed});
            }
        } catch (const EngineError& e) {
            out.error = errorText(e);
            // The record being marked was not stored: it is not counted.
            if (out.changed > 0 && choice != DeleteChoice::All)
                --out.changed;
        }
        commitInto(*t, out);
    }
    table.setNotificationsEnabled(true);
    table.first();
    return out;
}

// ---------------------------------------------------------------- search and replace

const std::vector<ReplaceTarget>& replaceTargets()
{
    static const std::vector<ReplaceTarget> t = {
        {"Last Name", "LNAME"}, {"First Name", "FNAME"}, {"Middle Initial", "MIDDLE"}, {"Title", "TITLE"},
        {"Organization", "ORG"}, {"Address 1", "STREET"}, {"Address 2", "STREET2"}, {"City", "CITY"},
        {"State", "STATE"}, {"Zip", "ZIP"}, {"Country", "COUNTRY"}, {"Phone 1", "PHONE"}, {"Phone 2", "PHONE2"},
        {"Email", "EMAIL"}, {"Fax", "FAX"}, {"Codes", "CODES"}, {"Comment 1", "USER1"}, {"Comment 2", "USER2"}};
    return t;
}

namespace {
const ReplaceTarget* findTarget(const QString& field)
{
    for (const ReplaceTarget& t : replaceTargets())
        if (field.compare(QLatin1String(t.field), Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}
QString quoted(const QString& s) { return QLatin1Char('"') + s + QLatin1Char('"'); }
} // namespace

QString replaceConfirmation(const ReplaceRequest& r)
{
    const ReplaceTarget* target = findTarget(r.field);
    const QString caption = target ? QString::fromLatin1(target->caption) : r.field;
    QString what;
    if (r.find.isEmpty())
        what = QStringLiteral("is empty ");
    else
        what = (r.exact ? QStringLiteral("exactly matches: ") : QStringLiteral("contains: ")) + quoted(r.find) +
               (r.caseSensitive ? QStringLiteral("  (case sensitive)") : QStringLiteral(" (not case sensitive)"));
    QString action;
    if (r.with.isEmpty())
        action = r.wholeField ? QStringLiteral("and delete the entire field ")
                              : QStringLiteral("and delete the matching text ");
    else
        action = (r.wholeField ? QStringLiteral("and replace the entire field with ")
                               : QStringLiteral("and replace only the matching text with ")) +
                 quoted(r.with);
    return QStringLiteral("Find records where field ") + caption + QLatin1Char('\r') + what + QLatin1Char('\r') + action;
}

QString checkReplaceRequest(const ReplaceRequest& r, const AddressTable& table)
{
    const ReplaceTarget* target = findTarget(r.field);
    if (!target)
        return QStringLiteral("%1 is not a field that can be searched and replaced.").arg(r.field);
    for (const QString* s : {&r.find, &r.with})
        if (!fitsCp1252(*s))
            return QStringLiteral("\"%1\" holds characters that an address file cannot store.").arg(*s);
    const int width = table.fieldWidth(QLatin1String(target->field));
    if (r.find.size() > width)
        return QStringLiteral("The search text is longer than the field %1 (%2 characters): no record can hold it.")
            .arg(QLatin1String(target->caption))
            .arg(width);
    return {};
}

bool replaceTestMatches(std::string_view paddedField, std::string_view find, bool exact, bool caseSensitive)
{
    if (find.empty()) {
        for (char c : paddedField)
            if (c != ' ')
                return false;
        return true;
    }
    const std::string upper = caseSensitive ? std::string() : upperBytes(paddedField);
    const std::string_view field = caseSensitive ? paddedField : std::string_view(upper);
    if (exact)
        return field.size() >= find.size() && field.substr(0, find.size()) == find;
    return field.find(find) != std::string_view::npos;
}

std::string replaceMatchingText(std::string_view value, std::string_view find, std::string_view with,
                                bool caseSensitive, int limit)
{
    if (find.empty())
        return value.empty() ? std::string(with) : std::string(value);
    const std::string upperValue = caseSensitive ? std::string() : upperBytes(value);
    const std::string upperFind = caseSensitive ? std::string() : upperBytes(find);
    const std::string_view hay = caseSensitive ? value : std::string_view(upperValue);
    const std::string_view needle = caseSensitive ? find : std::string_view(upperFind);
    std::string out;
    std::size_t at = 0;
    for (int n = 0; n < limit; ++n) {
        const std::size_t hit = hay.find(needle, at);
        if (hit == std::string_view::npos)
            break;
        out.append(value.substr(at, hit - at));
        out.append(with);
        at = hit + needle.size();
    }
    out.append(value.substr(at));
    return out;
}

ReplacePlan planReplacement(AddressTable& table, const ReplaceRequest& r, const PassStep& step)
{
    ReplacePlan plan;
    engine::Table* t = table.engineTable();
    if (!t || table.editing())
        return plan;
    plan.error = checkReplaceRequest(r, table);
    if (!plan.error.isEmpty())
        return plan;
    plan.field = r.field.toUpper();
    const RawField slot = rawField(*t, plan.field.toStdString());
    plan.width = slot.length;
    const std::string findBytes = AddressTable::toFile(r.find);
    const std::string test = r.caseSensitive ? findBytes : upperBytes(findBytes);
    const std::string with = AddressTable::toFile(r.with);
    table.setNotificationsEnabled(false);
    {
        KeepView keep(table);
        try {
            const QString scope = r.scopeFilter.trimmed().isEmpty()
                                      ? QStringLiteral("!ISDEL")
                                      : QStringLiteral("(") + r.scopeFilter + QStringLiteral(") .and. !ISDEL");
            t->setDeletedHidden(true);
            t->setQuery(AddressTable::toFile(scope));
            plan.cancelled = !scanVisibleRecords(*t, [&](std::uint32_t recno, const unsigned char* rec) {
                ++plan.visited;
                if (!replaceTestMatches(paddedBytes(rec, slot), test, r.exact, r.caseSensitive))
                    return;
                std::string value = r.wholeField
                                        ? with
                                        : replaceMatchingText(trimmedBytes(rec, slot), findBytes, with, r.caseSensitive);
                while (!value.empty() && value.back() == ' ')
                    value.pop_back();
                if (value.size() > slot.length)
                    plan.tooLong.push_back(recno);
                else
                    plan.changes.emplace_back(recno, std::move(value));
            }, step, [&] { return plan.matched(); });
        } catch (const EngineError& e) {
            plan.error = errorText(e);
        }
    }
    table.setNotificationsEnabled(true);
    return plan;
}

BulkOutcome applyReplacement(AddressTable& table, const ReplacePlan& plan, const PassStep& step)
{
    BulkOutcome out;
    engine::Table* t = table.engineTable();
    if (!t || table.editing() || !plan.error.isEmpty())
        return out;
    out.total = plan.changes.size();
    table.setNotificationsEnabled(false);
    {
        KeepView keep(table);
        try {
            t->setOrder(0);
            const std::string field = plan.field.toStdString();
            for (const auto& [recno, value] : plan.changes) {
                t->go(recno);
                t->replace(field, value);
                ++out.visited;
                ++out.changed;
                if (step && stepDue(out.visited) && !step({out.visited, out.total, out.changed})) {
                    out.cancelled = true;
                    break;
                }
            }
            if (step && !out.cancelled)
                step({out.total, out.total, out.changed});
        } catch (const EngineError& e) {
            out.error = errorText(e);
            if (out.changed > 0)
                --out.changed;
        }
        commitInto(*t, out);
    }
    table.setNotificationsEnabled(true);
    table.first();
    return out;
}

QString tooLongText(const ReplacePlan& plan, const QString& caption)
{
    return QStringLiteral("%1 records were left unchanged: the new value would be longer than %2 (%3 characters).")
        .arg(plan.tooLong.size())
        .arg(caption)
        .arg(plan.width);
}

} // namespace postavo
