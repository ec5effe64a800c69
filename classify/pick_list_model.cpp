#include "classify/pick_list_model.h"

namespace kpr {

void PickListModel::SetRows(std::vector<QStringList> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

void PickListModel::SetHeading(int column, const QString& text) {
  headings_[column] = text;
  emit headerDataChanged(Qt::Horizontal, column, column);
}

int PickListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PickListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headings_.size());
}

QVariant PickListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole) return {};
  return rows_[static_cast<size_t>(index.row())].value(index.column());
}

QVariant PickListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return headings_.value(section);
}

}  // namespace kpr
