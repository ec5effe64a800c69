// TIncome: the income edit form. Opens on the INC5 record numbered by the
// selection code, or on a new record's defaults when the code is 0; leaves
// the code on the record it saved (0 after a delete).
// REQUIRES while shown: INC5, ACCI and FOLDER open.
#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace kpr {

class DataStore;

class IncomeForm : public QDialog {
  Q_OBJECT
 public:
  // selection: SelIncome; default_folder: DefaultFolder, read at each show.
  IncomeForm(DataStore& store, int& selection, const int& default_folder,
             QWidget* parent = nullptr);

  QLineEdit* date_edit() const { return date_; }
  QLineEdit* amount_edit() const { return amount_; }
  QLineEdit* description_edit() const { return desc_; }
  QComboBox* account_box() const { return account_; }
  QComboBox* folder_box() const { return folder_; }
  QPushButton* save_button() const { return save_; }
  QPushButton* delete_button() const { return delete_; }

  // The amount's colour: red while its text holds a '-'.
  bool amount_is_red() const;

  // Event handlers.
  void FormShow();
  bool MaskEdit1Exit();  // false: invalid date, the focus goes back
  void MaskEdit2Exit();
  void BtnSaveClick();
  void BtnDeleteClick();
  void BtnCancelClick() { reject(); }

 signals:
  void HelpRequested(const QString& topic);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetAmountColour();
  void FillAccounts();
  void FillFolders();

  DataStore& store_;
  int& selection_;
  const int& default_folder_;
  QLineEdit* date_;
  QLineEdit* amount_;
  QLineEdit* desc_;
  QComboBox* account_;
  QComboBox* folder_;
  QPushButton* save_;
  QPushButton* delete_;
  QPushButton* cancel_;
  QToolButton* help_;
  bool leaving_ = false;
};

}  // namespace kpr
