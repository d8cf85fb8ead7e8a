#include "pinscene.h"

#include "menuletters.h"
#include "packagedrawing.h"
#include "pinitem.h"

#include <QAction>
#include <QGraphicsSceneMouseEvent>
#include <QMenu>

CPinScene::CPinScene(PinBoard *pinBoard, QObject *parent) : QGraphicsScene(parent), board(pinBoard)
{
    createMenu();
    createItems();
    connect(board, &PinBoard::pinChanged, this, [this](int pinIndex) {
        paintPin(pinIndex);
        emit updataButtonActive();
    });
}

CPinScene::CPinScene(const QString &chipModel, bool useExternalRam, QObject *parent)
    : CPinScene(new PinBoard(chipModel, useExternalRam), parent)
{
    board->setParent(this);
}

CPinScene::~CPinScene() = default;

void CPinScene::createMenu()
{
    menu = std::make_unique<QMenu>();
    menu->setToolTipsVisible(true);
    new MenuLetters(menu.get());
    QFont font = menu->font();
    font.setPixelSize(14);
    menu->setFont(font);

    using Slot = void (CPinScene::*)();
    static const Slot handlers[actionCount] = {
        &CPinScene::SlotAction0,  &CPinScene::SlotAction1,  &CPinScene::SlotAction2,
        &CPinScene::SlotAction3,  &CPinScene::SlotAction4,  &CPinScene::SlotAction5,
        &CPinScene::SlotAction6,  &CPinScene::SlotAction7,  &CPinScene::SlotAction8,
        &CPinScene::SlotAction9,  &CPinScene::SlotAction10, &CPinScene::SlotAction11,
        &CPinScene::SlotAction12, &CPinScene::SlotAction13, &CPinScene::SlotAction14,
        &CPinScene::SlotAction15, &CPinScene::SlotAction16, &CPinScene::SlotAction17,
        &CPinScene::SlotAction18, &CPinScene::SlotAction19};
    for (int k = 0; k < actionCount; ++k) {
        auto *action = new QAction(this);
        connect(action, &QAction::triggered, this, handlers[k]);
        actions << action;
    }
    // A pin without functions says what it is in one greyed entry.
    roleEntry = new QAction(this);
    roleEntry->setEnabled(false);
}

// The geometry and the colours are those of the package drawing.
void CPinScene::createItems()
{
    const QString model = board->chipModel();
    const QStringList names = board->pinNames();
    const int n = int(names.size());

    body = new CPinItem(PackageDrawing::bodyRect(n), CPinItem::BodyKind, 0, n, model);
    body->setColour(PackageDrawing::bodyColour());
    addItem(body);

    for (int i = 0; i < n; ++i) {
        auto *item = new CPinItem(PackageDrawing::pinRect(model, n, i), CPinItem::PinKind, i + 1, n,
                                  names.at(i));
        item->showFunctionOf(board);
        addItem(item);
        pins << item;
        paintPin(i);
    }
}

void CPinScene::paintPin(int pinIndex)
{
    if (pinIndex < 0 || pinIndex >= pins.size())
        return;
    CPinItem *item = pins.at(pinIndex);
    item->setColour(PackageDrawing::pinColour(*board, pinIndex));
    const QString function = board->function(pinIndex).trimmed();
    item->setToolTip(function.isEmpty() ? item->label()
                                        : QStringLiteral("%1  %2").arg(item->label(), function));
    item->update();
}

QVector<CPinItem *> CPinScene::markPins(const QString &query)
{
    const QVector<int> found = board->findPins(query);
    QVector<CPinItem *> marked;
    for (int i = 0; i < pins.size(); ++i) {
        pins.at(i)->setMarked(found.contains(i));
        if (found.contains(i))
            marked << pins.at(i);
    }
    return marked;
}

QVector<CPinItem *> CPinScene::markPinsNamed(const QStringList &names)
{
    QVector<CPinItem *> marked;
    for (CPinItem *pin : pins) {
        pin->setMarked(names.contains(pin->pinName()));
        if (pin->isMarked())
            marked << pin;
    }
    return marked;
}

int CPinScene::indexOfPin(const QString &pinName) const
{
    for (int i = 0; i < pins.size(); ++i)
        if (pins.at(i)->pinName() == pinName)
            return i;
    return -1;
}

