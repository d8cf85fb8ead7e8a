#pragma once

#include <QSize>

class QScrollArea;
class QWidget;

// Where a window opens: within the available area of the screen it is on
// (the primary one before it is shown), title bar and borders included.
namespace ScreenPlace {

// The largest size the window itself may take there.
QSize room(const QWidget *window);
// Resizes the window to wanted, or to the room when wanted is larger.
void fit(QWidget *window, const QSize &wanted);
// The window's size hint with area as large as its content: what the window
// needs to show everything without scrolling.
QSize unscrolled(const QWidget *window, const QScrollArea *area);
// Moves the window back inside the available area of its screen.
void keepOnScreen(QWidget *window);
// Moves the window to the right of anchor, tops aligned, as far as the
// screen allows: what the anchor holds stays in reach.
void beside(QWidget *window, const QWidget *anchor);

} // namespace ScreenPlace
