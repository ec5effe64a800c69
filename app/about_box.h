// The about box: the program's picture with an OK button under it. While
// the program starts it serves as the splash and shows no OK button.
#pragma once

#include <QDialog>

class QPushButton;

namespace kpr {

class AboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit AboutBox(QWidget* parent = nullptr);
  // Splash mode hides the OK button.
  void SetSplashMode(bool splash);
  bool ok_visible() const;

 private:
  QPushButton* ok_;
};

}  // namespace kpr
