#pragma once
// The shipped tables LBLTPL.DBF and CSZ.DBF: built from the text files in data/ when the
// program is built, kept in the "shipped" folder beside the program, and copied into
// sysdata/ when missing there.

#include <QString>

namespace postavo {

// Builds both tables (with their index) in outDir from the csv files in csvDir.
bool buildShippedTables(const QString& csvDir, const QString& outDir, QString* error);
// The folder beside the program that holds the built tables.
QString shippedTablesDir();
// Copies each shipped table that sysdata/ lacks (DBF and CDX). Existing tables stay.
bool installShippedTables(const QString& sysdataDir, const QString& fromDir, QString* error);

} // namespace postavo
