#pragma once
// Text files arrive as UTF-8 (today's spreadsheets, with or without a byte-order mark) or as
// Windows-1252 (older programs); address files hold Windows-1252. These functions decide which a
// file is, and convert between the two on raw bytes, fast enough for files of millions of lines.
// A character Windows-1252 has no byte for is stored as "?" and counted, never silently lost.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace postavo::transfer {

enum class TextEncoding { Detect, Utf8, Windows1252 };

QString encodingName(TextEncoding e);  // "UTF-8", "Windows-1252", "detected"
// "utf-8", "utf8", "windows-1252", "cp1252", "auto"/"detect" in any letter case.
std::optional<TextEncoding> encodingFromName(const QString& name);

// What a look at a whole file says about it.
struct TextFileVerdict {
    TextEncoding encoding = TextEncoding::Windows1252;
    bool byteOrderMark = false;  // a UTF-8 mark opens the file (it is not part of the text)
    QString refusal;             // not a text file this program reads: why, in the user's words
};
// A UTF-8 mark means UTF-8. NUL bytes mean a binary file (or UTF-16, named as such). Text that
// is valid UTF-8 and holds at least one multi-byte character is UTF-8; anything else is
// Windows-1252 (plain ASCII reads the same either way). `error` is set when the file cannot be
// read at all.
TextFileVerdict examineTextFile(const QString& path, QString* error);
// The same decision over bytes in memory (the whole text).
TextFileVerdict examineText(std::string_view bytes);

// Counts the characters that a conversion to Windows-1252 had to store as "?", and keeps the
// first few distinct ones to name them.
class UnstorableTally {
public:
    void add(char32_t c);
    std::uint64_t count() const { return count_; }
    QStringList samples() const { return samples_; }
    // "2 characters that Windows-1252 cannot hold were stored as "?": Ł (U+0141), ż (U+017C)."
    QString describe() const;
    void clear();

private:
    std::uint64_t count_ = 0;
    QStringList samples_;
};

inline constexpr int kMaxTallySamples = 8;

// Appends the Windows-1252 bytes of UTF-8 text to `out`, at most `limit` characters; returns how
// many input bytes were used (all of them unless the limit stopped it). Characters without a
// Windows-1252 byte become "?" and go to `tally`; a byte that is not valid UTF-8 is taken as the
// Windows-1252 character it would be.
std::size_t utf8ToCp1252(std::string_view utf8, std::string& out, UnstorableTally* tally,
                         std::size_t limit = std::string::npos);
// The Windows-1252 bytes of a text; characters without one become "?" and go to `tally`.
std::string toCp1252Counted(const QString& text, UnstorableTally* tally);
// Appends the UTF-8 form of Windows-1252 bytes.
void cp1252ToUtf8(std::string_view bytes, std::string& out);
// Whether a Unicode character has a Windows-1252 byte; the byte when it has.
bool cp1252Byte(char32_t c, unsigned char* byte);

} // namespace postavo::transfer
