#include "pinrules.h"

#include "chipfacts.h"
#include "projectfile.h"

#include <algorithm>

const QString PinBoard::freeText = QStringLiteral(" ");

namespace {

const QStringList kSpiKinds{"SCK", "MISO", "MOSI"};

} // namespace

PinBoard::PinBoard(const QString &chipModel, bool useExternalRam, QObject *parent)
    : QObject(parent), cat(useExternalRam), model(chipModel), names(cat.pinNames(chipModel))
{
    for (int i = 0; i < names.size(); ++i)
        texts << freeText;
    QVector<QPair<int, QString>> given = cat.fixedPins(model);
    if (ChipFacts::hasExternalBus(model) && useExternalRam)
        given += cat.externalBusPins();
    for (const auto &pin : qAsConst(given)) {
        if (pin.first >= 0 && pin.first < texts.size()) {
            texts[pin.first] = pin.second;
            fixed << pin.first;
        }
    }
    power = cat.powerPins(model);
}

QString PinBoard::pinName(int pinIndex) const
{
    return pinIndex >= 0 && pinIndex < names.size() ? names.at(pinIndex) : QString();
}

QString PinBoard::function(int pinIndex) const
{
    return pinIndex >= 0 && pinIndex < texts.size() ? texts.at(pinIndex) : freeText;
}

int PinBoard::indexOfPin(const QString &pinName) const
{
    return int(names.indexOf(pinName));
}

void PinBoard::setFunction(int pinIndex, const QString &text)
{
    if (pinIndex < 0 || pinIndex >= texts.size() || texts.at(pinIndex) == text)
        return;
    texts[pinIndex] = text;
    emit pinChanged(pinIndex);
}

void PinBoard::restoreFunctions(const QStringList &functionTexts)
{
    for (int i = 0; i < texts.size(); ++i) {
        if (isFixed(i))
            continue;
        const QString text = functionTexts.value(i, freeText);
        setFunction(i, text.trimmed().isEmpty() || text == cat.clearPin ? freeText : text);
    }
}

QVector<PinBoard::SignalGroup> PinBoard::spiGroups() const
{
    return ChipFacts::spiGroups(model);
}

QVector<PinBoard::SignalGroup> PinBoard::serialGroups() const
{
    return ChipFacts::serialGroups(model);
}

bool PinBoard::isComplete(const SignalGroup &group) const
{
    for (int i = 0; i < group.pins.size(); ++i) {
        const int index = indexOfPin(group.pins.at(i));
        if (index < 0 || function(index) != group.signalNames.value(i))
            return false;
    }
    return !group.pins.isEmpty();
}

bool PinBoard::isPeripheralComplete(const QString &peripheral, QChar variant) const
{
    QVector<SignalGroup> groups = spiGroups();
    groups += serialGroups();
    for (const SignalGroup &group : qAsConst(groups))
        if (group.port == peripheral && (variant.isNull() || group.variant == variant) &&
            isComplete(group))
            return true;
    return false;
}

bool PinBoard::lockedForEdit(const QString &function) const
{
    // A chip select of an SPI stays while its SPI is complete; board chip
    // selects belong to their table and are only moved from there.
    const CPinDescriptions::DlgType owner = ChipFacts::chipSelectTableOf(function);
    if (owner >= CPinDescriptions::DlgSPI1 && owner <= CPinDescriptions::DlgSPI3)
        return isPeripheralComplete(ChipFacts::spiPorts().at(owner - CPinDescriptions::DlgSPI1));
    return owner != CPinDescriptions::DlgNone;
}

