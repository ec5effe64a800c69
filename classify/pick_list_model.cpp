#include "classify/pick_list_model.h"

#include <stdexcept>

namespace kpr {

void PickListModel::SetRows(std::vector<QStringList> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  source_ = nullptr;
  count_ = static_cast<int>(rows_.size());
  cached_ = -1;
  endResetModel();
}

void PickListModel::SetSource(int count, std::function<QStringList(int)> source) {
  beginResetModel();
  rows_.clear();
  source_ = std::move(source);
  count_ = count;
  cached_ = -1;
  endResetModel();
}

QStringList PickListModel::row(int i) const {
  if (!source_) return rows_.at(static_cast<size_t>(i));
  if (i < 0 || i >= count_) throw std::out_of_range("pick list row");
  if (i != cached_) {
    cache_ = source_(i);
    cached_ = i;
  }
  return cache_;
}

void PickListModel::SetHeading(int column, const QString& text) {
  headings_[column] = text;
  emit headerDataChanged(Qt::Horizontal, column, column);
}

int PickListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : count_;
}

int PickListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headings_.size());
}

QVariant PickListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole) return {};
  return row(index.row()).value(index.column());
}

QVariant PickListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return headings_.value(section);
}

}  // namespace kpr
