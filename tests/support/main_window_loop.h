// Drives the main window's pick-and-edit loops in tests: each modal form
// the loop shows is handed, shown, to the next scripted step, which works
// it as a user would; the form's result goes back to the loop.
// Header only: the tests that use it link the program's app library.
#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <functional>
#include <memory>

#include "app/main_window.h"
#include "tests/support/scripted_ui.h"

namespace kpr::testing {

class MainWindowLoop {
 public:
  // Makes the main window on `store` and starts it without the splash
  // wait; the messages of the start are cleared.
  MainWindow& Start(DataStore& store, ScriptedUi& ui) {
    window_ = std::make_unique<MainWindow>(store);
    window_->set_splash_milliseconds(0);
    EXPECT_TRUE(window_->StartUp());
    ui.Clear();
    return *window_;
  }
  void Close() { window_.reset(); }

  // Scripts the next modal form as a T, shown and then driven by fn.
  template <typename T>
  static void Next(ScriptedUi& ui, std::function<void(T&)> fn) {
    ui.OnModal([fn](QDialog* d) {
      auto* form = dynamic_cast<T*>(d);
      EXPECT_NE(form, nullptr) << d->objectName().toStdString();
      if (form == nullptr) return 0;
      form->FormShow();
      fn(*form);
      return form->result();
    });
  }

 private:
  std::unique_ptr<MainWindow> window_;
};

}  // namespace kpr::testing
