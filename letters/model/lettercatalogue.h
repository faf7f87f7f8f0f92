#pragma once
// The letter catalogue LETTER.DBF in sysdata/: one row per letter, its description (the list's
// one column) and the complete RTF text of the letter in the memo RTF. The letters window and
// the batch tool list, add, change, clone and delete letters through it, and move a letter's
// text between the memo and a rich-text document.

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace postavo::engine {
class Table;
}
namespace postavo::richtext {
class RichDocument;
struct RtfReadReport;
}

namespace postavo::letters {

struct LetterEntry {
    quint32 recno = 0;     // 0: not in the catalogue (yet)
    QString description;   // DESCRIPT
};

// Descriptions keep at most this many characters.
inline constexpr int kLetterDescriptionLength = 50;
// What a new letter's description field starts with.
inline constexpr const char* kUntitledLetter = "{untitled}";

// The memo text as it is stored: one blank is appended to the last line when the text's length
// (lines joined by CR LF) is above 0 and a multiple of 4, as letters have always been stored.
QByteArray storedRtfText(const QByteArray& rtf);

class LetterCatalogue {
public:
    // `sysdataDir` empty: the program folder's sysdata/.
    explicit LetterCatalogue(QString sysdataDir = {});
    ~LetterCatalogue();
    LetterCatalogue(const LetterCatalogue&) = delete;
    LetterCatalogue& operator=(const LetterCatalogue&) = delete;

    // Opens, creating the catalogue when missing (`create` false: a missing one is an error).
    // False with the message to show.
    bool open(QString* message, bool create = true);
    bool isOpen() const { return table_ != nullptr; }
    void close();
    QString sysdataDir() const;

    // The letters in catalogue (description) order, deleted rows left out.
    std::vector<LetterEntry> letters();
    std::optional<LetterEntry> letter(quint32 recno);
    // The first letter whose description is `description`, letter case and blanks at the ends
    // ignored.
    std::optional<LetterEntry> findByDescription(const QString& description);

    // The memo as stored; false with lastError() when it cannot be read.
    bool rtfText(quint32 recno, QByteArray* rtf);
    // Clears `document` and loads the letter's RTF into it. An empty memo gives an empty letter;
    // damaged or plain text is read as far as it goes and `report` says so. False with
    // lastError() only when the letter cannot be read at all.
    bool loadRichText(quint32 recno, richtext::RichDocument& document, richtext::RtfReadReport* report = nullptr);

    // Stores the description and the document's RTF: a new row when entry->recno is 0 (recno is
    // then set), else that row. All or nothing: false with lastError(), the catalogue as it was.
    bool saveLetter(LetterEntry* entry, const richtext::RichDocument& document);
    // The same with RTF text as it is.
    bool saveLetterText(LetterEntry* entry, const QByteArray& rtf);
    // A new row "Clone of " + the description (cut to the field), with the same letter text.
    std::optional<LetterEntry> clone(quint32 recno);
    bool remove(quint32 recno);

    QString lastError() const { return error_; }

private:
    LetterEntry readCurrent() const;
    bool fail(const QString& message);

    QString sysdata_;
    std::unique_ptr<engine::Table> table_;
    QString error_;
};

// Text for a catalogue description: empty when Windows-1252 can hold it, the problem otherwise.
QString letterDescriptionProblem(const QString& description);

} // namespace postavo::letters
