#pragma once

#include "dlgdescription.h"
#include "projecttexts.h"
#include "tablerules.h"

#include <QObject>
#include <QSize>
#include <QStringList>

class QPushButton;
class QTableWidget;

// The table of one serial port: its TX/RX pins, the line settings and the
// port application, with a button that asks for the wireless-module sockets.
class CUsartTable : public QObject
{
    Q_OBJECT
public:
    static constexpr int rowCount = 7;
    static constexpr int applicationRow = 6;
    // Port applications from this index on drive a wireless module.
    static constexpr int firstWirelessApplication = ProjectTexts::firstWirelessApplication;

    CUsartTable(QTableWidget *table, const CDlgDescription &text, QObject *parent = nullptr);

    // port: 1..6. The option cells are filled only when the port's pins are assigned.
    void build(int port, const TableRules::PortPins &pins, const QStringList &stored);

    QString windowTitle() const;
    QSize windowSize() const;
    // The chosen port application, -1 when the cell is empty.
    int portApplication() const;
    QPushButton *settingsButton() const { return button; }
    QStringList information() const;

signals:
    // "参数设置" was pressed while the port drives a wireless module.
    void wirelessSettingsRequested();

private:
    QTableWidget *table;
    const CDlgDescription &text;
    int port = 0;
    QStringList pinNames;
    QPushButton *button = nullptr;
};
