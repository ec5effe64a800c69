#include "app/dialog_ui_services.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace kpr {

bool DialogUiServices::Message(Kind kind, Buttons buttons, const QString& text) {
  QMessageBox box(parent_);
  box.setWindowTitle(QApplication::applicationName());
  box.setText(text);
  box.setIcon(kind == Kind::kWarning ? QMessageBox::Warning
              : kind == Kind::kError ? QMessageBox::Critical
                                     : QMessageBox::Information);
  switch (buttons) {
    case Buttons::kOk: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::kOkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::kYesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
  }
  const int answer = box.exec();
  return answer == QMessageBox::Ok || answer == QMessageBox::Yes;
}

void DialogUiServices::ShowProgress(bool visible, const QString& caption) {
  if (progress_) progress_->ShowProgress(visible, caption);
}

void DialogUiServices::SetProgress(int position) {
  if (progress_) progress_->SetProgress(position);
}

QString DialogUiServices::ChooseOpenFile(const QString& caption, const QString& filter) {
  return QFileDialog::getOpenFileName(parent_, caption, QString(), filter);
}

QString DialogUiServices::ChooseSaveFile(const QString& caption, const QString& filter) {
  return QFileDialog::getSaveFileName(parent_, caption, QString(), filter);
}

QString DialogUiServices::ChooseDirectory(const QString& caption, const QString& start) {
  return QFileDialog::getExistingDirectory(parent_, caption, start);
}

int DialogUiServices::RunModal(QDialog* form) { return form->exec(); }

}  // namespace kpr
