#pragma once
// The envelope layout catalogue ENVELOPE.DBF in sysdata/: one row per layout (description, size
// code, layout file name), listed in description order, with the commands the envelope window
// runs on it: store a new or changed layout, clone one with its own copy of the file, delete
// one with its file.

#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace postavo::engine {
class Table;
}

namespace postavo::envelopes {

struct EnvelopeLayout {
    quint32 recno = 0;     // 0: not in the catalogue (yet)
    QString description;   // DESCRIPT
    int code = 0;          // NUMBER, the envelope size code
    double width = -1;     // from the code; -1 for a code not in the size table
    double height = -1;
    QString fileName;      // BINARY, a file in sysdata/

    // "Envelope #10", code 20: what an empty catalogue or a new layout starts as.
    static EnvelopeLayout fallback();
    void setCode(int c);
};

// Descriptions keep at most this many characters.
inline constexpr int kDescriptionLength = 50;

class EnvelopeCatalogue {
public:
    // `sysdataDir` empty: the program folder's sysdata/.
    explicit EnvelopeCatalogue(QString sysdataDir = {});
    ~EnvelopeCatalogue();
    EnvelopeCatalogue(const EnvelopeCatalogue&) = delete;
    EnvelopeCatalogue& operator=(const EnvelopeCatalogue&) = delete;

    // Opens (creating it when missing); false with the message to show.
    bool open(QString* message);
    bool isOpen() const { return table_ != nullptr; }
    void close();
    QString sysdataDir() const;

    // The rows in description order, rows the engine marked deleted left out.
    std::vector<EnvelopeLayout> layouts();
    std::optional<EnvelopeLayout> layout(quint32 recno);
    // The first row (in description order) whose description is `description`, letter case and
    // trailing blanks ignored.
    std::optional<EnvelopeLayout> findByDescription(const QString& description);

    // The file of a layout, found without regard to letter case.
    QString layoutPath(const QString& fileName) const;
    QString newLayoutFileName() const;

    // Writes DESCRIPT, NUMBER and BINARY: a new row when recno is 0 (recno is set), else that row.
    // False with lastError(); the catalogue is then as it was.
    bool store(EnvelopeLayout* layout);
    // A new row "Clone of " + the description, with the same size and its own copy of the layout
    // file (when the file exists).
    std::optional<EnvelopeLayout> clone(quint32 recno);
    // Deletes the row, then its layout file.
    bool remove(quint32 recno);

    QString lastError() const { return error_; }

private:
    EnvelopeLayout readCurrent() const;
    bool fail(const QString& message);

    QString sysdata_;
    std::unique_ptr<engine::Table> table_;
    QString error_;
};

// Text for a catalogue field: Windows-1252 must hold it. Empty when it can; the problem otherwise.
QString descriptionProblem(const QString& description);

} // namespace postavo::envelopes
