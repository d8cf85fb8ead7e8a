#pragma once

#include <QString>

class QApplication;

// The keyboard focus drawn wherever it is, however it got there.
//
// Styles draw a focus frame only after the focus has been moved with the
// keyboard in that window; a table opened with the mouse, or a dialog's first
// field, then shows no sign of where typing goes. Once installed, every focus
// change counts as one made with the keyboard, so every control that takes
// the focus draws it. Frames that no style marks (the drawing, a list) mark
// it themselves with frameStyleSheet.
namespace FocusCues {

void install(QApplication *app);

// A style sheet for a scroll area's frame that turns into a frame in the
// highlight colour while the area has the focus, with no change of size.
QString frameStyleSheet(const char *className);

} // namespace FocusCues
