// UiServices with the real dialogs: message boxes, file and directory
// dialogs, and the main window's progress box.
#pragma once

#include <QPointer>
#include <QWidget>

#include "app/progress_box.h"
#include "store/ui_services.h"

namespace kpr {

class DialogUiServices final : public UiServices {
 public:
  // parent: the window dialogs belong to; progress: the box that shows
  // progress (either may be set later).
  explicit DialogUiServices(QWidget* parent = nullptr, ProgressBox* progress = nullptr)
      : parent_(parent), progress_(progress) {}
  void set_parent(QWidget* parent) { parent_ = parent; }
  void set_progress(ProgressBox* progress) { progress_ = progress; }

  bool Message(Kind kind, Buttons buttons, const QString& text) override;
  void ShowProgress(bool visible, const QString& caption) override;
  void SetProgress(int position) override;
  QString ChooseOpenFile(const QString& caption, const QString& filter) override;
  QString ChooseSaveFile(const QString& caption, const QString& filter) override;
  QString ChooseDirectory(const QString& caption, const QString& start) override;
  int RunModal(QDialog* form) override;

 private:
  QPointer<QWidget> parent_;
  QPointer<ProgressBox> progress_;
};

}  // namespace kpr
