#include "screenplace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QWidget>
#include <algorithm>

namespace {

QScreen *screenOf(const QWidget *window)
{
    QScreen *screen = window->screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

namespace ScreenPlace {

QSize room(const QWidget *window)
{
    const QScreen *screen = screenOf(window);
    if (!screen)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // The title bar and borders come on top of the window's own size; before
    // the window is shown they are not known yet.
    QSize decoration = window->frameGeometry().size() - window->geometry().size();
    if (!window->isVisible() || decoration.isEmpty())
        decoration = decoration.expandedTo(QSize(16, 40));
    return screen->availableGeometry().size() - decoration;
}

void fit(QWidget *window, const QSize &wanted)
{
    window->resize(wanted.boundedTo(room(window)));
}

QSize unscrolled(const QWidget *window, const QScrollArea *area)
{
    const QWidget *content = area->widget();
    if (!content)
        return window->sizeHint();
    const int frame = 2 * area->frameWidth();
    const QSize missing = content->sizeHint() + QSize(frame, frame) - area->sizeHint();
    return window->sizeHint() + missing.expandedTo(QSize(0, 0));
}

void keepOnScreen(QWidget *window)
{
    const QScreen *screen = screenOf(window);
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QRect frame = window->frameGeometry();
    if (area.contains(frame))
        return;
    const int x = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
    const int y = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
    window->move(x, y);
}

QRect besideRect(const QSize &frame, const QRect &anchor, const QRect &area, int leastWidth)
{
    const int roomRight = area.right() + 1 - (anchor.right() + 1);
    const int width =
        std::max(std::min(frame.width(), roomRight), std::min(leastWidth, frame.width()));
    QRect placed(QPoint(anchor.right() + 1, anchor.top()),
                 QSize(width, std::min(frame.height(), area.height())));
    // Inside the area: on a screen too narrow for both, the window comes over
    // the anchor rather than past the screen's edge.
    placed.moveLeft(std::max(area.left(), std::min(placed.left(), area.right() + 1 - width)));
    placed.moveTop(
        std::max(area.top(), std::min(placed.top(), area.bottom() + 1 - placed.height())));
    return placed;
}

void beside(QWidget *window, const QWidget *anchor, int leastWidth)
{
    const QScreen *screen = screenOf(window);
    const QRect anchorRect(anchor->mapToGlobal(QPoint(0, 0)), anchor->size());
    if (!screen) {
        window->move(anchorRect.topRight() + QPoint(1, 0));
        return;
    }
    // The title bar and borders come on top of the window's own size.
    QSize decoration = window->frameGeometry().size() - window->geometry().size();
    if (!window->isVisible() || decoration.isEmpty())
        decoration = decoration.expandedTo(QSize(16, 40));
    const QRect frame = besideRect(window->size() + decoration, anchorRect,
                                   screen->availableGeometry(), leastWidth);
    window->resize(frame.size() - decoration);
    window->move(frame.topLeft());
}

bool covers(const QWidget *window, const QWidget *widget)
{
    const QRect area(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    return window->isVisible() && window->frameGeometry().intersects(area);
}

} // namespace ScreenPlace
