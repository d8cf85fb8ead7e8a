#pragma once

#include <QObject>

class QAction;
class QMenu;

// A menu whose entries carry no & letters, reached from the keyboard all the
// same: a letter moves to the next enabled entry that begins with it
// (again and again through those that do), as a list does.
class MenuLetters : public QObject
{
    Q_OBJECT
public:
    // Watches the menu; it is the menu's child.
    explicit MenuLetters(QMenu *menu);

    // The first enabled entry that is not a title; null when none is.
    static QAction *firstEnabled(const QMenu *menu);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QMenu *menu;
};
