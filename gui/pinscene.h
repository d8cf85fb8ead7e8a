#pragma once

#include "pindescriptions.h"
#include "pinrules.h"

#include <QGraphicsScene>
#include <QStringList>
#include <QVector>
#include <memory>

class CPinItem;
class QAction;
class QMenu;

// The drawing of one chip package: the body and one item per pin. The pins'
// functions live in a PinBoard; the scene paints what the board holds,
// repaints a pin when the board says it changed, and hands the user's menu
// choices to the board, which decides what they change.
class CPinScene : public QGraphicsScene
{
    Q_OBJECT
public:
    static constexpr int actionCount = PinBoard::maxMenuEntries;

    // Draws the given board, which must outlive the scene.
    explicit CPinScene(PinBoard *board, QObject *parent = nullptr);
    // Draws a board of its own, for a drawing without a project.
    CPinScene(const QString &chipModel, bool useExternalRam, QObject *parent = nullptr);
    ~CPinScene() override;

    QString chipModel() const { return board->chipModel(); }
    bool useExternalRam() const { return board->catalogue().useExternalRam(); }
    const CPinDescriptions &catalogue() const { return board->catalogue(); }
    PinBoard *pinBoard() const { return board; }
    QVector<CPinItem *> pinItems() const { return pins; } // index 0 = pin 1
    CPinItem *bodyItem() const { return body; }
    int indexOfPin(const QString &pinName) const;

    // Gives a pin a function on the board (as opening a project does).
    void setPinFunction(int pinIndex, const QString &text);
    // Marks the pins the query finds (see PinBoard::findPins) and unmarks the
    // rest; returns the marked pins.
    QVector<CPinItem *> markPins(const QString &query);
    // Marks the pins of these names alone; returns the marked pins.
    QVector<CPinItem *> markPinsNamed(const QStringList &names);

    // Fills the pin menu for a pin without showing it; the right-button
    // press calls this and then pops the menu up at the cursor.
    void prepareMenu(CPinItem *item);
    QMenu *pinMenu() const { return menu.get(); }
    // Shows the prepared menu at a screen point, on its first enabled entry.
    void popupMenu(const QPoint &at);
    QVector<QAction *> menuActions() const { return actions; }
    CPinItem *currentItem() const { return current; }
    QStringList currentFunctions() const { return functions; }
    QString hoverFunction() const { return hoverText; }
    QString hoverPinName() const { return hoverPin; }

public slots:
    void SlotAction0() { applyMenuEntry(0); }
    void SlotAction1() { applyMenuEntry(1); }
    void SlotAction2() { applyMenuEntry(2); }
    void SlotAction3() { applyMenuEntry(3); }
    void SlotAction4() { applyMenuEntry(4); }
    void SlotAction5() { applyMenuEntry(5); }
    void SlotAction6() { applyMenuEntry(6); }
    void SlotAction7() { applyMenuEntry(7); }
    void SlotAction8() { applyMenuEntry(8); }
    void SlotAction9() { applyMenuEntry(9); }
    void SlotAction10() { applyMenuEntry(10); }
    void SlotAction11() { applyMenuEntry(11); }
    void SlotAction12() { applyMenuEntry(12); }
    void SlotAction13() { applyMenuEntry(13); }
    void SlotAction14() { applyMenuEntry(14); }
    void SlotAction15() { applyMenuEntry(15); }
    void SlotAction16() { applyMenuEntry(16); }
    void SlotAction17() { applyMenuEntry(17); }
    void SlotAction18() { applyMenuEntry(18); }
    void SlotAction19() { applyMenuEntry(19); }

signals:
    void updataButtonActive();
    void UpdataDISliceSelectPinsSignal();
    void UpdataDOSliceSelectPinsSignal();
    void UpdataAISliceSelectPinsSignal();
    void UpdataAOSliceSelectPinsSignal();
    void UpdataSPI1SliceSelectPinsSignal();
    void UpdataSPI2SliceSelectPinsSignal();
    void UpdataSPI3SliceSelectPinsSignal();

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;

private:
    void createMenu();
    void createItems();
    void applyMenuEntry(int k);
    void fireChipSelectSignals(const PinBoard::Outcome &outcome);
    void paintPin(int pinIndex);
    CPinItem *pinItemAt(const QPointF &scenePos) const;

    PinBoard *board;
    std::unique_ptr<QMenu> menu;
    QVector<QAction *> actions;
    QAction *roleEntry = nullptr;
    QStringList functions;
    CPinItem *current = nullptr;
    QString hoverText = QStringLiteral(" ");
    QString hoverPin = QStringLiteral(" ");
    CPinItem *body = nullptr;
    QVector<CPinItem *> pins;
};
