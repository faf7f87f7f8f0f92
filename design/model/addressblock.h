#pragma once
// The address block: which fields of an address record make which lines, in which order, and how
// the parts of a line are joined. The record is reached through a field getter so the rule runs
// on an address table, a test's map or anything else that names fields.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace postavo::design::addressblock {

// Where the zip goes (the object's ZipOptions, in the same order).
enum class ZipPlace { AfterState = 0, BeforeCity = 1, AfterCountry = 2, BeforeCountry = 3 };

struct Options {
    bool useName = true, useTitle = true, useCompany = true, useStreet = true, useStreet2 = true,
         useCityState = true, useZip = true, usePhone = false, useCountry = true;
    ZipPlace zip = ZipPlace::AfterState;
    bool upperCase = false;
};

// A field's value as text by its name (LNAME, CITY...); nothing when the field cannot be read,
// which ends the block with the lines made so far.
using FieldGetter = std::function<std::optional<QString>(const QString& field)>;

QStringList compose(const Options& options, const FieldGetter& field);

// The parts of the rule, for the record text and the tests.
QString ltrim(const QString& s);
QString nameLine(const QString& prefix, const QString& first, const QString& middle, const QString& last);
// Capitals as the record engine makes them: one letter for one letter.
QString upper(const QString& s);

} // namespace postavo::design::addressblock
