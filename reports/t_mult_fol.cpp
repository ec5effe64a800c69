#include "reports/t_mult_fol.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "store/amount_text.h"

namespace kpr {

TMultFol::TMultFol(QWidget* parent) : QDialog(parent) {
  setObjectName("TMultFol");
  setWindowTitle("Select Folder(s) to Include");
  list_ = new QListWidget(this);
  list_->setObjectName("ListBox1");
  list_->setSelectionMode(QAbstractItemView::MultiSelection);
  list_->setMinimumSize(320, 220);
  auto* run = new QPushButton("Run", this);
  run->setObjectName("BtnRun");
  auto* all = new QPushButton("All", this);
  all->setObjectName("BtnAll");
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("BtnCancel");
  run->setDefault(true);
  connect(run, &QPushButton::clicked, this, &TMultFol::BtnRunClick);
  connect(all, &QPushButton::clicked, this, &TMultFol::BtnAllClick);
  connect(cancel, &QPushButton::clicked, this, &TMultFol::BtnCancelClick);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* b : {run, all, cancel}) buttons->addWidget(b);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);
}

void TMultFol::Fill(DataStore& store) {
  list_->clear();
  folders_.clear();
  Table* t = store.folder;
  for (store.LastResult = t->Top(); store.LastResult != Table::kEndOfFile;
       store.LastResult = t->Skip(1)) {
    store.LoadFolder();
    if (t->Deleted()) continue;
    list_->addItem(PadNumber(store.Folder.FolNo, 4) + " - " + store.Folder.FolName);
  }
}

void TMultFol::BtnRunClick() {
  folders_.clear();
  for (int i = 0; i < list_->count(); ++i) {
    if (list_->item(i)->isSelected()) folders_.push_back(list_->item(i)->text().left(4).trimmed().toInt());
  }
  accept();
}

void TMultFol::BtnAllClick() { list_->selectAll(); }

void TMultFol::BtnCancelClick() {
  folders_.clear();
  reject();
}

}  // namespace kpr
