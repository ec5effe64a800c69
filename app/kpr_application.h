// The application object: an error that escapes every handler is shown in
// one error box instead of ending the program.
#pragma once

#include <QApplication>

#include "store/ui_services.h"

namespace kpr {

class KprApplication : public QApplication {
 public:
  KprApplication(int& argc, char** argv);
  void set_ui(UiServices* ui) { ui_ = ui; }
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  UiServices* ui_ = nullptr;
};

}  // namespace kpr
