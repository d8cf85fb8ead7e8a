#pragma once

#include "chipfacts.h"
#include "pindescriptions.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

// The pins of the open project's chip package: the one place a pin's function
// lives. It holds the function text of every pin and the rules that decide
// what a pin's context menu offers, what a menu choice writes on the pin and
// its partners, and where the tables place their chip-select pins. Every
// change goes through its methods and is told to its watchers (pinChanged);
// the drawing paints what it holds.
class PinBoard : public QObject
{
    Q_OBJECT
public:
    // The seven notifications that a table's chip-select pins were cleared.
    enum SelectSignal
    {
        SignalDI,
        SignalDO,
        SignalAI,
        SignalAO,
        SignalSPI1,
        SignalSPI2,
        SignalSPI3
    };

    struct MenuEntry
    {
        QString text;
        bool enabled = true;
        QString reason; // why a disabled entry cannot be chosen
    };

    // One pin written (assigned == true, drawn green) or freed (text " ").
    struct Change
    {
        int pinIndex = -1;
        QString text;
        bool assigned = false;
    };

    struct Outcome
    {
        QVector<Change> changes;     // in the order they are made
        QVector<SelectSignal> fired; // one per freed chip-select pin, in order
        int count(SelectSignal s) const { return int(fired.count(s)); }
    };

    // A serial (TX, RX) or SPI (SCK, MISO, MOSI) port on one set of pins.
    using SignalGroup = ChipFacts::PortGroup;

    static constexpr int maxMenuEntries = 20;
    static const QString freeText; // " "

    // The board starts in the state of a new project: every pin free except
    // the fixed pins and, with external RAM on STM32F407ZG, the memory-bus pins.
    PinBoard(const QString &chipModel, bool useExternalRam, QObject *parent = nullptr);

    const CPinDescriptions &catalogue() const { return cat; }
    const QString &chipModel() const { return model; }
    bool isF407() const { return model == cat.chipF407; }
    int pinCount() const { return int(names.size()); }
    const QStringList &pinNames() const { return names; }
    const QStringList &functions() const { return texts; }
    QString pinName(int pinIndex) const;
    QString function(int pinIndex) const; // " " outside the package
    int indexOfPin(const QString &pinName) const;
    bool isFree(int pinIndex) const { return function(pinIndex) == freeText; }
    // Fixed pins (oscillator, reset, boot) and external-bus pins: their
    // functions come with the chip and never change.
    bool isFixed(int pinIndex) const { return fixed.contains(pinIndex); }
    bool isPower(int pinIndex) const { return power.contains(pinIndex); }

    void setFunction(int pinIndex, const QString &text);
    // Puts every pin but the fixed ones to the given texts (index 0 = pin 1;
    // missing entries and "ClearPin" read as free), as an undo does.
    void restoreFunctions(const QStringList &functionTexts);

    // Serial and SPI groups of this chip, in the order the rules try them.
    QVector<SignalGroup> spiGroups() const;
    QVector<SignalGroup> serialGroups() const;
    bool isComplete(const SignalGroup &group) const;
    // Whether the SPI or serial peripheral is complete on the given variant,
    // or on any of its variants when variant is null.
    bool isPeripheralComplete(const QString &peripheral, QChar variant = QChar()) const;

    // The functions the pin offers (at most 20), each with its enabled state
    // and, when disabled, the reason. They are the catalogue's, less the
    // memory-bus signals on a chip without the bus. The pin-name title of the
    // menu is not part of the list.
    QVector<MenuEntry> menuEntries(int pinIndex) const;
    // What a pin without a menu is: "电源引脚", "外部总线引脚 FSMC_D0", ...;
    // empty for a pin that offers functions.
    QString roleOf(int pinIndex) const;

    // Pins whose name is the query, or whose function or datasheet signals
    // contain it ("PA9", "USART2_TX", "SPI1"), in package order; case is ignored.
    QVector<int> findPins(const QString &query) const;

    // Applies entry k of the pin's menu (menuEntries). hoverFunction is the
    // pin's function text before the choice. Out-of-range choices change
    // nothing.
    Outcome applyChoice(int pinIndex, int k, const QString &hoverFunction);
    Outcome applyFunction(int pinIndex, const QString &choice, const QString &hoverFunction);

    // Chip selects handed over by the SPI table (DlgSPI1..DlgSPI3). A chip
    // select never lands on a pin that carries another function.
    Outcome placeSpiChipSelects(CPinDescriptions::DlgType type, const QStringList &newNames,
                                const QStringList &oldNames);
    // Chip selects handed over by the DI, DO, AI or AO table (four per board).
    Outcome placeBoardChipSelects(CPinDescriptions::DlgType type, const QStringList &newNames,
                                  const QStringList &oldNames, const QStringList &boards);

    // Frees the pins that carry a chip select of the table but are not among
    // usedPins (the table no longer uses them); returns their names.
    QStringList releaseUnusedChipSelects(CPinDescriptions::DlgType type,
                                         const QStringList &usedPins);
    // Whether a table may place its chip select on the pin: it is a port pin
    // with a function list, and free or already one of that table's.
    bool canTakeChipSelect(int pinIndex, CPinDescriptions::DlgType type) const;

private:
    void write(Outcome &outcome, int pinIndex, const QString &text);
    void release(Outcome &outcome, int pinIndex);
    void releaseContaining(Outcome &outcome, const QString &part, SelectSignal signal);
    QStringList offeredFunctions(const QString &pin) const;
    bool lockedForEdit(const QString &function) const;
    bool alternativeGroupState(const QString &entry, const QString &pin, bool *state,
                               QString *reason) const;
    void applySpiPartners(Outcome &outcome, int pinIndex, const QString &choice);
    void applySerialPartners(Outcome &outcome, int pinIndex, const QString &choice);
    void applyBoardClearing(Outcome &outcome, const QString &choice, const QString &hoverFunction);

signals:
    void pinChanged(int pinIndex);

private:
    CPinDescriptions cat;
    QString model;
    QStringList names;
    QStringList texts;
    QVector<int> fixed;
    QVector<int> power;
};
