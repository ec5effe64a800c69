#include "tests/support/scripted_ui.h"

#include <gtest/gtest.h>

namespace kpr::testing {

bool ScriptedUi::Message(Kind kind, Buttons buttons, const QString& text) {
  shown_.push_back({kind, buttons, text});
  if (buttons == Buttons::kOk) return true;
  if (answers_.empty()) {
    ADD_FAILURE() << "unscripted question: " << text.toStdString();
    return false;
  }
  const bool yes = answers_.front();
  answers_.pop_front();
  return yes;
}

void ScriptedUi::ShowProgress(bool visible, const QString& caption) {
  progress_visible_ = visible;
  progress_.push_back(visible ? "show:" + caption : QString("hide"));
}

void ScriptedUi::SetProgress(int position) { progress_.push_back(QString::number(position)); }

QString ScriptedUi::ChooseOpenFile(const QString&, const QString&) {
  if (files_.empty()) return {};
  QString f = files_.front();
  files_.pop_front();
  return f;
}

QString ScriptedUi::ChooseSaveFile(const QString& c, const QString& f) { return ChooseOpenFile(c, f); }
QString ScriptedUi::ChooseDirectory(const QString& c, const QString&) { return ChooseOpenFile(c, {}); }

int ScriptedUi::RunModal(QDialog* form) {
  if (modals_.empty()) {
    ADD_FAILURE() << "unscripted modal form";
    return 0;
  }
  auto fn = std::move(modals_.front());
  modals_.pop_front();
  return fn(form);
}

std::vector<QString> ScriptedUi::texts() const {
  std::vector<QString> out;
  for (const auto& s : shown_) out.push_back(s.text);
  return out;
}

void ScriptedUi::Clear() {
  shown_.clear();
  progress_.clear();
}

}  // namespace kpr::testing
