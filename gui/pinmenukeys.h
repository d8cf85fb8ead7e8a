#pragma once

#include <QObject>
#include <QPointer>

class CPinItem;
class CPinScene;
class QGraphicsView;

// The pin's function menu from the keyboard. Shift+F10 or the menu key on
// the drawing opens the menu that a right click opens, for the pin that has
// focus: the one the search took (Enter in the search field) or the one last
// clicked. Every other key goes on to the view: the arrow keys still pan.
class PinMenuKeys : public QObject
{
    Q_OBJECT
public:
    explicit PinMenuKeys(QGraphicsView *view);

    // The drawing shown now (null when none is).
    void setScene(CPinScene *scene);
    // Gives focus to the first pin the search marked and the keyboard to the
    // drawing; the pin, or null when the search marked none.
    CPinItem *takeSearchHit();
    // The pin whose menu the keys open: the focused pin, else the selected one.
    CPinItem *targetPin() const;
    // Opens the menu of targetPin() beside it; false when there is none.
    bool openMenu();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QGraphicsView *view;
    QPointer<CPinScene> scene;
};
