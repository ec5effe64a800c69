// The button row of the edit forms: Save, Delete, Cancel and the small help
// button BitBtn1, centred under the fields; and the rule for which focus
// changes count as leaving a field.
#pragma once

class QDialog;
class QFocusEvent;
class QHBoxLayout;
class QPushButton;
class QToolButton;

namespace kpr {

struct FormButtons {
  // Makes the buttons as children of `form`; none of them is a default
  // button, so Enter in a field never saves.
  explicit FormButtons(QDialog* form);

  // True when a field losing the focus in `event` should check its text:
  // not when the focus goes to Cancel or help, to another window or a popup.
  bool LeavingChecks(const QDialog* form, const QFocusEvent* event) const;

  QPushButton* save;
  QPushButton* remove;
  QPushButton* cancel;
  QToolButton* help;
  QHBoxLayout* row;
};

}  // namespace kpr
