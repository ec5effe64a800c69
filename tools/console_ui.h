// UiServices for the command line: messages go to standard error, questions
// are answered no (a tool must never wait for a person), progress is quiet.
#pragma once

#include "store/ui_services.h"

namespace kpr {

class ConsoleUi : public UiServices {
 public:
  bool Message(Kind kind, Buttons buttons, const QString& text) override;
  void ShowProgress(bool, const QString&) override {}
  void SetProgress(int) override {}
  QString ChooseOpenFile(const QString&, const QString&) override { return {}; }
  QString ChooseSaveFile(const QString&, const QString&) override { return {}; }
  QString ChooseDirectory(const QString&, const QString&) override { return {}; }
  int RunModal(QDialog*) override { return 0; }
};

}  // namespace kpr
