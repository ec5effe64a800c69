// How operations talk to the user.
//
// Every message box, question, progress display and file or directory choice
// of the program goes through one UiServices object. The main window provides
// the real dialogs; tests provide scripted answers, so no test waits on a
// modal dialog. Texts are shown exactly as given.
#pragma once

#include <QString>

class QDialog;

namespace kpr {

class UiServices {
 public:
  enum class Kind { kInformation, kWarning, kError };
  enum class Buttons { kOk, kOkCancel, kYesNo };

  virtual ~UiServices() = default;

  // Shows a modal message box; true when the user chose OK or Yes.
  virtual bool Message(Kind kind, Buttons buttons, const QString& text) = 0;

  // The progress box: shown or hidden with its bar set to 0, then stepped
  // through 0..100. Both repaint at once.
  virtual void ShowProgress(bool visible, const QString& caption) = 0;
  virtual void SetProgress(int position) = 0;

  // File and directory choice; an empty result means the user cancelled.
  virtual QString ChooseOpenFile(const QString& caption, const QString& filter) = 0;
  virtual QString ChooseSaveFile(const QString& caption, const QString& filter) = 0;
  virtual QString ChooseDirectory(const QString& caption, const QString& start) = 0;

  // Runs a form modally and returns its result code.
  virtual int RunModal(QDialog* form) = 0;

  void Inform(const QString& text) { Message(Kind::kInformation, Buttons::kOk, text); }
  void Warn(const QString& text) { Message(Kind::kWarning, Buttons::kOk, text); }
  bool AskOkCancel(const QString& text, Kind kind = Kind::kInformation) {
    return Message(kind, Buttons::kOkCancel, text);
  }
  bool AskYesNo(const QString& text) { return Message(Kind::kInformation, Buttons::kYesNo, text); }
};

}  // namespace kpr
