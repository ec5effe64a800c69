#include "app/picture_button.h"

#include <QIcon>

namespace kpr {

QToolButton* MakePictureButton(QWidget* parent, const QString& object_name, const QString& icon,
                               const QString& label, const QString& hint) {
  auto* b = new QToolButton(parent);
  b->setObjectName(object_name);
  b->setIcon(QIcon(":/icons/" + icon + ".svg"));
  b->setIconSize(QSize(40, 40));
  b->setText(label);
  b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  b->setAutoRaise(true);
  b->setToolTip(hint);
  b->setMinimumWidth(92);
  return b;
}

void MarkNotAvailable(QToolButton* button) {
  button->setEnabled(false);
  const QString hint = button->toolTip();
  button->setToolTip((hint.isEmpty() ? button->text() : hint) +
                     "\n(Not available in this version yet.)");
}

}  // namespace kpr
