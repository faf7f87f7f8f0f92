#pragma once
// Query values, the filter expression built from them, filter files and tag ids.

#include <QDateTime>
#include <QString>

#include <array>
#include <optional>

namespace postavo {

inline constexpr int kQueryValueCount = 18;

struct QueryValues {
    std::array<QString, kQueryValueCount> values;  // in the order of queryFieldExpressions()
    bool taggedOnly = false;
    bool reverse = false;

    void clear() { *this = QueryValues{}; }
    bool operator==(const QueryValues&) const = default;
};

// The field expression each query value's condition is built on, in query order
// (LNAME, FNAME, TITLE, ORG, STREET, STREET2, ZIP, CITY+STATE, STATE, ...).
const std::array<const char*, kQueryValueCount>& queryFieldExpressions();
// Index of the query value built on `field` (a field name; "CITY" finds the city value), -1.
int queryIndexForField(const QString& field);

// A string literal of the expression dialect holding `text` exactly, whatever quotes it holds.
QString quoteLiteral(const QString& text);
// The condition for one query value on one field expression; lists with ";", "+" and "^".
QString fieldCondition(const QString& fieldExpr, const QString& value);
// All query values to one filter expression; empty when nothing is set.
QString BuildQueryString(const QueryValues& q, const QString& tagId);

// What every view of an address file applies: the filter followed by ".and. !ISDEL", or
// "!ISDEL" alone.
inline constexpr int kMaxAppliedFilterLength = 255;
inline constexpr int kMaxFilterLength = kMaxAppliedFilterLength - 12;
QString appliedFilterExpression(const QString& filter);
inline bool filterTooComplex(const QString& filter) { return filter.size() + 12 > kMaxAppliedFilterLength; }

// Filter files: 20 lines, CR LF; lines 19 and 20 "T" or "F".
bool SaveFilterTo(const QString& path, const QueryValues& q, QString* error = nullptr);
std::optional<QueryValues> RestoreFilterFrom(const QString& path, QString* error = nullptr);

// Tag ids: (year - 1995) in base 36, then mmddhhnnss in base 36 (six digits).
QString toBase36(quint64 n);
QString makeTagId(const QDateTime& when);
inline QString makeTagId() { return makeTagId(QDateTime::currentDateTime()); }

} // namespace postavo
