#pragma once
// One import run, whatever its source (a text file, another table, an older address table, a
// vCard file): records go into a staged copy of the address file, the copy gets its tags, and
// the finished files replace the address file's. A failure takes everything back; a cancel keeps
// the records imported so far. The closing message tells the outcome, the values that were cut
// and anything else the user should know.

#include "stagedimport.h"
#include "textencoding.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace postavo::transfer {

// What a long pass reports and asks: windows show it and let the user stop; tools print or ignore.
class TransferProgress {
public:
    virtual ~TransferProgress() = default;
    virtual void setStatus(const QString& text) { (void)text; }
    virtual void setPosition(int percent) { (void)percent; }  // only when it changes
    // Asked after each record; the answer stops the pass after that record.
    virtual bool stopRequested() { return false; }
    // Whether stopping is possible now ("Cancel" shown); the index rebuild cannot be stopped.
    virtual void setStoppable(bool on) { (void)on; }
};

// The records of an import, one at a time.
class ImportSource {
public:
    virtual ~ImportSource() = default;
    enum class Step { Record, End, Failed };
    // Work before the first record (counting lines); false with `error` when it fails.
    virtual bool prepare(TransferProgress& progress, QString* error)
    {
        (void)progress;
        (void)error;
        return true;
    }
    // Fills the writer's record (already started blank) from the next source record.
    virtual Step next(AddressRecordWriter& writer, QString* error) = 0;
    // The bar position after `imported` records.
    virtual int percent(std::uint64_t imported) const = 0;
    // Lines the closing message adds about the source (long lines, characters, ...).
    virtual QStringList notes() const { return {}; }
};

struct ImportResult {
    enum class Outcome { Complete, Cancelled, ReadError, WriteError };
    Outcome outcome = Outcome::Complete;
    std::uint64_t imported = 0;  // records that were imported (and kept, unless failed)
    std::uint64_t cutValues = 0;
    QString cause;               // why it failed
    QStringList notes;
    bool failed() const { return outcome == Outcome::ReadError || outcome == Outcome::WriteError; }
};

// Runs the import into `target` (an address file open alone, closed by a successful run so that
// the caller reopens it). Statuses "Importing records" and "Rebuilding Indexes ".
ImportResult runStagedImport(AddressTable& target, ImportSource& source, TransferProgress& progress);

enum class ImportKind { Text, Table, VCard };
// The one message shown when an import ends.
QString importClosingMessage(const ImportResult& r, ImportKind kind);

// The memo rule shared with letter texts: one blank is added to the last line of a text whose
// length, its lines joined by CR LF, is greater than 0 and a multiple of 4.
std::string memoWithTrailingBlankRule(std::string_view text);

} // namespace postavo::transfer
