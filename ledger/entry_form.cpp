#include "ledger/entry_form.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "classify/definition_form.h"
#include "classify/record_walk.h"
#include "store/amount_text.h"
#include "store/conversion_error.h"
#include "store/data_store.h"
#include "store/date_text.h"
#include "store/locale_formats.h"

namespace kpr {
namespace {

const char* const kConversion = "Data Conversion Error. Please check values and try again";

QComboBox* ChoiceBox(QWidget* parent, const char* name) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QString(36, 'n')));
  return box;
}

}  // namespace

EntryForm::EntryForm(DataStore& store, int& selection, const int& default_folder,
                     const Words& words, QWidget* parent)
    : QDialog(parent),
      store_(store),
      selection_(selection),
      default_folder_(default_folder),
      words_(words),
      fields_(new QGridLayout) {
  setObjectName(words.object_name);
  setWindowTitle(words.caption);
  resize(words.size);
  fields_->setColumnStretch(1, 1);  // labels as narrow as their text
}

QLineEdit* EntryForm::MakeDateEdit(const char* name) {
  date_ = new QLineEdit(this);
  date_->setObjectName(name);
  date_->setFixedWidth(date_->fontMetrics().horizontalAdvance("999999999") + 16);
  date_->installEventFilter(this);
  return date_;
}

QLineEdit* EntryForm::MakeAmountEdit(const char* name) {
  amount_ = new QLineEdit(this);
  amount_->setObjectName(name);
  amount_->setFixedWidth(amount_->fontMetrics().horizontalAdvance("999999999") + 16);
  amount_->setAlignment(Qt::AlignRight);
  amount_->installEventFilter(this);
  return amount_;
}

QLineEdit* EntryForm::MakeTextEdit(const char* name, int max_length) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(name);
  edit->setMaxLength(max_length);
  // Room for every character the field holds.
  edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(max_length, 'n')) + 12);
  return edit;
}

void EntryForm::AddField(const char* label, QWidget* field) {
  fields_->addWidget(new QLabel(label, this), field_rows_, 0);
  fields_->addWidget(field, field_rows_++, 1, Qt::AlignLeft);
}

void EntryForm::FinishLayout(const char* folder_label) {
  account_ = ChoiceBox(this, "ComboBox1");
  folder_ = ChoiceBox(this, "ComboBox2");
  account_->lineEdit()->installEventFilter(this);
  folder_->lineEdit()->installEventFilter(this);
  AddField("Account:", account_);
  AddField(folder_label, folder_);
  // Made after the fields, so that the focus passes the fields first.
  const FormButtons& b = buttons_.emplace(this);
  connect(b.save, &QPushButton::clicked, this, [this] { BtnSaveClick(); });
  connect(b.remove, &QPushButton::clicked, this, [this] { BtnDeleteClick(); });
  connect(b.cancel, &QPushButton::clicked, this, [this] { BtnCancelClick(); });
  connect(b.help, &QToolButton::clicked, this, [this] { emit HelpRequested(words_.help_topic); });
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields_);
  layout->addStretch(1);
  layout->addLayout(b.row);
}

bool EntryForm::amount_is_red() const {
  return amount_->palette().color(QPalette::Text) == QColor(Qt::red);
}

void EntryForm::SetAmountColour() {
  QPalette p = amount_->palette();
  p.setColor(QPalette::Text, amount_->text().contains('-') ? QColor(Qt::red) : QColor(Qt::black));
  amount_->setPalette(p);
}

void EntryForm::GoToSelected() {
  store_.LastResult = table()->Go(static_cast<uint32_t>(selection_));
  store_.engine().ExitTest();
}

void EntryForm::FormShow() {
  // Month and day digits optional, year digits required; the amount has
  // six places for digits, blanks or a sign, then two optional decimals.
  const QString sep(LocaleFormats::DateSeparator());
  date_->setInputMask("00" + sep + "00" + sep + "99;_");
  amount_->setInputMask("######" + QString(LocaleFormats::DecimalSeparator()) + "00; ");
  buttons_->save->setEnabled(true);
  const bool existing = selection_ != 0;
  if (existing) {
    GoToSelected();
    LoadRecord();
  } else {
    NewRecord();
  }
  buttons_->remove->setVisible(existing);
  ShowRecord();
  FillBoxes();
  first_field()->setFocus();
}

void EntryForm::ShowDate(const QDateTime& date) {
  date_->setText(date.isValid() ? LocaleFormats::DateToText(date.date()) : QString());
}

void EntryForm::ShowAmount(double amount) {
  amount_->setText(FormatNumber(amount, "%9.2f"));
  SetAmountColour();
}