// On STM32F407ZG a peripheral that can sit on two groups of pins is offered
// on one group only once it is complete on the other; USART2, USART3, UART4,
// UART5 and USART6 are no longer offered on the group they are complete on.
bool PinBoard::alternativeGroupState(const QString &entry, const QString &pin, bool *state,
                                     QString *reason) const
{
    QVector<SignalGroup> groups = spiGroups();
    groups += serialGroups();
    for (const SignalGroup &group : qAsConst(groups)) {
        const int slot = int(group.signalNames.indexOf(entry));
        if (slot < 0 || group.pins.at(slot) != pin)
            continue;
        const QString &p = group.port;
        const bool onA = isPeripheralComplete(p, QLatin1Char('A'));
        const bool onB = isPeripheralComplete(p, QLatin1Char('B'));
        if (p == QLatin1String("UART5"))
            *state = !isComplete(group);
        else if (p.startsWith(QLatin1String("SPI")) || p == QLatin1String("USART1"))
            *state = group.variant == QLatin1Char('B') ? !onA : (onA || !onB);
        else
            *state = !onA && !onB;
        const bool onOther = group.variant == QLatin1Char('B') ? onA : onB;
        if (*state)
            reason->clear();
        else if (onOther)
            *reason = tr("%1 已用在另一组引脚上").arg(p);
        else
            *reason = tr("%1 已在本组引脚 %2 上").arg(p, group.pins.join(QLatin1Char('/')));
        return true;
    }
    return false;
}

QStringList PinBoard::offeredFunctions(const QString &pin) const
{
    QStringList list = cat.functionsOf(model, pin);
    // The catalogue follows the datasheet, which names memory-bus signals on
    // pins of a chip whose package has no memory bus.
    const auto busSignal = [](const QString &text) {
        return text.startsWith(QLatin1String("FSMC_"));
    };
    if (!ChipFacts::hasExternalBus(model))
        list.erase(std::remove_if(list.begin(), list.end(), busSignal), list.end());
    return list.mid(0, maxMenuEntries);
}

QVector<PinBoard::MenuEntry> PinBoard::menuEntries(int pinIndex) const
{
    QVector<MenuEntry> entries;
    const QString pin = pinName(pinIndex);
    if (pin.isEmpty())
        return entries;
    const QStringList list = offeredFunctions(pin);
    const QString current = function(pinIndex);
    const bool editable = !lockedForEdit(current);
    QString lockReason;
    if (!editable) {
        const CPinDescriptions::DlgType owner = ChipFacts::chipSelectTableOf(current);
        lockReason = tr("%1 是 %2 表格的片选：请先在 %2 表格中另选片选引脚")
                         .arg(current, ProjectFile::sectionOf(owner));
    }
    const QStringList unique{cat.sysInit, cat.sysRunLed, cat.sysFaultLed, cat.sysWatchDog};

    for (const QString &text : list) {
        MenuEntry entry{text, editable, lockReason};
        if (editable && unique.contains(text) && texts.contains(text)) {
            entry.enabled = false;
            entry.reason = tr("%1 已分配在 %2 上").arg(text, pinName(int(texts.indexOf(text))));
        }
        bool groupState = false;
        QString groupReason;
        // A locked pin (one carrying a chip select) stays locked whatever its
        // groups say: the chip select is moved from its table first.
        if (isF407() && alternativeGroupState(text, pin, &groupState, &groupReason)) {
            entry.enabled = editable && groupState;
            if (editable && !groupState)
                entry.reason = groupReason;
        }
        entries << entry;
    }
    return entries;
}

QString PinBoard::roleOf(int pinIndex) const
{
    if (pinIndex < 0 || pinIndex >= pinCount() || !offeredFunctions(pinName(pinIndex)).isEmpty())
        return QString();
    if (isPower(pinIndex))
        return tr("电源引脚");
    const QString text = function(pinIndex);
    if (text == cat.ocsIn || text == cat.ocsOut)
        return tr("晶振引脚 %1").arg(text);
    if (text == cat.nrst)
        return tr("复位引脚 %1").arg(text);
    if (text == cat.boot0 || text == cat.boot1)
        return tr("启动引脚 %1").arg(text);
    if (cat.externalBusNames.contains(text))
        return tr("外部总线引脚 %1").arg(text);
    return QString();
}

QVector<int> PinBoard::findPins(const QString &query) const
{
    QVector<int> found;
    const QString wanted = query.trimmed();
    if (wanted.isEmpty())
        return found;
    for (int i = 0; i < pinCount(); ++i) {
        const bool byName = names.at(i).compare(wanted, Qt::CaseInsensitive) == 0;
        bool bySignal = texts.at(i).contains(wanted, Qt::CaseInsensitive);
        for (const QString &signal : cat.alternateFunctionsOf(model, names.at(i)))
            bySignal = bySignal || signal.contains(wanted, Qt::CaseInsensitive);
        if (byName || bySignal)
            found << i;
    }
    return found;
}

