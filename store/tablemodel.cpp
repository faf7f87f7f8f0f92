#include "tablemodel.h"

#include <algorithm>

namespace postavo {

namespace {
constexpr std::size_t kCacheRows = 256;
const QStringList kEmpty;
}

TableModel::TableModel(GridSource* source, QObject* parent) : QAbstractTableModel(parent), source_(source)
{
    refresh();
}

void TableModel::refresh()
{
    beginResetModel();
    columns_ = source_->gridColumns();
    rows_ = source_->gridRows();
    cache_.clear();
    cacheNext_ = 0;
    endResetModel();
}

void TableModel::refreshValues()
{
    cache_.clear();
    cacheNext_ = 0;
    if (!rows_.empty() && !columns_.isEmpty())
        emit dataChanged(index(0, 0), index(int(rows_.size()) - 1, int(columns_.size()) - 1));
}

int TableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int TableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

const QStringList& TableModel::rowValues(int row) const
{
    for (const auto& [r, values] : cache_)
        if (r == row)
            return values;
    QStringList values;
    if (!source_->gridRead(rows_[size_t(row)], columns_, &values))
        values = QStringList();
    if (cache_.size() < kCacheRows) {
        cache_.emplace_back(row, std::move(values));
        return cache_.back().second;
    }
    auto& slot = cache_[cacheNext_];
    cacheNext_ = (cacheNext_ + 1) % kCacheRows;
    slot = {row, std::move(values)};
    return slot.second;
}

QVariant TableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(rows_.size()) || index.column() >= columns_.size())
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const QStringList& values = rowValues(index.row());
    return index.column() < values.size() ? values[index.column()] : QString();
}

QVariant TableModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (o == Qt::Horizontal)
        return section < columns_.size() ? source_->gridLabel(columns_[section]) : QVariant();
    return section + 1;
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && !readOnly_ && source_->gridEditable(columns_[index.column()]))
        f |= Qt::ItemIsEditable;
    return f;
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    if (!source_->gridWrite(rows_[size_t(index.row())], columns_[index.column()], value.toString()))
        return false;
    cache_.erase(std::remove_if(cache_.begin(), cache_.end(), [&](const auto& e) { return e.first == index.row(); }),
                 cache_.end());
    cacheNext_ = 0;
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return true;
}

quint32 TableModel::recordAt(int row) const
{
    return row >= 0 && row < int(rows_.size()) ? rows_[size_t(row)] : 0;
}

int TableModel::rowOf(quint32 recno) const
{
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i] == recno)
            return int(i);
    return -1;
}

QString TableModel::columnName(int column) const
{
    return column >= 0 && column < columns_.size() ? columns_[column] : QString();
}

} // namespace postavo
