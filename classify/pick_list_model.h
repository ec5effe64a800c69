// The rows of a pick list: text cells by column, the last column holding the
// row's record number. Rows are kept in one vector, or made on demand by a
// source function, and handed to the view as it asks for them, so a list of
// any length opens at once.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <vector>

namespace kpr {

class PickListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit PickListModel(QStringList headings, QObject* parent = nullptr)
      : QAbstractTableModel(parent), headings_(std::move(headings)) {}

  // Replaces every row. Each row has one cell per heading.
  void SetRows(std::vector<QStringList> rows);
  // Replaces every row by `count` rows that `source` makes from their index
  // when asked (the last one asked is kept). source must stay valid until
  // the rows are replaced again.
  void SetSource(int count, std::function<QStringList(int)> source);
  QStringList row(int i) const;
  void SetHeading(int column, const QString& text);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QStringList headings_;
  std::vector<QStringList> rows_;
  int count_ = 0;
  std::function<QStringList(int)> source_;
  mutable int cached_ = -1;
  mutable QStringList cache_;
};

}  // namespace kpr
