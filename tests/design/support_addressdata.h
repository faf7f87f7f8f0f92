#pragma once
// Address files for the design object tests.
#include <QMap>
#include <QString>
#include <vector>

namespace postavo::testing {
// Creates an address file at `path` holding one record per map (field name -> value; "MEMO" is
// the memo). False when it cannot be made.
bool makeAddressRecords(const QString& path, const std::vector<QMap<QString, QString>>& records);
} // namespace postavo::testing
