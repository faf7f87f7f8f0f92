#pragma once
// The temporary subset index of the checks: an index file holding only the keys of chosen
// records, which, made the active order, shows just those records. The checks make it empty,
// add the records they find, show them through it and delete the file when they close.

#include <QString>

#include <cstdint>
#include <vector>

namespace postavo {

class AddressTable;

// Works on the address table's record engine table as it is at each call, so that a table
// closed meanwhile is never touched.
class SubsetIndex {
public:
    explicit SubsetIndex(AddressTable& table) : table_(&table) {}
    ~SubsetIndex() { remove(); }
    SubsetIndex(const SubsetIndex&) = delete;
    SubsetIndex& operator=(const SubsetIndex&) = delete;

    // Makes the empty index file (replacing one an earlier run left behind) on `keyExpr`. The
    // table keeps the order it had. False with a message when the file cannot be made.
    bool create(const QString& path, const QString& keyExpr, QString* error = nullptr);
    bool isOpen() const { return open_; }
    QString path() const { return path_; }

    // Adds the records' keys; a record already in the index is not added again, so a record
    // that is the duplicate of both its neighbours is listed once. Records are visited in
    // record order, which reads the file front to back. The table moves.
    bool add(std::vector<std::uint32_t> recnos, QString* error = nullptr);
    std::size_t size() const { return count_; }

    // Makes the index the table's active order and stands on its first record.
    bool activate(QString* error = nullptr);
    // Closes the index and deletes its file; the table goes back to record order when the
    // index was its active order.
    void remove();

private:
    AddressTable* table_;
    QString path_;
    bool open_ = false;
    std::vector<bool> added_;
    std::size_t count_ = 0;
};

} // namespace postavo
