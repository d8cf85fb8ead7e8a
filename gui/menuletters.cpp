#include "menuletters.h"

#include <QKeyEvent>
#include <QMenu>

MenuLetters::MenuLetters(QMenu *watchedMenu) : QObject(watchedMenu), menu(watchedMenu)
{
    menu->installEventFilter(this);
}

QAction *MenuLetters::firstEnabled(const QMenu *menu)
{
    for (QAction *action : menu->actions())
        if (action->isEnabled() && !action->isSeparator() && action->isVisible())
            return action;
    return nullptr;
}

bool MenuLetters::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != menu || event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const QString typed = key->text();
    if (typed.size() != 1 || !typed.at(0).isLetterOrNumber() ||
        (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    const QList<QAction *> entries = menu->actions();
    const int from = int(entries.indexOf(menu->activeAction()));
    for (int step = 1; step <= entries.size(); ++step) {
        QAction *entry = entries.at((from + step + entries.size()) % entries.size());
        if (entry->isEnabled() && !entry->isSeparator() &&
            entry->text().startsWith(typed, Qt::CaseInsensitive)) {
            menu->setActiveAction(entry);
            return true;
        }
    }
    return true; // no entry begins with it: nothing else happens either
}
