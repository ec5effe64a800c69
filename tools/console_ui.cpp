#include "tools/console_ui.h"

#include <cstdio>

namespace kpr {

bool ConsoleUi::Message(Kind, Buttons buttons, const QString& text) {
  std::fprintf(stderr, "%s\n", text.toUtf8().constData());
  return buttons == Buttons::kOk;
}

}  // namespace kpr
