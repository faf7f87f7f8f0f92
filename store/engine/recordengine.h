#pragma once
// The record engine: FoxPro 2.x compatible xBase tables (DBF with FPT memo and a structural
// CDX index) for everything above the store layer.
//
// One Table object is one open table with its memo file and production index. Text goes in and
// out as the raw 8-bit (Windows-1252) bytes of the file. Record numbers count from 1. Every
// failure throws EngineError, whose message names the file at fault.

#include "cdx.h"

#include <algorithm>
#include "dbf_header.h"
#include "engine_error.h"
#include "expression.h"
#include "file_lock.h"
#include "idx.h"
#include "memo_file.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace postavo::engine {

enum class OpenMode { Shared = 0, ReadOnly = 1, Exclusive = 2 };

// One field to create: name, type letter (C N F L D M), width and decimals.
struct FieldSpec {
    std::string name;
    char type = 'C';
    int length = 0;
    int decimals = 0;
};

// A tag to build: name, key expression, and the options other programs' tables may carry.
struct TagSpec {
    TagSpec(std::string name_, std::string keyExpr_, std::string forExpr_ = {}, bool unique_ = false,
            bool descending_ = false)
        : name(std::move(name_)), keyExpr(std::move(keyExpr_)), forExpr(std::move(forExpr_)), unique(unique_),
          descending(descending_)
    {
    }
    std::string name;
    std::string keyExpr;
    std::string forExpr;   // empty: every record
    bool unique = false;
    bool descending = false;
};

class Table : private MemoSource {
public:
    ~Table() override;
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // ---- files
    // Writes a new, empty table (and its memo file when a field is M). The table is FoxPro 2.x:
    // 0xF5 with memo, 0x03 without, code page mark Windows-1252. An existing file is replaced.
    static void create(const std::string& path, const std::vector<FieldSpec>& fields);
    // Opens a table with its memo file and production index (same base name, .cdx; found in any
    // letter case, created in lower case).
    static std::unique_ptr<Table> open(const std::string& path, OpenMode mode = OpenMode::Shared);
    void close();  // posts the current record and writes everything to disk
    // A new empty table with the same fields (no index).
    void copyStructure(const std::string& path) const;

    const std::string& path() const { return path_; }
    OpenMode mode() const { return mode_; }
    const DbfHeader& header() const { return header_; }
    const std::vector<DbfField>& fields() const { return header_.fields; }
    int fieldIndex(std::string_view name) const { return header_.fieldIndex(name); }
    std::string memoPath() const;
    std::string indexPath() const;  // the production index's path (whether or not it exists)

