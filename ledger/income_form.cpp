#include "ledger/income_form.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "classify/definition_form.h"
#include "classify/record_walk.h"
#include "store/amount_text.h"
#include "store/clock.h"
#include "store/conversion_error.h"
#include "store/data_store.h"
#include "store/date_text.h"
#include "store/locale_formats.h"

namespace kpr {
namespace {

const char* const kConversion = "Data Conversion Error. Please check values and try again";

// Number at the front of a choice item ("   3 - Sales" gives 3).
int ItemNumber(const QComboBox* box) {
  if (box->currentIndex() < 0) throw ConversionError::InvalidInteger(QString());
  return DefinitionForm::NumberValue(box->currentText().left(4));
}

QComboBox* ChoiceBox(QWidget* parent, const char* name) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QString(36, 'n')));
  return box;
}

}  // namespace

IncomeForm::IncomeForm(DataStore& store, int& selection, const int& default_folder,
                       QWidget* parent)
    : QDialog(parent), store_(store), selection_(selection), default_folder_(default_folder) {
  setObjectName("TIncome");
  setWindowTitle("Income");
  resize(435, 273);
  date_ = new QLineEdit(this);
  date_->setObjectName("MaskEdit1");
  amount_ = new QLineEdit(this);
  amount_->setObjectName("MaskEdit2");
  desc_ = new QLineEdit(this);
  desc_->setObjectName("Edit1");
  desc_->setMaxLength(30);
  // Room for the thirty characters the field holds.
  desc_->setMinimumWidth(desc_->fontMetrics().horizontalAdvance(QString(30, 'n')) + 12);
  account_ = ChoiceBox(this, "ComboBox1");
  folder_ = ChoiceBox(this, "ComboBox2");
  for (QLineEdit* e : {date_, amount_}) {
    e->setFixedWidth(e->fontMetrics().horizontalAdvance("999999999") + 16);
  }
  amount_->setAlignment(Qt::AlignRight);
  for (QObject* o : std::initializer_list<QObject*>{date_, amount_, account_->lineEdit(),
                                                    folder_->lineEdit()}) {
    o->installEventFilter(this);
  }

  auto* fields = new QGridLayout;
  const std::pair<const char*, QWidget*> rows[] = {{"Date:", date_},
                                                   {"Amount:", amount_},
                                                   {"Description:", desc_},
                                                   {"Account:", account_},
                                                   {"Folder", folder_}};
  int r = 0;
  for (const auto& [label, w] : rows) {
    fields->addWidget(new QLabel(label, this), r, 0);
    fields->addWidget(w, r++, 1, Qt::AlignLeft);
  }

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
  connect(help_, &QToolButton::clicked, this, [this] { emit HelpRequested("510"); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QWidget* b : std::initializer_list<QWidget*>{save_, delete_, cancel_, help_}) {
    buttons->addWidget(b);
  }
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addStretch(1);
  layout->addLayout(buttons);
}

bool IncomeForm::amount_is_red() const {
  return amount_->palette().color(QPalette::Text) == QColor(Qt::red);
}

void IncomeForm::SetAmountColour() {
  QPalette p = amount_->palette();
  p.setColor(QPalette::Text, amount_->text().contains('-') ? QColor(Qt::red) : QColor(Qt::black));
  amount_->setPalette(p);
}

void IncomeForm::FormShow() {
  // Month and day digits optional, year digits required; the amount has
  // six places for digits, blanks or a sign, then two optional decimals.
  const QString sep(LocaleFormats::DateSeparator());
  date_->setInputMask("00" + sep + "00" + sep + "99;_");
  amount_->setInputMask("######" + QString(LocaleFormats::DecimalSeparator()) + "00; ");
  save_->setEnabled(true);
  const bool existing = selection_ != 0;
  if (existing) {
    store_.LastResult = store_.inc5->Go(static_cast<uint32_t>(selection_));
    store_.engine().ExitTest();
    store_.LoadIncome();
  } else {
    store_.Income = {0, Clock::Now(), QString(), 0.0, default_folder_, false, false};
  }
  delete_->setVisible(existing);
  const IncomeRecord& r = store_.Income;
  date_->setText(r.IncDate.isValid() ? LocaleFormats::DateToText(r.IncDate.date()) : QString());
  amount_->setText(FormatNumber(r.IncAmt, "%9.2f"));
  SetAmountColour();
  desc_->setText(r.IncDesc.trimmed());
  FillAccounts();
  FillFolders();
  date_->setFocus();
}

void IncomeForm::FillAccounts() {
  account_->clear();
  Table* t = store_.acci;
  t->SelectTag(store_.tag_acci);
  store_.LastResult = t->Top();
  if (store_.LastResult == Table::kEndOfFile) {
    store_.ui().Inform("Income Accounts must be defined before entering Income Records");
    save_->setEnabled(false);
  }
  int chosen = 0;
  for (; store_.LastResult != Table::kEndOfFile; store_.LastResult = t->Skip(1)) {
    if (t->Deleted()) continue;
    store_.LoadIncomeAccount();
    if (store_.IncomeAccount.AccNo == store_.Income.IncAcc) chosen = account_->count();
    account_->addItem(PadNumber(store_.IncomeAccount.AccNo, 4) + " - " +
                      store_.IncomeAccount.AcDesc);
  }
  account_->setCurrentIndex(account_->count() > 0 ? chosen : -1);
}

void IncomeForm::FillFolders() {
  folder_->clear();
  Table* t = store_.folder;
  t->SelectTag(store_.tag_folder);
  store_.LastResult = t->Top();
  if (store_.LastResult == Table::kEndOfFile) {
    store_.ui().Inform("Folders must be defined before entering Income Records");
    save_->setEnabled(false);
  }
  int chosen = 0;
  for (; store_.LastResult != Table::kEndOfFile; store_.LastResult = t->Skip(1)) {
    if (t->Deleted()) continue;
    store_.LoadFolder();
    if (store_.Folder.FolNo == store_.Income.FolNo) chosen = folder_->count();
    folder_->addItem(PadNumber(store_.Folder.FolNo, 4) + " - " + store_.Folder.FolName);
  }
  folder_->setCurrentIndex(folder_->count() > 0 ? chosen : -1);
}

bool IncomeForm::MaskEdit1Exit() {
  QString text = date_->text();
  if (!ValidDate(&text, store_.ui())) {
    QMetaObject::invokeMethod(date_, [this] { date_->setFocus(); }, Qt::QueuedConnection);
    return false;
  }
  date_->setText(text);
  return true;
}

void IncomeForm::MaskEdit2Exit() {
  try {
    amount_->setText(FormatAmountText(amount_->displayText(), "%9.2f"));
  } catch (const ConversionError& e) {
    store_.ui().Warn(e.message());
  }
  SetAmountColour();
}

void IncomeForm::BtnSaveClick() {
  IncomeRecord r = store_.Income;
  try {
    r.IncAcc = ItemNumber(account_);
    const std::optional<QDate> date = LocaleFormats::TextToDate(date_->text());
    if (!date) throw ConversionError::InvalidDate(date_->text());
    r.IncDate = QDateTime(*date, QTime(0, 0));
    r.IncAmt = TextToFloat(amount_->displayText());
    r.IncDesc = desc_->text().trimmed();
    r.FolNo = ItemNumber(folder_);
    r.Archive = false;
  } catch (const ConversionError&) {
    store_.ui().Warn(kConversion);
    return;
  }
  if (selection_ > 0) {
    store_.LastResult = store_.inc5->Go(static_cast<uint32_t>(selection_));
    store_.engine().ExitTest();
    store_.Income = r;
    ExitOnFailure(store_, store_.StoreIncome());
    ExitOnFailure(store_, store_.inc5->Flush());
    accept();
    return;
  }
  if (!store_.inc5->AppendBlank().ok()) {
    store_.ui().Warn("Unable to Add Record at this time . . . ");
    return;
  }
  r.IncImp = false;
  store_.Income = r;
  ExitOnFailure(store_, store_.StoreIncome());
  ExitOnFailure(store_, store_.inc5->Flush());
  const uint32_t recno = store_.inc5->RecNo();
  if (store_.ui().AskYesNo("Add another income record?")) {
    store_.Income.IncAmt = 0;
    store_.Income.IncDesc.clear();
    amount_->setText(FormatNumber(0, "%9.2f"));
    SetAmountColour();
    desc_->clear();
    date_->setFocus();
    return;
  }
  selection_ = static_cast<int>(recno);
  accept();
}

void IncomeForm::BtnDeleteClick() {
  store_.LastResult = store_.inc5->Go(static_cast<uint32_t>(selection_));
  store_.engine().ExitTest();
  ExitOnFailure(store_, store_.inc5->Delete());
  ExitOnFailure(store_, store_.inc5->Flush());
  selection_ = 0;
  store_.PackPending = true;
  accept();
}

void IncomeForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

bool IncomeForm::eventFilter(QObject* watched, QEvent* event) {
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
        try {
          amount_->setText(FormatAmountText(amount_->displayText(), "%9.2f"));
        } catch (const ConversionError& e) {
          store_.ui().Warn(e.message());
        }
        SetAmountColour();
        amount_->setCursorPosition(7);  // just after the separator
        return true;
      }
      SetAmountColour();
    }
  }
  if (event->type() == QEvent::FocusOut && !leaving_ && isVisible()) {
    QWidget* next = QApplication::focusWidget();
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    const bool check = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                       next != cancel_ && next != help_ && next != nullptr && isAncestorOf(next);
    if (check && (watched == date_ || watched == amount_)) {
      leaving_ = true;
      watched == date_ ? static_cast<void>(MaskEdit1Exit()) : MaskEdit2Exit();
      leaving_ = false;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kpr
