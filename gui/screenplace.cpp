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

void beside(QWidget *window, const QWidget *anchor)
{
    const QPoint topRight = anchor->mapToGlobal(QPoint(anchor->width(), 0));
    window->move(topRight);
    keepOnScreen(window);
}

} // namespace ScreenPlace
