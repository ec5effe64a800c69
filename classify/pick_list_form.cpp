#include "classify/pick_list_form.h"

#include <QApplication>
#include <algorithm>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "classify/pick_list_model.h"

namespace kpr {

PickListForm::PickListForm(const QString& object_name, const QString& caption, QSize size,
                           int grid_width, std::vector<Column> columns, int& selection,
                           QWidget* parent)
    : QDialog(parent), selection_(selection) {
  setObjectName(object_name);
  setWindowTitle(caption);
  resize(size);
  QStringList headings;
  for (const Column& c : columns) headings << c.heading;
  model_ = new PickListModel(headings, this);
  grid_ = new QTableView(this);
  grid_->setObjectName("StringGrid1");
  grid_->setModel(model_);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
  grid_->horizontalHeader()->setHighlightSections(false);
  grid_->setFixedWidth(grid_width);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QHeaderView* header = grid_->horizontalHeader();
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    const Column& c = columns[static_cast<size_t>(i)];
    int width = std::max(c.width, header->fontMetrics().horizontalAdvance(c.heading) + 12);
    if (c.fit != nullptr) {
      width = std::max(width, grid_->fontMetrics().horizontalAdvance(c.fit) + 12);
    }
    grid_->setColumnWidth(i, width);
    if (c.stretch) header->setSectionResizeMode(i, QHeaderView::Stretch);
  }
  grid_->setColumnHidden(static_cast<int>(columns.size()) - 1, true);
  grid_->installEventFilter(this);
  connect(grid_, &QTableView::doubleClicked, this, [this] { PickRow(); });

  select_ = new QPushButton("Select", this);
  add_ = new QPushButton("New", this);
  exit_ = new QPushButton("Exit", this);
  NameButtons("BtnSelect", "BtnNew", "BtnExit");
  for (QPushButton* b : {select_, add_, exit_}) b->setAutoDefault(false);
  connect(select_, &QPushButton::clicked, this, [this] { PickRow(); });
  connect(add_, &QPushButton::clicked, this, [this] { BtnNewClick(); });
  connect(exit_, &QPushButton::clicked, this, [this] { BtnExitClick(); });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* b : {select_, add_, exit_}) buttons->addWidget(b);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1, Qt::AlignHCenter);
  layout->addLayout(buttons);
}

void PickListForm::NameButtons(const char* select, const char* add, const char* exit) {
  select_->setObjectName(select);
  add_->setObjectName(add);
  exit_->setObjectName(exit);
}

void PickListForm::Fill(std::vector<QStringList> rows) {
  const QString wanted = QString::number(selection_);
  int current = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].last() == wanted) current = static_cast<int>(i);
  }
  const bool any = !rows.empty();
  model_->SetRows(std::move(rows));
  select_->setEnabled(any);
  grid_->setEnabled(any);
  if (any) set_current_row(current);
}

void PickListForm::FillFrom(int count, std::function<QStringList(int)> source, int current) {
  model_->SetSource(count, std::move(source));
  select_->setEnabled(count > 0);
  grid_->setEnabled(count > 0);
  if (count > 0) set_current_row(current);
}

int PickListForm::current_row() const {
  const QModelIndex i = grid_->currentIndex();
  return i.isValid() ? i.row() : -1;
}

void PickListForm::set_current_row(int row) {
  const QModelIndex i = model_->index(row, 0);
  grid_->setCurrentIndex(i);
  grid_->selectRow(row);
  grid_->scrollTo(i);
}

void PickListForm::PickRow() {
  const int row = current_row();
  if (row < 0 || row >= model_->rowCount()) return;
  bool ok = false;
  const int recno = model_->row(row).last().toInt(&ok);
  selection_ = ok ? recno : 0;
  accept();
}

void PickListForm::BtnNewClick() {
  selection_ = 0;
  accept();
}

void PickListForm::BtnExitClick() {
  selection_ = -1;
  accept();
}

void PickListForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  FormShow();
  QApplication::restoreOverrideCursor();
  grid_->setFocus();
}

bool PickListForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      PickRow();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kpr
