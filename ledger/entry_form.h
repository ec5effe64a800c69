// What the income and expense edit forms share: the date and amount fields
// and their checks on leaving, the account and folder boxes that ignore
// typing, and Save, Delete and Cancel with their effect on the selection
// code of the pick-and-edit loop. The form opens on the record numbered by
// the code, or on a new record's defaults when the code is 0; it leaves the
// code on the record it saved, 0 after a delete.
// REQUIRES while shown: the record table, its chart of accounts and FOLDER
// open.
#pragma once

#include <QDialog>
#include <QSize>
#include <optional>

#include "classify/form_buttons.h"
#include "store/status.h"

class QComboBox;
class QGridLayout;
class QLineEdit;

namespace kpr {

class DataStore;
class Table;
struct Tag;

class EntryForm : public QDialog {
  Q_OBJECT
 public:
  QLineEdit* date_edit() const { return date_; }
  QLineEdit* amount_edit() const { return amount_; }
  QComboBox* account_box() const { return account_; }
  QComboBox* folder_box() const { return folder_; }
  QPushButton* save_button() const { return buttons_->save; }
  QPushButton* delete_button() const { return buttons_->remove; }

  // The amount's colour: red while its text holds a '-'.
  bool amount_is_red() const;

  // Loads the record (or the defaults), shows it and fills both boxes.
  void FormShow();
  void BtnSaveClick();
  void BtnDeleteClick();
  void BtnCancelClick() { reject(); }

 signals:
  // The help button asks for the form's help topic.
  void HelpRequested(const QString& topic);

 protected:
  // The form's own words.
  struct Words {
    const char* object_name;
    const char* caption;
    QSize size;
    const char* help_topic;
    const char* add_another;  // "Add another income record?"
  };
  // selection: the loop's selection code; default_folder: DefaultFolder,
  // read at each show. The subclass adds its fields with AddField, in
  // focus order, then calls FinishLayout.
  EntryForm(DataStore& store, int& selection, const int& default_folder, const Words& words,
            QWidget* parent);

  // The masked date field and the amount field, named by the subclass.
  QLineEdit* MakeDateEdit(const char* name);
  QLineEdit* MakeAmountEdit(const char* name);
  // A plain text field of at most `max_length` characters.
  QLineEdit* MakeTextEdit(const char* name, int max_length);
  void AddField(const char* label, QWidget* field);
  // Adds the account ("Account:") and folder boxes and the button row.
  void FinishLayout(const char* folder_label);

  // Checks on leaving the date field: false (after "Invalid Date Entered")
  // sends the focus back. The amount field is reformatted on leaving.
  bool DateExit();
  void AmountExit();

  void ShowDate(const QDateTime& date);
  void ShowAmount(double amount);
  // Values read at Save; each throws ConversionError.
  QDateTime DateValue() const;
  double AmountValue() const;
  static int ItemNumber(const QComboBox* box);  // "   3 - Sales" gives 3

  // Fills `box` with "nnnn - text" items from the records of `table` in
  // `tag` order (number_field: the record's number; text_field: its text),
  // selecting `number`'s item or the first; an empty table shows `missing`
  // and disables Save.
  void FillChoices(QComboBox* box, Table* table, Tag* tag, int number_field, int text_field,
                   int number, const char* missing);

  DataStore& store() const { return store_; }
  int default_folder() const { return default_folder_; }

  // What differs per record kind.
  virtual Table* table() const = 0;
  virtual void LoadRecord() = 0;  // the buffer from the current record
  virtual void NewRecord() = 0;   // the buffer gets a new record's defaults
  virtual void ShowRecord() = 0;  // the buffer into the fields
  virtual void FillBoxes() = 0;   // FillChoices for both boxes
  virtual QWidget* first_field() const = 0;
  // Reads every field into the buffer, or throws ConversionError and
  // leaves the buffer as it was.
  virtual void ReadFields() = 0;
  virtual Status StoreRecord() = 0;
  // After "Add another" answered Yes: clears what the next record must not
  // keep, in buffer and fields.
  virtual void ClearForAnother() = 0;
  // Checks made when a field of the subclass is left.
  virtual void FieldLeft(QObject* field) { (void)field; }

  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetAmountColour();
  void GoToSelected();

  DataStore& store_;
  int& selection_;
  const int& default_folder_;
  Words words_;
  QGridLayout* fields_;
  int field_rows_ = 0;
  QLineEdit* date_ = nullptr;
  QLineEdit* amount_ = nullptr;
  QComboBox* account_ = nullptr;
  QComboBox* folder_ = nullptr;
  std::optional<FormButtons> buttons_;
  bool leaving_ = false;
};

}  // namespace kpr
