#pragma once
// What the maintenance windows' grids show: the records the address table shows in its active
// order (the check's subset index), and the rows of the state table CSZ.DBF.

#include "tablemodel.h"

#include <QStringList>

#include <memory>

namespace postavo {

class AddressTable;

namespace engine {
class Table;
}

// The address table's shown fields, with "Tagged" so that a record can be tagged by a
// double-click; the street second for the street check.
QStringList resultColumns(const AddressTable& table, bool streetSecond);

class AddressGrid : public GridSource {
public:
    AddressGrid(AddressTable& table, QStringList columns) : table_(table), columns_(std::move(columns)) {}
    QStringList gridColumns() const override { return columns_; }
    QString gridLabel(const QString& column) const override;
    std::vector<quint32> gridRows() override;
    bool gridRead(quint32 recno, const QStringList& columns, QStringList* values) override;
    bool gridEditable(const QString& column) const override;
    // Refuses text Windows-1252 cannot hold rather than storing it changed.
    bool gridWrite(quint32 recno, const QString& column, const QString& value) override;
    int width(const QString& column) const;
    QString lastError() const { return error_; }
    // No rows until the check has made its subset the active order.
    void setActive(bool on) { active_ = on; }

private:
    AddressTable& table_;
    QStringList columns_;
    bool active_ = false;
    QString error_;
};

// CSZ.DBF in STATE order: NAME, STATE, LOW_ZIP, HIGH_ZIP with their labels.
class StateTableGrid : public GridSource {
public:
    // Null with the message "Unable to open CSZ.DBF" when it cannot be opened.
    static std::unique_ptr<StateTableGrid> open(const QString& sysdataDir, QString* message);
    ~StateTableGrid() override;

    QStringList gridColumns() const override;
    QString gridLabel(const QString& column) const override;
    std::vector<quint32> gridRows() override;
    bool gridRead(quint32 recno, const QStringList& columns, QStringList* values) override;
    bool gridEditable(const QString&) const override { return true; }
    bool gridWrite(quint32 recno, const QString& column, const QString& value) override;
    int width(const QString& column) const;

    // "Add": a blank row, stored at once; its record number.
    quint32 addRow();
    // "Delete": the engine's deletion mark.
    bool deleteRow(quint32 recno);
    QString lastError() const { return error_; }
    engine::Table& table() { return *table_; }

private:
    explicit StateTableGrid(std::unique_ptr<engine::Table> t);
    std::unique_ptr<engine::Table> table_;
    QString error_;
};

} // namespace postavo
