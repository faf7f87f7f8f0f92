#pragma once
// Every import into an address file is all or nothing, also when the program is stopped part
// way or the disk fills: the records go into a copy of the address file's table and memo file in
// a scratch folder beside it, the copy gets its 26 tags, and only then do the finished files
// replace the address file's own (engine::Table::replaceTableFiles, whose journal an
// interrupted replacement is finished from at the next open). Until then the address file is
// untouched, and it stays open alone, so nobody else writes to it meanwhile.

#include "addressfile.h"

#include <QString>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace postavo::engine {
class Table;
struct DbfField;
} // namespace postavo::engine

namespace postavo::transfer {

// Writes address records into a table with the address fields, fast: the record is put
// together in a buffer and handed over whole. Values are Windows-1252 bytes.
class AddressRecordWriter {
public:
    explicit AddressRecordWriter(engine::Table& table);

    // Starts a new blank record (ISDEL false, no tag, no memo).
    void start();
    // Stores text in an address field by name (any letter case), cut to the field's width;
    // line breaks inside become blanks. True when non-blank text was cut off.
    bool setText(std::string_view field, std::string_view bytes);
    bool setText(int column, std::string_view bytes);  // column: index into addressFields()
    void setLogical(std::string_view field, bool value);
    void setMemo(std::string_view bytes);
    // Appends the record; throws engine::EngineError when it cannot be stored. Records are
    // written a block at a time: flush() writes what is still waiting.
    void post();
    void flush();

    // The column of an address field (index into addressFields()), -1 when unknown.
    static int column(std::string_view field);
    std::uint64_t cutValues() const { return cut_; }
    std::uint64_t posted() const { return posted_; }
    std::uint64_t stored() const { return stored_; }   // in the table file so far

private:
    engine::Table& table_;
    std::vector<const engine::DbfField*> fields_;  // by column
    std::string record_;
    std::string blank_;
    std::string memo_;
    std::uint64_t cut_ = 0;
    std::uint64_t posted_ = 0;
    std::uint64_t stored_ = 0;
    std::string waiting_;   // whole records not yet written
    static constexpr std::size_t kBlockBytes = 1 << 20;
};

class StagedImport {
public:
    // `target` is the address file, open alone (AddressTable::open). It stays open until commit().
    explicit StagedImport(AddressTable& target);
    ~StagedImport();  // abandons whatever was not committed
    StagedImport(const StagedImport&) = delete;
    StagedImport& operator=(const StagedImport&) = delete;

    // Copies the target's table and memo file into a new scratch folder beside it and opens the
    // copy without its index. False with `error` (a full disk, say) leaving nothing behind.
    bool begin(QString* error);
    AddressRecordWriter& writer() { return *writer_; }
    engine::Table& copy() { return *copy_; }

    // Builds the copy's 26 tags; `progress` gets the engine's reports (0..100 per tag).
    bool buildTags(const std::function<void(int)>& progress, QString* error);
    // Closes the target and puts the finished files in its place. False with `error` when that
    // fails; the target is then as it was, or (the replacement having been announced) is
    // finished at its next open.
    bool commit(QString* error);
    // Throws the copy away; the target is as it was.
    void abandon();

    // The scratch folder (tests look for what is left behind).
    static QString scratchPrefix();

private:
    AddressTable& target_;
    std::string targetPath_;
    std::filesystem::path work_;
    std::unique_ptr<engine::Table> copy_;
    std::unique_ptr<AddressRecordWriter> writer_;
    bool committed_ = false;
};

// A new, empty scratch folder beside `file` named `prefix` + this process's id + a serial number.
// Scratch folders of that prefix whose process is gone (stopped part way) are removed first.
std::filesystem::path makeScratchFolder(const std::string& file, const std::string& prefix);

// A message for an engine or file-system failure, naming the cause in plain words (a full
// disk, a file-size limit) before the engine's own text.
QString describeFailure(const std::exception& e);

} // namespace postavo::transfer
