#include "pinmenukeys.h"

#include "pinitem.h"
#include "pinscene.h"

#include <QContextMenuEvent>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QMenu>

namespace {

CPinItem *asPin(QGraphicsItem *item)
{
    auto *pin = qgraphicsitem_cast<CPinItem *>(item);
    return pin && pin->kind() == CPinItem::PinKind ? pin : nullptr;
}

bool opensMenu(const QKeyEvent *key)
{
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    return (key->key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
           (key->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier);
}

} // namespace

PinMenuKeys::PinMenuKeys(QGraphicsView *shownIn) : QObject(shownIn), view(shownIn)
{
    view->installEventFilter(this);
}

void PinMenuKeys::setScene(CPinScene *shown)
{
    scene = shown;
    if (!scene)
        return;
    // A clicked pin takes the focus, as the search's pin does.
    for (CPinItem *pin : scene->pinItems())
        pin->setFlag(QGraphicsItem::ItemIsFocusable, true);
}

CPinItem *PinMenuKeys::takeSearchHit()
{
    if (!scene)
        return nullptr;
    CPinItem *hit = nullptr;
    for (CPinItem *pin : scene->pinItems()) {
        if (pin->isMarked()) {
            hit = pin;
            break;
        }
    }
    if (!hit)
        return nullptr;
    scene->clearSelection();
    hit->setSelected(true);
    view->setFocus(Qt::OtherFocusReason);
    hit->setFocus(Qt::OtherFocusReason);
    view->ensureVisible(hit);
    return hit;
}

CPinItem *PinMenuKeys::targetPin() const
{
    if (!scene)
        return nullptr;
    if (CPinItem *focused = asPin(scene->focusItem()))
        return focused;
    const QList<QGraphicsItem *> selected = scene->selectedItems();
    for (QGraphicsItem *item : selected)
        if (CPinItem *pin = asPin(item))
            return pin;
    return nullptr;
}

bool PinMenuKeys::openMenu()
{
    CPinItem *pin = targetPin();
    if (!pin || scene->pinMenu()->isVisible())
        return false;
    // Beside the pin, which is brought into the view when the keys moved
    // it out.
    QPoint at = view->mapFromScene(pin->sceneBoundingRect().center());
    if (!view->viewport()->rect().contains(at)) {
        view->centerOn(pin);
        at = view->mapFromScene(pin->sceneBoundingRect().center());
    }
    scene->prepareMenu(pin);
    scene->popupMenu(view->viewport()->mapToGlobal(at));
    return true;
}

bool PinMenuKeys::eventFilter(QObject *watched, QEvent *event)
{
    // The platform may turn the menu key into a context menu event of its
    // own; a mouse's context menu is the scene's right click.
    const bool keyboardMenu =
        event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Keyboard;
    const bool menuKey =
        event->type() == QEvent::KeyPress && opensMenu(static_cast<QKeyEvent *>(event));
    if ((keyboardMenu || menuKey) && targetPin()) {
        openMenu();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
