// UiServices for tests: records every message and progress step, and answers
// questions and file choices from scripts set up beforehand. A question with
// no scripted answer fails the test rather than blocking.
#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "store/ui_services.h"

namespace kpr::testing {

class ScriptedUi final : public UiServices {
 public:
  struct Shown {
    Kind kind;
    Buttons buttons;
    QString text;
  };

  // Answers for the next questions (OK/Yes = true), in order.
  void Answer(bool yes) { answers_.push_back(yes); }
  void AnswerFile(const QString& path) { files_.push_back(path); }
  // What the next modal form does, in order: the function gets the form
  // (not shown) and returns its result code.
  void OnModal(std::function<int(QDialog*)> fn) { modals_.push_back(std::move(fn)); }
  bool modals_left() const { return !modals_.empty(); }

  bool Message(Kind kind, Buttons buttons, const QString& text) override;
  void ShowProgress(bool visible, const QString& caption) override;
  void SetProgress(int position) override;
  QString ChooseOpenFile(const QString& caption, const QString& filter) override;
  QString ChooseSaveFile(const QString& caption, const QString& filter) override;
  QString ChooseDirectory(const QString& caption, const QString& start) override;
  int RunModal(QDialog* form) override;

  const std::vector<Shown>& shown() const { return shown_; }
  // Texts of the messages shown, in order.
  std::vector<QString> texts() const;
  // Every progress event: "show:<caption>", "hide", or the position as text.
  const std::vector<QString>& progress() const { return progress_; }
  bool progress_visible() const { return progress_visible_; }
  void Clear();

 private:
  std::deque<bool> answers_;
  std::deque<QString> files_;
  std::deque<std::function<int(QDialog*)>> modals_;
  std::vector<Shown> shown_;
  std::vector<QString> progress_;
  bool progress_visible_ = false;
};

}  // namespace kpr::testing
