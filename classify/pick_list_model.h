// The rows of a pick list: text cells by column, the last column holding the
// row's record number. Rows are kept in one vector and handed to the view on
// demand, so a list of any length opens at once.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

namespace kpr {

class PickListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit PickListModel(QStringList headings, QObject* parent = nullptr)
      : QAbstractTableModel(parent), headings_(std::move(headings)) {}

  // Replaces every row. Each row has one cell per heading.
  void SetRows(std::vector<QStringList> rows);
  const QStringList& row(int i) const { return rows_.at(static_cast<size_t>(i)); }
  void SetHeading(int column, const QString& text);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QStringList headings_;
  std::vector<QStringList> rows_;
};

}  // namespace kpr
