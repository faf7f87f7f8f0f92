#pragma once
// Address files with given records, for the tests that read or print them.
#include <QMap>
#include <QString>
#include <vector>

namespace postavo::testing {
// Creates an address file at `path` (and its folder) holding one record per map (field name ->
// value; "MEMO" is the memo). False when it cannot be made or a value cannot be set.
bool makeAddressRecords(const QString& path, const std::vector<QMap<QString, QString>>& records);
} // namespace postavo::testing
