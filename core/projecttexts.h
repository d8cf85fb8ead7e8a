#pragma once

#include "dlgdescription.h"
#include "pindescriptions.h"
#include "projectdata.h"

#include <QString>
#include <QStringList>
#include <QVector>

// A project's parameter tables as a reader sees them: the titles and column
// headers of the program's windows and the texts of the chosen options,
// never the stored indexes. The report prints these tables and the
// comparison of two projects names their cells.
namespace ProjectTexts {

// Serial-port applications from this index on drive a wireless module.
constexpr int firstWirelessApplication = 5;
// SPI film applications from this index on have network settings.
constexpr int firstNetworkApplication = 2;

// The name a table goes by: "DI", "USART1", "UART4", "SPI2", "SYS"; empty for
// DlgNone.
QString tableName(CPinDescriptions::DlgType type);

// The letter of a board's terminals: "X", "Y", "XA", "YA" for DI, DO, AI,
// AO; empty for other tables.
QString terminalLetter(CPinDescriptions::DlgType type);
// The window title and the column headers of a row table (DI..AO, EXIT, SYS).
QString rowTitle(const CDlgDescription &text, CPinDescriptions::DlgType type);
QStringList rowHeaders(const CDlgDescription &text, CPinDescriptions::DlgType type);

// The options a stored index of a field points into, in stored order; empty
// for fields holding a pin, a number or an address. The key is a row-table
// key without its row number ("Mode", "SliceSelectPinIsEnble"), a serial or
// SPI key, or a socket key.
QStringList optionsOf(const CDlgDescription &text, CPinDescriptions::DlgType type,
                      const QString &key);

// What a field shows for a stored value: the option text, the pin (the
// none text for "0" or nothing), or the value itself.
QString valueText(const CDlgDescription &text, CPinDescriptions::DlgType type, const QString &key,
                  const QString &value);

// One table: every row starts with the cell that names it (a pin, a
// parameter, a channel or a film).
struct Table
{
    QString name;  // "DI", "USART2", "USART2 无线模块", "SPI1 以太网"
    QString title; // the window's title: "数字量输入", ...
    QStringList headers;
    QVector<QStringList> rows;
    // Whether the project uses it: a row table with rows, a port with pins,
    // the wireless sockets of a port driving a module, the network of an
    // SPI port with a film that needs one.
    bool used = false;
    // The port whose settings these are (wireless sockets, network); empty
    // for a table of its own.
    QString partOf;
    // The table window the rows belong to: the port's for its wireless
    // sockets and its network.
    CPinDescriptions::DlgType type = CPinDescriptions::DlgNone;
};

// Every table in the program's order: DI, DO, AI, AO, EXIT, each serial
// port followed by its wireless sockets, each SPI port followed by its
// network, SYS.
QVector<Table> tablesOf(const ProjectData &project, const CDlgDescription &text);

} // namespace ProjectTexts
