#pragma once

#include <QRect>
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
// Moves the window to the right of anchor, tops aligned, and makes it
// narrower when it would reach past the screen (it scrolls then), so that
// what the anchor holds stays in reach; never narrower than leastWidth.
void beside(QWidget *window, const QWidget *anchor, int leastWidth = 320);
// The frame a window of frame size takes beside anchor within area (global
// coordinates): right of the anchor, as wide as fits there but at least
// leastWidth, inside the area.
QRect besideRect(const QSize &frame, const QRect &anchor, const QRect &area, int leastWidth);
// Whether the window covers part of the widget.
bool covers(const QWidget *window, const QWidget *widget);

} // namespace ScreenPlace
