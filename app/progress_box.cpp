#include "app/progress_box.h"

#include <QProgressBar>
#include <QVBoxLayout>

namespace kpr {

ProgressBox::ProgressBox(QWidget* parent) : QGroupBox(parent), bar_(new QProgressBar(this)) {
  setObjectName("ProgressBox");
  bar_->setRange(0, 100);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(bar_);
  setVisible(false);
}

void ProgressBox::ShowProgress(bool visible, const QString& caption) {
  bar_->setValue(0);
  setTitle(caption);
  setVisible(visible);
  if (QWidget* w = window()) w->repaint();
}

void ProgressBox::SetProgress(int position) {
  bar_->setValue(position);
  bar_->repaint();
}

int ProgressBox::position() const { return bar_->value(); }

}  // namespace kpr