PinBoard::Outcome PinBoard::applyChoice(int pinIndex, int k, const QString &hoverFunction)
{
    const QStringList list = offeredFunctions(pinName(pinIndex));
    if (k < 0 || k >= list.size())
        return {};
    return applyFunction(pinIndex, list.at(k), hoverFunction);
}

PinBoard::Outcome PinBoard::applyFunction(int pinIndex, const QString &choice,
                                          const QString &hoverFunction)
{
    Outcome outcome;
    if (pinIndex < 0 || pinIndex >= pinCount() || choice.isEmpty())
        return outcome;
    if (choice == cat.clearPin)
        release(outcome, pinIndex);
    else
        write(outcome, pinIndex, choice);
    applySpiPartners(outcome, pinIndex, choice);
    applySerialPartners(outcome, pinIndex, choice);
    applyBoardClearing(outcome, choice, hoverFunction);
    return outcome;
}

void PinBoard::applySpiPartners(Outcome &outcome, int pinIndex, const QString &choice)
{
    const QString pin = pinName(pinIndex);
    const QVector<SignalGroup> groups = spiGroups();
    for (const SignalGroup &group : groups) {
        const int slot = int(group.pins.indexOf(pin));
        if (slot < 0)
            continue;
        QVector<int> others;
        for (int i = 0; i < group.pins.size(); ++i)
            if (i != slot)
                others << i;

        if (choice == group.signalNames.at(slot)) {
            for (int i : others) {
                const int index = indexOfPin(group.pins.at(i));
                if (isFree(index))
                    write(outcome, index, group.signalNames.at(i));
            }
        } else if (choice == cat.clearPin) {
            // The partners must carry this SPI's own signals: on STM32F407ZG
            // SPI1 and SPI3 share PB3..PB5, and only the SPI that really sits
            // there may lose its chip selects.
            bool partnersSet = true;
            for (int i : others) {
                const QString text = function(indexOfPin(group.pins.at(i)));
                if (!text.contains(kSpiKinds.at(i)) || !text.contains(group.port))
                    partnersSet = false;
            }
            if (!partnersSet)
                continue;
            for (int i : others)
                release(outcome, indexOfPin(group.pins.at(i)));
            const int spi = int(ChipFacts::spiPorts().indexOf(group.port));
            releaseContaining(outcome, group.port + QLatin1String("_CS"),
                              SelectSignal(SignalSPI1 + spi));
        }
    }
}

void PinBoard::applySerialPartners(Outcome &outcome, int pinIndex, const QString &choice)
{
    const QString pin = pinName(pinIndex);
    const QVector<SignalGroup> groups = serialGroups();
    for (const SignalGroup &group : groups) {
        const int slot = int(group.pins.indexOf(pin));
        if (slot < 0)
            continue;
        const int other = 1 - slot;
        const int otherIndex = indexOfPin(group.pins.at(other));
        if (choice == group.signalNames.at(slot)) {
            if (isFree(otherIndex))
                write(outcome, otherIndex, group.signalNames.at(other));
        } else if (choice == cat.clearPin && function(otherIndex) == group.signalNames.at(other)) {
            // Only this port's own partner: PA1 may carry ETH_MII_RX_CLK, PC11
            // USART3_RX, which clearing PA0 or PC10 must leave alone.
            release(outcome, otherIndex);
        }
    }
}

void PinBoard::applyBoardClearing(Outcome &outcome, const QString &choice,
                                  const QString &hoverFunction)
{
    // A pin that leaves a board table, cleared or given another function,
    // frees the table's chip selects; the table, told by the signal, places
    // those of its remaining rows again.
    const CPinDescriptions::DlgType left = ChipFacts::tableOf(hoverFunction);
    if (choice == hoverFunction || (choice != cat.clearPin && ChipFacts::tableOf(choice) == left))
        return;
    const struct
    {
        CPinDescriptions::DlgType type;
        SelectSignal signal;
    } boards[] = {{CPinDescriptions::DlgDI, SignalDI},
                  {CPinDescriptions::DlgDO, SignalDO},
                  {CPinDescriptions::DlgAI, SignalAI},
                  {CPinDescriptions::DlgAO, SignalAO}};
    for (const auto &board : boards)
        if (left == board.type)
            releaseContaining(outcome, ChipFacts::chipSelectPrefix(board.type), board.signal);
}

