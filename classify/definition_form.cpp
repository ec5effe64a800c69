#include "classify/definition_form.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

#include "classify/form_buttons.h"
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

  // Made after the fields, so that the focus passes the fields first.
  const FormButtons& buttons = buttons_.emplace(this);
  connect(buttons.save, &QPushButton::clicked, this, [this] { BtnSaveClick(); });
  connect(buttons.remove, &QPushButton::clicked, this, [this] { BtnDeleteClick(); });
  connect(buttons.cancel, &QPushButton::clicked, this, [this] { BtnCancelClick(); });
  connect(buttons.help, &QToolButton::clicked, this,
          [this, help_topic] { emit HelpRequested(help_topic); });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields_);
  layout->addStretch(1);
  layout->addLayout(buttons.row);
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
    // Leaving for Cancel or help, or for another window, checks nothing.
    const bool check = buttons_->LeavingChecks(this, static_cast<QFocusEvent*>(event));
    if (check) {
      leaving_ = true;
      MaskEdit1Exit();
      leaving_ = false;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kpr
