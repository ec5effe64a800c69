#include "app/about_box.h"

#include <QPushButton>
#include <QSvgWidget>
#include <QVBoxLayout>

namespace kpr {

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("TAboutForm");
  setWindowTitle("About TARN Ledgerline 1.06");
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
  auto* picture = new QSvgWidget(":/icons/about.svg", this);
  picture->setFixedSize(400, 241);
  ok_ = new QPushButton("OK", this);
  ok_->setObjectName("OKButton");
  ok_->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 8);
  layout->addWidget(picture);
  layout->addWidget(ok_, 0, Qt::AlignHCenter);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutBox::SetSplashMode(bool splash) { ok_->setVisible(!splash); }

bool AboutBox::ok_visible() const { return !ok_->isHidden(); }

}  // namespace kpr
