// The main window's progress box: a framed box with a caption and a bar
// from 0 to 100, hidden except while a long operation runs. Every change is
// painted at once, since the operation keeps the event loop busy.
#pragma once

#include <QGroupBox>

class QProgressBar;

namespace kpr {

class ProgressBox : public QGroupBox {
  Q_OBJECT
 public:
  explicit ProgressBox(QWidget* parent = nullptr);

  void ShowProgress(bool visible, const QString& caption);
  void SetProgress(int position);
  int position() const;

 private:
  QProgressBar* bar_;
};

}  // namespace kpr