    // ---- moving
    void goTop();
    void goBottom();
    void skip(long count = 1);
    void go(std::uint32_t recno);  // the record whatever the filter; past the end = eof
    std::uint32_t recNo() const { return recno_; }
    std::uint32_t recCount() const;  // records in the file, deleted or not
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }

    // ---- reading the current record (by field name, case-insensitive)
    std::string getString(std::string_view field) const;      // raw field bytes
    std::string getTrimString(std::string_view field) const;  // trailing blanks removed
    bool getLogical(std::string_view field) const;
    std::string getDateString(std::string_view field) const;  // mm/dd/yyyy (mm/dd/yy without century)
    std::string getMemo(std::string_view field) const;
    double getNumber(std::string_view field) const;
    bool isEmpty(std::string_view field) const;
    bool isDeleted() const;
    const unsigned char* recordData() const { return record_.data(); }  // deletion flag first
    std::string getRecord() const;
    // Any record's bytes without moving (the current record as edited when it is that one);
    // false for a record number outside the file.
    bool readRecord(std::uint32_t recno, std::string& out) const;
    // The records visible in the active order (deleted records hidden, filter, scope), in that
    // order, without moving: which records are visible is decided in one pass over the table in
    // record order, and the order is then walked in its index alone, so that grids and long
    // passes over a large table start at once. `progress` gets 0..100 and may stop the work by
    // returning false; then the list is incomplete and `complete` (when given) false.
    // Any record's memo text without moving ("" when it has none); false for a record number
    // outside the file. Searches through many memos read them this way.
    bool readMemo(std::uint32_t recno, std::string_view field, std::string& out) const;
    std::vector<std::uint32_t> visibleRecordNumbers(const std::function<bool(int)>& progress = {},
                                                    bool* complete = nullptr);

    // ---- writing (the record is stored when it is posted: commit, moving away, close)
    void appendBlank();
    // Stores text in a field of any type: C padded/cut, N/F as a number, L from T/Y/F/N,
    // D from yyyymmdd or mm/dd/yyyy, M as the memo's text.
    void replace(std::string_view field, std::string_view value);
    void replaceLogical(std::string_view field, bool value);
    void replaceNumber(std::string_view field, double value);
    void putRecord(std::string_view record);  // a whole record buffer, deletion flag first
    // Forgets the changes made to the current record since it was last stored: an edited
    // record gets its stored bytes back, an appended one is not added, and the memos written
    // for it are taken back out of the memo file. Moves back to the record current before an
    // append. What a failed post leaves behind is undone this way.
    void discardChanges();
    bool hasChanges() const { return dirty_; }
    void commit();
    // Stores the current record and the index pages it changed in the files, without waiting
    // for the disk (commit() also waits): safe against the program ending, not a power cut.
    // All or nothing: when a write fails (a full disk, a file-size limit) the table, memo and
    // index files are as they were and the record stays changed, to be stored again or
    // discarded (discardChanges()).
    void postRecord();
    // Appends `count` whole records (recordLength bytes each, deletion flag first) after the
    // last one with one write, then the header's count: the way scratch tables of an import or
    // an export are filled, a million records without a million small writes. Only with the
    // indexes closed. On failure the table is as it was. A crash between the records and the
    // count leaves them past the count (an open then refuses the table), so it suits tables
    // that are thrown away when the program stops half-way.
    void appendRecords(const unsigned char* records, std::size_t count);
    // Writes `text` to the memo file and its pointer into `record` (a whole record buffer) for
    // memo field `field`, for records given to appendRecords().
    void storeMemo(std::string_view field, unsigned char* record, std::string_view text);
    bool rlock(std::uint32_t recno = 0);  // 0 = the current record
    void unlock(std::uint32_t recno = 0); // 0 = every lock
    void deleteRecord();
    void recall();
    void pack();
    void zap();

    // ---- orders: 0 is record order, 1..tagCount() the production index's tags in creation
    // order, and while it is open the temporary index is the active order.
    std::size_t tagCount() const;
    std::string tagName(std::size_t order) const;        // "" when there is no such order
    const TagInfo& tagInfo(std::size_t order) const;
    int orderNumber(std::string_view tagName) const;     // 0 when missing
    int order() const { return order_; }                 // the active order (-1: temporary index)
    void setOrder(int order);                            // keeps the current record
    void setOrder(std::string_view tagName);             // a missing tag selects record order
    // Adds a tag to the production index (created when missing) and builds it; a tag of the
    // same name is replaced. Building several at once reads the table once.
    void indexTag(const TagSpec& tag);
    void indexTags(const std::vector<TagSpec>& tags);
    // Rebuilds every tag into a new index file that then replaces the old one.
    void reindex();
    void closeIndexes();  // forgets the production index (and the temporary one) until reopened
    bool hasIndex() const { return cdx_ != nullptr; }
    // Why the production index could not be opened ("" when it could or there is none). The
    // table then opens without it and refuses writes until closeIndexes() or a rebuild.
    const std::string& indexError() const { return indexError_; }
    CompoundIndex* index() { return cdx_.get(); }

    // The temporary subset index: an empty single-index file that becomes the active order and
    // shows only the records whose keys are added. An ".IDX" extension is written in lower case;
    // returns the file's name, which the caller deletes after closeTempIndex().
    std::string createTempIndex(const std::string& path, const std::string& keyExpr);
    void keyAdd();          // the current record's key
    void closeTempIndex();  // back to record order; the caller deletes the file

    // Seeks `key` on the active order (text for character keys, encoded bytes otherwise).
    // Not exact: the key is a prefix; exact: the whole key must match. Soft seek stays on the
    // next greater key when not found, otherwise eof. Returns found().
    bool seek(std::string_view key);
    bool found() const { return found_; }
    // Only keys from `top` to `bottom` (prefix compare) are visible in the active order.
    void setScope(std::string_view top, std::string_view bottom);
    void clearScope();

    // ---- query (filter): a logical expression every move respects; "" clears it
    void setQuery(std::string_view expression);
    const std::string& filterText() const { return filter_.text(); }
    std::uint32_t queryRecCount();   // visible records (deleted hidden, filter, scope)
    // 0: no tag helps, 1: some conditions can use a tag, 2: every condition can.
    int queryTest(std::string_view expression) const;
    bool evalLogical(std::string_view expression);  // on the current record
    std::string evalString(std::string_view expression);
    Expression compile(std::string_view expression) const;
    const std::vector<FieldDef>& fieldDefs() const { return fieldDefs_; }

    // ---- consistency (for the check tool): problems found, empty when sound
    std::vector<std::string> check();

    // Bytes past the last record the header counts: whole records a program that stopped while
    // appending left behind, and a partial record after them. Such a table is read as far as
    // its count, but not written to (an append would overwrite them) until recover() has
    // decided. Our own interrupted append is recognised by the append mark (see post()) and
    // taken back at an exclusive open instead.
    struct Tail {
        std::uint32_t wholeRecords = 0;   // whose first byte is a blank or '*'
        std::uint64_t otherBytes = 0;     // a partial record, or whole ones that are not records
        bool empty() const { return wholeRecords == 0 && otherBytes == 0; }
    };
    const Tail& tail() const { return tail_; }
    // Adopts the whole records past the count (first byte a blank or '*', up to the first that
    // is not), drops the rest, and rebuilds the index when there is one. The table must not be
    // open elsewhere. Returns what was found.
    static Tail recover(const std::string& path);
    // Puts finished files (in the table's folder, closed, on disk) in place of the table's
    // own: table, memo (or "") and index (or ""; then the old index goes). Either all are
    // replaced or, should the program stop part way, the next open of the table completes it.
    // The table must not be open.
    static void replaceTableFiles(const std::string& path, const std::string& newTable, const std::string& newMemo,
                                  const std::string& newIndex);
    // The header alone, without opening the table (to decide whether to open it at all).
    static DbfHeader readHeader(const std::string& path);

    // ---- switches
    void setDeletedHidden(bool hidden);   // deleted records invisible while moving
    bool deletedHidden() const { return deletedHidden_; }
    void setCentury(bool on) { century_ = on; }
    void setExact(bool on) { exact_ = on; }
    void setSoftSeek(bool on) { softSeek_ = on; }
    void setTurboRead(bool on);
    // Called with a percentage (0..100) during pack and while tags are built.
    void setProgressHook(std::function<void(int)> hook) { progress_ = std::move(hook); }
    // How much memory building tags may give to keys at once (default 96 MB); a table whose
    // keys need more is indexed through sorted runs in scratch files beside it.
    void setIndexBuildMemory(std::uint64_t bytes) { buildMemory_ = std::max<std::uint64_t>(bytes, 1); }