void CPinScene::setPinFunction(int pinIndex, const QString &text)
{
    board->setFunction(pinIndex, text);
}

void CPinScene::prepareMenu(CPinItem *item)
{
    menu->clear();
    current = nullptr;
    functions.clear();
    const int index = int(pins.indexOf(item));
    if (!item || index < 0)
        return;

    current = item;
    hoverText = item->functionText();
    hoverPin = item->pinName();
    const QVector<PinBoard::MenuEntry> entries = board->menuEntries(index);

    QAction *title = menu->addAction(item->pinName());
    title->setEnabled(false);
    const QString now = item->functionText().trimmed();
    for (int k = 0; k < entries.size() && k < actions.size(); ++k) {
        const PinBoard::MenuEntry &entry = entries.at(k);
        functions << entry.text;
        QAction *action = actions.at(k);
        // A greyed entry says why beside it, where a shortcut would stand.
        action->setText(entry.enabled || entry.reason.isEmpty()
                            ? entry.text
                            : entry.text + QLatin1Char('\t') + entry.reason);
        action->setEnabled(entry.enabled);
        action->setToolTip(entry.enabled ? entry.text : entry.reason);
        // The pin's function now is checked.
        action->setCheckable(true);
        action->setChecked(entry.text == now);
        menu->addAction(action);
    }
    const QString role = board->roleOf(index);
    if (entries.isEmpty() && !role.isEmpty()) {
        roleEntry->setText(role);
        roleEntry->setToolTip(role);
        menu->addAction(roleEntry);
    }
}

void CPinScene::popupMenu(const QPoint &at)
{
    menu->popup(at);
    // The keyboard starts on the first entry that can be chosen.
    menu->setActiveAction(MenuLetters::firstEnabled(menu.get()));
}

void CPinScene::applyMenuEntry(int k)
{
    const int index = int(pins.indexOf(current));
    if (index < 0 || k < 0 || k >= functions.size())
        return;
    fireChipSelectSignals(board->applyFunction(index, functions.at(k), hoverText));
}

// The board has made and told every change; the freed chip-select pins are
// reported after it, so that a table refreshed on one of these signals
// already sees the final drawing.
void CPinScene::fireChipSelectSignals(const PinBoard::Outcome &outcome)
{
    for (PinBoard::SelectSignal signal : outcome.fired) {
        switch (signal) {
        case PinBoard::SignalDI:
            emit UpdataDISliceSelectPinsSignal();
            break;
        case PinBoard::SignalDO:
            emit UpdataDOSliceSelectPinsSignal();
            break;
        case PinBoard::SignalAI:
            emit UpdataAISliceSelectPinsSignal();
            break;
        case PinBoard::SignalAO:
            emit UpdataAOSliceSelectPinsSignal();
            break;
        case PinBoard::SignalSPI1:
            emit UpdataSPI1SliceSelectPinsSignal();
            break;
        case PinBoard::SignalSPI2:
            emit UpdataSPI2SliceSelectPinsSignal();
            break;
        case PinBoard::SignalSPI3:
            emit UpdataSPI3SliceSelectPinsSignal();
            break;
        }
    }
}

CPinItem *CPinScene::pinItemAt(const QPointF &scenePos) const
{
    const QList<QGraphicsItem *> under = items(scenePos);
    for (QGraphicsItem *item : under) {
        auto *pin = qgraphicsitem_cast<CPinItem *>(item);
        if (pin && pin->kind() == CPinItem::PinKind)
            return pin;
    }
    return nullptr;
}

void CPinScene::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        if (CPinItem *item = pinItemAt(event->scenePos())) {
            prepareMenu(item);
            popupMenu(event->screenPos());
        }
    }
    QGraphicsScene::mousePressEvent(event);
}

void CPinScene::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    const QList<QGraphicsItem *> under = items(event->scenePos());
    for (QGraphicsItem *item : under) {
        auto *pin = qgraphicsitem_cast<CPinItem *>(item);
        if (pin && pin->kind() == CPinItem::PinKind) {
            hoverText = pin->functionText();
            hoverPin = pin->pinName();
        }
    }
    QGraphicsScene::mouseMoveEvent(event);
}

void CPinScene::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsScene::mouseReleaseEvent(event);
}