PinBoard::Outcome PinBoard::placeSpiChipSelects(CPinDescriptions::DlgType type,
                                                const QStringList &newNames,
                                                const QStringList &oldNames)
{
    Outcome outcome;
    const bool isSpi = type == CPinDescriptions::DlgSPI1 || type == CPinDescriptions::DlgSPI2 ||
                       type == CPinDescriptions::DlgSPI3;
    if (!isSpi || newNames.isEmpty())
        return outcome;
    const QString prefix = ChipFacts::chipSelectPrefix(type);
    for (const QString &name : oldNames) {
        const int index = indexOfPin(name);
        if (index >= 0 && function(index).contains(prefix))
            release(outcome, index);
    }
    for (int i = 0; i < qMin(3, int(newNames.size())); ++i) {
        const int index = indexOfPin(newNames.at(i));
        if (canTakeChipSelect(index, type))
            write(outcome, index, prefix + QString::number(i + 1));
    }
    return outcome;
}

PinBoard::Outcome PinBoard::placeBoardChipSelects(CPinDescriptions::DlgType type,
                                                  const QStringList &newNames,
                                                  const QStringList &oldNames,
                                                  const QStringList &boards)
{
    Outcome outcome;
    const bool isBoard = type == CPinDescriptions::DlgDI || type == CPinDescriptions::DlgDO ||
                         type == CPinDescriptions::DlgAI || type == CPinDescriptions::DlgAO;
    if (!isBoard || newNames.isEmpty() || boards.isEmpty() || newNames.size() / 4 != boards.size())
        return outcome;
    const QString prefix = ChipFacts::chipSelectPrefix(type);
    for (const QString &name : oldNames) {
        const int index = indexOfPin(name);
        if (index >= 0 && function(index).contains(prefix))
            release(outcome, index);
    }
    // Each board's four names arrive as bit 3, bit 2, bit 1, bit 0.
    for (int i = 0; i < newNames.size(); ++i) {
        const int index = indexOfPin(newNames.at(i));
        if (canTakeChipSelect(index, type))
            write(outcome, index, prefix + QString::number(4 - i % 4));
    }
    return outcome;
}

bool PinBoard::canTakeChipSelect(int pinIndex, CPinDescriptions::DlgType type) const
{
    const QString prefix = ChipFacts::chipSelectPrefix(type);
    if (prefix.isEmpty() || cat.functionsOf(model, pinName(pinIndex)).isEmpty())
        return false;
    return isFree(pinIndex) || function(pinIndex).startsWith(prefix);
}

QStringList PinBoard::releaseUnusedChipSelects(CPinDescriptions::DlgType type,
                                               const QStringList &usedPins)
{
    QStringList released;
    const QString prefix = ChipFacts::chipSelectPrefix(type);
    if (prefix.isEmpty())
        return released;
    for (int i = 0; i < pinCount(); ++i) {
        if (texts.at(i).startsWith(prefix) && !usedPins.contains(names.at(i))) {
            released << names.at(i);
            setFunction(i, freeText);
        }
    }
    return released;
}

void PinBoard::write(Outcome &outcome, int pinIndex, const QString &text)
{
    if (pinIndex < 0 || pinIndex >= pinCount())
        return;
    outcome.changes << Change{pinIndex, text, true};
    texts[pinIndex] = text;
    emit pinChanged(pinIndex); // told even when the text stays, as a menu choice is
}

void PinBoard::release(Outcome &outcome, int pinIndex)
{
    if (pinIndex < 0 || pinIndex >= pinCount())
        return;
    outcome.changes << Change{pinIndex, freeText, false};
    texts[pinIndex] = freeText;
    emit pinChanged(pinIndex);
}

void PinBoard::releaseContaining(Outcome &outcome, const QString &part, SelectSignal signal)
{
    for (int i = 0; i < pinCount(); ++i) {
        if (texts.at(i).contains(part)) {
            release(outcome, i);
            outcome.fired << signal;
        }
    }
}
