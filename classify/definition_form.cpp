#include "classify/definition_form.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

#include "store/conversion_error.h"
#include "store/ui_services.h"

namespace kpr {

DefinitionForm::DefinitionForm(const QString& object_name, const QString& caption, QSize size,
                               const QString& number_label, const QString& help_topic,
                               UiServices& ui, QWidget* parent)
    : QDialog(parent), ui_(ui) {
  setObjectName(object_name);
  setWindowTitle(caption);
  setFixedSize(size);
  mask_ = new QLineEdit(this);
  mask_->setObjectName("MaskEdit1");
  mask_->setMaxLength(4);
  mask_->setAlignment(Qt::AlignRight);
  mask_->setValidator(new QRegularExpressionValidator(QRegularExpression("[ 0-9]{0,4}"), mask_));
  mask_->setFixedWidth(mask_->fontMetrics().horizontalAdvance("99999") + 16);
  mask_->installEventFilter(this);
  edit_ = new QLineEdit(this);
  edit_->setObjectName("Edit1");
  edit_->setMaxLength(30);
  edit_->setMinimumWidth(edit_->fontMetrics().horizontalAdvance(QString(30, 'n')));

  fields_ = new QGridLayout;
  fields_->addWidget(new QLabel(number_label, this), 0, 0);
  fields_->addWidget(mask_, 0, 1, Qt::AlignLeft);
  fields_->addWidget(new QLabel("Description:", this), 1, 0);
  fields_->addWidget(edit_, 1, 1);

  save_ = new QPushButton("Save", this);
  save_->setObjectName("BtnSave");
  delete_ = new QPushButton("Delete", this);
  delete_->setObjectName("BtnDelete");
  cancel_ = new QPushButton("Cancel", this);
  cancel_->setObjectName("BtnCancel");
  help_ = new QToolButton(this);
  help_->setObjectName("BitBtn1");
  help_->setText("Help");
  for (QPushButton* b : {save_, delete_, cancel_}) b->setAutoDefault(false);
  connect(save_, &QPushButton::clicked, this, [this] { BtnSaveClick(); });
  connect(delete_, &QPushButton::clicked, this, [this] { BtnDeleteClick(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { BtnCancelClick(); });
  connect(help_, &QToolButton::clicked, this, [this, help_topic] { emit HelpRequested(help_topic); });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QWidget* b : std::initializer_list<QWidget*>{save_, delete_, cancel_, help_}) {
    buttons->addWidget(b);
  }
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields_);
  layout->addStretch(1);
  layout->addLayout(buttons);
}

int DefinitionForm::NumberValue(const QString& text) {
  const QString t = text.trimmed();
  bool ok = false;
  const int n = t.toInt(&ok);
  if (!ok) throw ConversionError::InvalidInteger(t);
  return n;
}

bool DefinitionForm::Guard(const std::function<bool()>& fn) {
  try {
    return fn();
  } catch (const ConversionError& e) {
    ui_.Warn(e.message());
    return false;
  }
}

bool DefinitionForm::MaskEdit1Exit() {
  const bool ok = Guard([this] { return NumberLeft(NumberValue(mask_->text())); });
  if (!ok) RefocusNumber();
  return ok;
}

void DefinitionForm::BtnSaveClick() {
  Guard([this] {
    Save();
    return true;
  });
}

void DefinitionForm::BtnDeleteClick() { Delete(); }

void DefinitionForm::RefocusNumber() {
  QMetaObject::invokeMethod(mask_, [this] { mask_->setFocus(); }, Qt::QueuedConnection);
}

void DefinitionForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

bool DefinitionForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == mask_ && event->type() == QEvent::FocusOut && !leaving_ && isVisible() &&
      mask_->isEnabled()) {
    auto* focus = static_cast<QFocusEvent*>(event);
    QWidget* next = QApplication::focusWidget();
    // Leaving for Cancel or help, or for another window, checks nothing.
    const bool check = focus->reason() != Qt::ActiveWindowFocusReason &&
                       focus->reason() != Qt::PopupFocusReason && next != cancel_ &&
                       next != help_ && next != nullptr && isAncestorOf(next);
    if (check) {
      leaving_ = true;
      MaskEdit1Exit();
      leaving_ = false;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kpr
