#pragma once
// Comma-delimited text: reading a file line by line (or, for quoted values as spreadsheets
// write them, record by record) as Windows-1252 bytes, and splitting a line into its values.
//
// Two ways of splitting. The classic one is what the text import has always done: commas inside
// double quotes are protected, a value that starts and ends with a double quote loses those two,
// and a doubled quote is not an escaped quote. The RFC 4180 one reads quoted values as
// spreadsheets write them: a doubled quote inside quotes is one quote, and a quoted value may
// hold commas and line breaks.

#include "textencoding.h"

#include <QFile>
#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace postavo::transfer {

inline constexpr std::size_t kMaxLineCharacters = 2048;  // the rest of a longer line is skipped
inline constexpr int kMaxColumns = 255;
inline constexpr int kSampleLines = 10;

// How a text file is read; each option beyond the defaults is the user's choice.
struct TextReadOptions {
    TextEncoding encoding = TextEncoding::Detect;
    bool rfc4180 = false;     // quoted values as spreadsheets write them
    bool headerLine = false;  // the first line names the columns and is not imported
};

// The classic split: every piece between unprotected commas, empty pieces included; each value
// final (protected commas back, one pair of enclosing quotes dropped). `fields` is reused.
void splitClassicLine(std::string_view line, std::vector<std::string>& fields);
// One value of the classic split as it is used: a value that starts and ends with a double
// quote loses those two characters.
std::string_view classicFieldValue(std::string_view piece);
// The RFC 4180 split of one record (which may hold line breaks inside quoted values).
void splitRfc4180Record(std::string_view record, std::vector<std::string>& fields);
inline void splitRecord(std::string_view record, bool rfc4180, std::vector<std::string>& fields)
{
    rfc4180 ? splitRfc4180Record(record, fields) : splitClassicLine(record, fields);
}

// Reads records from a text file: a line ends with CR LF, LF or CR, and a last line without an
// ending still counts; with RFC 4180 a line break inside a quoted value does not end the
// record. Each record comes as Windows-1252 bytes, at most kMaxLineCharacters characters.
// Memory stays small whatever the lines' lengths.
class TextRecordReader {
public:
    // `encoding` is Utf8 or Windows1252 (a UTF-8 byte-order mark is skipped either way).
    bool open(const QString& path, TextEncoding encoding, bool rfc4180, QString* error);
    void close();

    enum class Status { Record, End, Failed };
    Status next(std::string& record);
    // Skips a record without converting it (counting).
    Status skip();
    bool lastWasCut() const { return cut_; }   // the last record was longer than the limit
    QString error() const { return error_; }
    const UnstorableTally& tally() const { return tally_; }
    std::uint64_t records() const { return records_; }

private:
    bool fill();
    // One physical line into raw_ (up to `cap` bytes kept); false at the end of the file.
    bool readLine(bool keep);

    QFile file_;
    TextEncoding encoding_ = TextEncoding::Windows1252;
    bool rfc4180_ = false;
    std::vector<char> buf_;
    std::size_t pos_ = 0, end_ = 0;
    bool eof_ = false;
    bool failed_ = false;
    bool cut_ = false;
    bool overflow_ = false;
    std::uint64_t quotes_ = 0;  // double quotes seen in the current record
    std::string raw_;
    std::uint64_t records_ = 0;
    QString error_;
    UnstorableTally tally_;
};

// The number of records the file holds (lines, or RFC 4180 records); -1 with `error` set when
// the file cannot be read.
std::int64_t countTextRecords(const QString& path, bool rfc4180, QString* error);

} // namespace postavo::transfer
