// The application's standard error report: an error that escapes an event
// handler (a number or date that does not convert) is shown in one box, the
// operation stops, and the window goes on.
#pragma once

#include <exception>

#include "store/conversion_error.h"
#include "store/ui_services.h"

namespace kpr {

template <typename Fn>
void Guarded(UiServices& ui, Fn&& fn) {
  try {
    fn();
  } catch (const ConversionError& e) {
    ui.Warn(e.message());
  } catch (const std::exception& e) {
    ui.Message(UiServices::Kind::kError, UiServices::Buttons::kOk, QString::fromUtf8(e.what()));
  }
}

}  // namespace kpr