private:
    struct TagState {
        Expression key;
        Expression forCond;
        std::string error;  // why the expression could not be compiled ("" when it could)
        // The record bytes key and condition read, when they read nothing else: a post that
        // leaves these bytes alone cannot move the record in this tag.
        std::vector<std::pair<std::uint32_t, std::uint32_t>> bytes;
        bool byBytes = false;
    };

    Table() = default;
    std::string memoText(std::uint32_t block) const override;
    RecordRef ref(const unsigned char* data, std::uint32_t recno) const { return {data, recno, this}; }
    TagState compileTag(const TagInfo& info) const;
    void openIndex();
    void rebuildIndex(const std::vector<TagSpec>& specs);
    void dropIndexFile();   // no tags: no index file and no index flag
    struct TagBuild;
    void appendTags(const std::vector<TagSpec>& specs);
    void planTagBuild(const std::vector<TagSpec>& specs, TagBuild& build) const;
    void reserveKeyBlocks(TagBuild& build, std::uint32_t records) const;
    void evaluateTags(TagBuild& build, const std::vector<std::size_t>& mine, bool second, std::uint32_t first,
                      std::uint32_t last, int from, int to);
    void onBothThreads(TagBuild& build, const std::function<void(const std::vector<std::size_t>&, bool)>& work);
    void appendTagsInRuns(TagBuild& build, std::uint32_t chunk);
    std::vector<TagSpec> currentTagSpecs() const;
    void updateKeys();
    bool usingCursor() const { return order_ != 0; }
    const TagState& activeTag() const;
    IndexCursor* activeCursor();
    void makeCursor();
    void keyOf(const TagState& tag, const unsigned char* data, std::uint32_t recno, std::string& out) const;
    bool acceptEntry(std::uint32_t recno);
    bool aboveScope(std::string_view key) const;
    bool descendingOrder() const;
    const std::string& scopeStart() const;
    bool beforeScopeStart(std::string_view key) const;   // in the active order's direction
    bool pastScopeEnd(std::string_view key) const;
    bool belowScope(std::string_view key) const;
    bool settleCursor(bool forward);
    bool syncCursor(bool& onGreater);
    void skipIndexed(long count);
    void writeFlags();
    void flushIndexes(bool sync);
    void markIndexDirty();
    void openFiles(const std::string& path, OpenMode mode);
    void requireWritable();
    void requireRecord() const;
    const DbfField& field(std::string_view name) const;
    void loadRecord(std::uint32_t recno);
    void setPhantom();
    void post();
    void storeRecordBytes(bool appended, std::uint32_t oldCount);
    void restoreRecordBytes(bool appended, std::uint32_t oldCount);
    void undoLastPost();
    void undoKeys(const unsigned char* before, const unsigned char* after, bool appended, std::size_t tags);
    void markAppending();
    void clearAppendMark();
    void examineTail();
    void writeCount();
    bool readRaw(std::uint32_t recno, unsigned char* out) const;  // via the read-ahead cache
    bool visible(std::uint32_t recno, const unsigned char* data) const;
    std::uint32_t refreshCount() const;
    void reportProgress(int percent) const;
    void writeNumber(const DbfField& f, double value);
    std::uint32_t memoBlock(const DbfField& f, const unsigned char* data) const;
    static std::string packJournalPath(const std::string& path);
    static bool finishInterruptedPack(const std::string& path);   // false: another program has it

    std::string path_;
    OpenMode mode_ = OpenMode::Shared;
    DataFile file_;
    DbfHeader header_;
    std::unique_ptr<MemoFile> memo_;

    std::vector<unsigned char> record_;   // current record buffer
    std::uint32_t recno_ = 0;
    bool eof_ = true, bof_ = true;
    bool dirty_ = false;
    bool soleWriter_ = false;             // a shared open that has become the only one, to write
    bool pendingAppend_ = false;          // record_ is recno_ = count, not yet in the file
    std::uint32_t appendFrom_ = 0;        // the record current before appendBlank()
    bool memoSaved_ = false;              // memos were written for the changes in record_
    MemoFile::Savepoint memoPoint_;       // the memo file before them
    bool appendMarked_ = false;           // the header says an append of ours may be under way
    Tail tail_;
    // What the last post changed, until its index pages are in the file too.
    struct LastPost {
        bool valid = false;
        bool appended = false;
        std::uint32_t oldCount = 0;
        std::uint32_t appendFrom = 0;
        bool memoSaved = false;
        MemoFile::Savepoint memoPoint;
        std::vector<unsigned char> before;   // the record as stored before the post
        std::size_t keysDone = 0;            // tags whose keys the post changed
    } lastPost_;
    std::size_t keysDone_ = 0;

    bool deletedHidden_ = false;
    bool century_ = true;
    bool exact_ = false;
    bool softSeek_ = false;
    bool turbo_ = false;
    std::function<void(int)> progress_;
    std::uint64_t buildMemory_ = 96ull << 20;

    std::vector<FieldDef> fieldDefs_;
    std::unique_ptr<CompoundIndex> cdx_;
    std::vector<TagState> tags_;
    std::unique_ptr<SingleIndex> tempIndex_;
    TagState tempTag_;
    int order_ = 0;
    std::unique_ptr<IndexCursor> cursor_;
    bool found_ = false;
    bool scoped_ = false;
    std::string scopeTop_, scopeBottom_;
    Expression filter_;
    std::vector<unsigned char> original_;  // the record as stored, to find its old keys
    mutable std::vector<unsigned char> scratch_;
    mutable std::string keyA_, keyB_;
    bool indexDirty_ = false;
    std::string indexError_;  // header byte 14 says index changes may not have reached the file

    // Read-ahead for sequential passes.
    mutable std::vector<unsigned char> cache_;
    mutable std::uint32_t cacheFirst_ = 0, cacheCount_ = 0;
    mutable std::uint32_t lastRaw_ = 0;   // the record readRaw() read last
};

} // namespace postavo::engine
