// What the folder and account definition forms share: the number field
// MaskEdit1 (up to four digits, right-aligned), the description Edit1 (at
// most 30 characters), Save, Delete, Cancel and the help button BitBtn1,
// the check made when the number field is left, and the standard report of
// a number that does not convert.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "classify/form_buttons.h"

class QGridLayout;
class QLineEdit;
class QPushButton;

namespace kpr {

class UiServices;

class DefinitionForm : public QDialog {
  Q_OBJECT
 public:
  QLineEdit* number_edit() const { return mask_; }
  QLineEdit* description_edit() const { return edit_; }
  QPushButton* delete_button() const { return buttons_->remove; }

  // Event handlers; conversion errors are shown as warnings here.
  virtual void FormShow() = 0;
  // False when the field refused its text (the focus goes back to it).
  bool MaskEdit1Exit();
  void BtnSaveClick();
  void BtnDeleteClick();
  void BtnCancelClick() { reject(); }

  // Integer value of a number field's text without surrounding blanks.
  // Throws ConversionError "'<text>' is not a valid integer value".
  static int NumberValue(const QString& text);

 signals:
  // The help button asks for a help topic ("550", "570").
  void HelpRequested(const QString& topic);

 protected:
  DefinitionForm(const QString& object_name, const QString& caption, QSize size,
                 const QString& number_label, const QString& help_topic, UiServices& ui,
                 QWidget* parent);
  // The grid holding the labelled fields; subclasses add rows below row 1.
  QGridLayout* fields() const { return fields_; }
  UiServices& ui() { return ui_; }

  // Checks the number field's value on leaving it: false (after telling the
  // user) to refuse it.
  virtual bool NumberLeft(int number) = 0;
  virtual void Save() = 0;
  virtual void Delete() = 0;

  // Puts the focus back into the number field once the current event ends.
  void RefocusNumber();

  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Guard(const std::function<bool()>& fn);

  UiServices& ui_;
  QGridLayout* fields_;
  QLineEdit* mask_;
  QLineEdit* edit_;
  std::optional<FormButtons> buttons_;
  bool leaving_ = false;
};

}  // namespace kpr
