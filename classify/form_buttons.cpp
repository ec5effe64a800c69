#include "classify/form_buttons.h"

#include <QApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>

namespace kpr {

FormButtons::FormButtons(QDialog* form)
    : save(new QPushButton("Save", form)),
      remove(new QPushButton("Delete", form)),
      cancel(new QPushButton("Cancel", form)),
      help(new QToolButton(form)),
      row(new QHBoxLayout) {
  save->setObjectName("BtnSave");
  remove->setObjectName("BtnDelete");
  cancel->setObjectName("BtnCancel");
  help->setObjectName("BitBtn1");
  help->setText("Help");
  for (QPushButton* b : {save, remove, cancel}) b->setAutoDefault(false);
  row->addStretch(1);
  for (QWidget* b : std::initializer_list<QWidget*>{save, remove, cancel, help}) row->addWidget(b);
  row->addStretch(1);
}

bool FormButtons::LeavingChecks(const QDialog* form, const QFocusEvent* event) const {
  QWidget* next = QApplication::focusWidget();
  return event->reason() != Qt::ActiveWindowFocusReason &&
         event->reason() != Qt::PopupFocusReason && next != cancel && next != help &&
         next != nullptr && form->isAncestorOf(next);
}

}  // namespace kpr
