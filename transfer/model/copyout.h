#pragma once
// The export ("Copy Records Out"): the records an address table shows (its filter, its order,
// from the first on) copied to a new DBF table with the address file's structure and memo, to a
// comma-delimited text file with every value in double quotes, or to vCard 3.0.
//
// The file under the name asked for is only ever complete: the copy is written beside it under
// another name and put in place when it ends (also after a stop, with the records copied so far).
// A failure leaves no half-written file and an existing file of that name as it was.

#include "importrun.h"
#include "textencoding.h"

#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace postavo::engine {
class Table;
}

namespace postavo::transfer {

enum class ExportFormat { Dbf, Text, VCard };

struct ExportOptions {
    ExportFormat format = ExportFormat::Dbf;
    // Text: Windows-1252 as the address file holds it, or UTF-8 (with a byte-order mark, so that
    // spreadsheets recognise it).
    TextEncoding encoding = TextEncoding::Windows1252;
    // Text: a double quote inside a value is doubled, as RFC 4180 readers expect; by default
    // values are written unchanged.
    bool rfc4180 = false;
};

// The 20 fields of a text line, in the order they are written.
const std::array<const char*, 20>& textExportFields();
// Appends one line (values as Windows-1252 bytes) with its CR LF.
void appendTextLine(std::string& out, const std::array<std::string_view, 20>& values, const ExportOptions& options);

// What a chosen target asks before the copy may start.
enum class TargetCheck { Ok, WrongExtension, Self, Exists };
// WrongExtension: "Must have a .DBF extension" (DBF targets); Self: "Cannot copy a file to itself!";
// Exists: the overwrite question (exportOverwriteQuestion). `message` gets the text.
TargetCheck checkExportTarget(const QString& path, ExportFormat format, const QString& addressPath, QString* message);
QString exportOverwriteQuestion(const QString& path);
inline constexpr const char* kExportOverwriteCaption = "Warning!";

struct ExportResult {
    std::uint64_t written = 0;
    bool stopped = false;
    bool failed = false;
    QString cause;
};
// "There was an error copying" with the cause and what became of the target.
QString exportFailureMessage(const ExportResult& r, const QString& target);

// Copies the records `source` shows, from its first on; `count` is the number the filter
// shows (the bar's full count; a text copy stops after that many). Status "Copying to " + target.
ExportResult copyRecordsOut(engine::Table& source, std::uint32_t count, const QString& target,
                            const ExportOptions& options, TransferProgress& progress);

} // namespace postavo::transfer
