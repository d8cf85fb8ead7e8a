#pragma once

#include <QColor>

class QPushButton;

namespace FlatButton {

// Paints a button flat in a fixed colour (a peripheral in use, the open
// port). A flat button draws no frame, and so no focus frame of its style:
// the button then draws its own mark while it has the keyboard focus.
void paint(QPushButton *button, const QColor &colour);

} // namespace FlatButton
