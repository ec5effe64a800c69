#include "app/kpr_application.h"

#include "app/guarded.h"

namespace kpr {

KprApplication::KprApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName("KPR");
  setApplicationDisplayName("KPR");
}

bool KprApplication::notify(QObject* receiver, QEvent* event) {
  bool result = false;
  if (ui_ == nullptr) return QApplication::notify(receiver, event);
  Guarded(*ui_, [&] { result = QApplication::notify(receiver, event); });
  return result;
}

}  // namespace kpr
