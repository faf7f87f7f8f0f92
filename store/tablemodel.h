#pragma once
// One item model for every grid: rows are the records visible in the source's active order
// under its filter, resolved once per reset (a record-number list, four bytes a row) rather
// than by walking the file on every repaint; cell values are read record by record on demand
// with a small cache.

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

namespace postavo {

// What a grid needs from a table.
class GridSource {
public:
    virtual ~GridSource() = default;
    virtual QStringList gridColumns() const = 0;                 // field or value names
    virtual QString gridLabel(const QString& column) const = 0;  // header text
    virtual std::vector<quint32> gridRows() = 0;                 // record numbers, in order
    virtual bool gridRead(quint32 recno, const QStringList& columns, QStringList* values) = 0;
    virtual bool gridEditable(const QString& column) const = 0;
    virtual bool gridWrite(quint32 recno, const QString& column, const QString& value) = 0;
};

class TableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TableModel(GridSource* source, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    quint32 recordAt(int row) const;
    int rowOf(quint32 recno) const;  // -1 when not visible
    QString columnName(int column) const;
    void setReadOnly(bool ro) { readOnly_ = ro; }

public slots:
    // Re-reads rows and columns (order, filter or records changed).
    void refresh();
    // Values changed, rows did not.
    void refreshValues();

private:
    const QStringList& rowValues(int row) const;

    GridSource* source_;
    QStringList columns_;
    std::vector<quint32> rows_;
    bool readOnly_ = false;
    // A small cache of whole rows: grids repaint the same rows many times.
    mutable std::vector<std::pair<int, QStringList>> cache_;
    mutable std::size_t cacheNext_ = 0;
};

} // namespace postavo
