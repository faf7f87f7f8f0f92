#include "fieldmatch.h"

#include "addressfile.h"

namespace postavo::transfer {

namespace {
// Hidden, logical and memo fields (DATE, ISDEL, TAG, MEMO) are never offered.
const char* const kImportable[] = {"LNAME",   "FNAME",   "MIDDLE", "PREFIX", "TITLE", "ORG",    "STREET",
                                   "STREET2", "CITY",    "STATE",  "ZIP",    "COUNTRY", "PHONE", "PHONE2",
                                   "FAX",     "EMAIL",   "CODES",  "USER1",  "USER2"};
} // namespace

QVector<ImportableField> importableAddressFields(const AddressTable* table)
{
    QVector<ImportableField> out;
    const AddressTable defaults;
    const AddressTable& t = table ? *table : defaults;
    // In the file's field order, which is the order of the definitions.
    for (const AddressTable::Field& f : t.fields()) {
        bool offered = false;
        for (const char* name : kImportable)
            offered = offered || f.name == QLatin1String(name);
        if (offered && f.visible)
            out.push_back({f.name, f.label});
    }
    return out;
}

FieldMatchGrid::FieldMatchGrid(const QVector<ImportableField>& fields, bool withMemoRow)
{
    for (const ImportableField& f : fields)
        rows_.push_back({f.field, f.label, QString(), false});
    if (withMemoRow)
        rows_.push_back({QStringLiteral("MEMO"), QString::fromLatin1(kMemoRowLabel), QString(), true});
}

int FieldMatchGrid::rowOfSource(const QString& source) const
{
    if (source.isEmpty())
        return -1;
    for (int i = 0; i < rowCount(); ++i)
        if (rows_[i].source == source)
            return i;
    return -1;
}

int FieldMatchGrid::rowOfField(const QString& field) const
{
    for (int i = 0; i < rowCount(); ++i)
        if (rows_[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void FieldMatchGrid::setSources(const QStringList& sources, const QStringList& memoSources)
{
    sources_ = sources;
    memoSources_ = memoSources;
}

QStringList FieldMatchGrid::menuFor(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return rows_[row].memo ? memoSources_ : sources_;
}

void FieldMatchGrid::choose(int row, const QString& source)
{
    if (row < 0 || row >= rowCount())
        return;
    if (!source.isEmpty())
        for (Row& r : rows_)
            if (r.source == source)
                r.source.clear();
    rows_[row].source = source;
}

void FieldMatchGrid::clearAll()
{
    for (Row& r : rows_)
        r.source.clear();
}

bool FieldMatchGrid::anyMatched() const
{
    for (const Row& r : rows_)
        if (!r.source.isEmpty())
            return true;
    return false;
}

void FieldMatchGrid::preMatch(const QStringList& sources, const QStringList& memoSources)
{
    clearAll();
    for (const QString& s : sources) {
        for (Row& r : rows_) {
            if (r.memo || !r.source.isEmpty())
                continue;
            if (r.label.compare(s, Qt::CaseInsensitive) == 0 || r.field.compare(s, Qt::CaseInsensitive) == 0) {
                r.source = s;
                break;
            }
        }
    }
    for (const QString& s : memoSources) {
        for (Row& r : rows_) {
            if (r.memo && r.source.isEmpty()) {
                r.source = s;
                break;
            }
        }
        break;  // only the first memo source is a candidate
    }
}

} // namespace postavo::transfer
