#pragma once
// The address table's place kept around a run that moves through it.

#include <QString>

namespace postavo {

class AddressTable;

// Remembers the table's current record, filter and order, and gives them back when it goes or
// at restore(), whichever comes first. With `Quiet`, the table tells nobody of the run's moves
// meanwhile (a window following the current record stays still).
class TableStateKeeper {
public:
    enum class Signals { Keep, Quiet };
    explicit TableStateKeeper(AddressTable& table, Signals mode = Signals::Keep);
    ~TableStateKeeper() { restore(); }
    TableStateKeeper(const TableStateKeeper&) = delete;
    TableStateKeeper& operator=(const TableStateKeeper&) = delete;

    void restore();
    quint32 recno() const { return recno_; }
    QString filter() const { return filter_; }
    QString order() const { return order_; }

private:
    AddressTable& table_;
    quint32 recno_;
    QString filter_, order_;
    bool quiet_;
    bool notify_;
    bool restored_ = false;
};

} // namespace postavo
