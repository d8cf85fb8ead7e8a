#pragma once

#include "pinrules.h"

#include <QtTest>

// A pin board read and written by pin name, for the core suites of the pin
// rules and the pin menus.
struct PinBench
{
    PinBoard board;
    const CPinDescriptions &catalogue;

    explicit PinBench(const QString &chip, bool ram = false)
        : board(chip, ram), catalogue(board.catalogue())
    {
    }

    int at(const QString &pin) const { return board.indexOfPin(pin); }
    QString text(const QString &pin) const { return board.function(at(pin)); }
    void set(const QString &pin, const QString &text) { board.setFunction(at(pin), text); }
    void set(const QStringList &pins, const QStringList &texts)
    {
        for (int i = 0; i < pins.size(); ++i)
            set(pins.at(i), texts.at(i));
    }

    QVector<PinBoard::MenuEntry> menu(const QString &pin) const
    {
        return board.menuEntries(at(pin));
    }
    QStringList menuTexts(const QString &pin) const
    {
        QStringList texts;
        for (const PinBoard::MenuEntry &e : menu(pin))
            texts << e.text;
        return texts;
    }
    // One entry of a pin's menu; fails the lookup loudly.
    PinBoard::MenuEntry entry(const QString &pin, const QString &entry) const
    {
        for (const PinBoard::MenuEntry &e : menu(pin))
            if (e.text == entry)
                return e;
        qFatal("%s has no entry %s", qPrintable(pin), qPrintable(entry));
        return {};
    }
    bool enabled(const QString &pin, const QString &text) const { return entry(pin, text).enabled; }
    int enabledCount(const QString &pin) const
    {
        int n = 0;
        for (const PinBoard::MenuEntry &e : menu(pin))
            n += e.enabled ? 1 : 0;
        return n;
    }
    // Every greyed entry of the board as "PIN ENTRY", in package order.
    QStringList disabledEntries() const
    {
        QStringList found;
        for (int i = 0; i < board.pinCount(); ++i)
            for (const PinBoard::MenuEntry &e : board.menuEntries(i))
                if (!e.enabled)
                    found << board.pinName(i) + QLatin1Char(' ') + e.text;
        return found;
    }
    // The menu entry chosen, as a click on it does.
    PinBoard::Outcome choose(const QString &pin, const QString &entry)
    {
        const QString before = text(pin);
        const int k = int(menuTexts(pin).indexOf(entry));
        if (k < 0)
            qFatal("%s has no entry %s", qPrintable(pin), qPrintable(entry));
        return board.applyChoice(at(pin), k, before);
    }
    QStringList changedPins(const PinBoard::Outcome &outcome) const
    {
        QStringList pins;
        for (const PinBoard::Change &c : outcome.changes)
            pins << board.pinName(c.pinIndex);
        return pins;
    }
    QStringList withText(const QString &part) const
    {
        QStringList pins;
        for (int i = 0; i < board.pinCount(); ++i)
            if (board.function(i).contains(part))
                pins << board.pinName(i) + "=" + board.function(i);
        return pins;
    }
};