QDateTime EntryForm::DateValue() const {
  const std::optional<QDate> date = LocaleFormats::TextToDate(date_->text());
  if (!date) throw ConversionError::InvalidDate(date_->text());
  return QDateTime(*date, QTime(0, 0));
}

double EntryForm::AmountValue() const { return TextToFloat(amount_->displayText()); }

int EntryForm::ItemNumber(const QComboBox* box) {
  if (box->currentIndex() < 0) throw ConversionError::InvalidInteger(QString());
  return DefinitionForm::NumberValue(box->currentText().left(4));
}

void EntryForm::FillChoices(QComboBox* box, Table* table, Tag* tag, int number_field,
                            int text_field, int number, const char* missing) {
  box->clear();
  table->SelectTag(tag);
  store_.LastResult = table->Top();
  if (store_.LastResult == Table::kEndOfFile) {
    store_.ui().Inform(missing);
    buttons_->save->setEnabled(false);
  }
  int chosen = 0;
  for (; store_.LastResult != Table::kEndOfFile; store_.LastResult = table->Skip(1)) {
    if (table->Deleted()) continue;
    const int64_t n = table->Long(number_field);
    if (n == number) chosen = box->count();
    box->addItem(PadNumber(n, 4) + " - " + QString::fromStdString(table->Text(text_field)));
  }
  box->setCurrentIndex(box->count() > 0 ? chosen : -1);
}

bool EntryForm::DateExit() {
  QString text = date_->text();
  if (!ValidDate(&text, store_.ui())) {
    QMetaObject::invokeMethod(date_, [this] { date_->setFocus(); }, Qt::QueuedConnection);
    return false;
  }
  date_->setText(text);
  return true;
}

void EntryForm::AmountExit() {
  try {
    amount_->setText(FormatAmountText(amount_->displayText(), "%9.2f"));
  } catch (const ConversionError& e) {
    store_.ui().Warn(e.message());
  }
  SetAmountColour();
}

void EntryForm::BtnSaveClick() {
  try {
    ReadFields();
  } catch (const ConversionError&) {
    store_.ui().Warn(kConversion);
    return;
  }
  if (selection_ > 0) {
    GoToSelected();
    ExitOnFailure(store_, StoreRecord());
    ExitOnFailure(store_, table()->Flush());
    accept();
    return;
  }
  if (!table()->AppendBlank().ok()) {
    store_.ui().Warn("Unable to Add Record at this time . . . ");
    return;
  }
  ExitOnFailure(store_, StoreRecord());
  ExitOnFailure(store_, table()->Flush());
  const uint32_t recno = table()->RecNo();
  if (store_.ui().AskYesNo(words_.add_another)) {
    ClearForAnother();
    return;
  }
  selection_ = static_cast<int>(recno);
  accept();
}

void EntryForm::BtnDeleteClick() {
  GoToSelected();
  ExitOnFailure(store_, table()->Delete());
  ExitOnFailure(store_, table()->Flush());
  store_.PackPending = true;
  selection_ = 0;
  accept();
}

void EntryForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

bool EntryForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    // Nothing typed into the choice boxes counts; arrows still choose.
    if ((watched == account_->lineEdit() || watched == folder_->lineEdit()) &&
        !key->text().isEmpty() && key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter &&
        key->key() != Qt::Key_Escape && key->key() != Qt::Key_Tab) {
      return true;
    }
    if (watched == amount_) {
      if (key->text() == QString(LocaleFormats::DecimalSeparator())) {
        AmountExit();
        amount_->setCursorPosition(7);  // just after the separator
        return true;
      }
      SetAmountColour();
    }
  }
  if (event->type() == QEvent::FocusIn && (watched == date_ || watched == amount_)) {
    // Entered by the keyboard or by the program, a masked field is selected
    // whole, so that typing replaces its value (Qt would only move the
    // cursor to the mask's first blank). A click places the cursor.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
        reason == Qt::ShortcutFocusReason || reason == Qt::OtherFocusReason) {
      auto* edit = static_cast<QLineEdit*>(watched);
      QMetaObject::invokeMethod(edit, [edit] { edit->selectAll(); }, Qt::QueuedConnection);
    }
  }
  if (event->type() == QEvent::FocusOut && !leaving_ && isVisible() &&
      buttons_->LeavingChecks(this, static_cast<QFocusEvent*>(event))) {
    leaving_ = true;
    if (watched == date_) {
      DateExit();
    } else if (watched == amount_) {
      AmountExit();
    } else {
      FieldLeft(watched);
    }
    leaving_ = false;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kpr
