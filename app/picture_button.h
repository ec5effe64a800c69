// A picture button: a picture drawn for the program with its name under it,
// so a newcomer can read what it does. The pictures are SVG and stay crisp
// at any screen scale.
#pragma once

#include <QToolButton>

namespace kpr {

// objectName: the button's name (BtnIncome); icon: a file under :/icons
// without extension; label: the text under the picture; hint: the tooltip.
QToolButton* MakePictureButton(QWidget* parent, const QString& object_name, const QString& icon,
                               const QString& label, const QString& hint);

// Disables a button whose operation is not built yet and says so in its hint.
void MarkNotAvailable(QToolButton* button);

}  // namespace kpr
