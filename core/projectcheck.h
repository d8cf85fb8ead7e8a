#pragma once

#include "pindescriptions.h"
#include "projectdata.h"

#include <QString>
#include <QVector>

// What stands between a project and its configuration table. An error is a
// value the table cannot hold (it blocks the table file and a download, never
// the saving of the project); a warning is worth knowing but blocks nothing,
// such as two board rows sharing terminals, kept as the user stored them, or
// a value of a project file that opening it dropped (FileCheck).
struct ProjectProblem
{
    enum Severity
    {
        Error,
        Warning
    };
    Severity severity = Error;
    CPinDescriptions::DlgType table = CPinDescriptions::DlgNone; // DlgNone: no one cell
    int row = 0;     // 1-based; 0 when the problem is not one row's
    int column = -1; // column of the table window, -1 when none
    // The film (1..3) of an SPI port's network settings or the socket (1..8)
    // of a serial port's wireless module the value belongs to; 0 when none.
    // Such a problem lies at the row of the film's or port's application,
    // and columnTitle names the field of the settings window.
    int unit = 0;
    int field = -1; // the unit's SettingsRules::NetworkField or SocketField
    QString columnTitle;
    QString value;
    int minimum = 0;
    int maximum = 0;
    // The other row concerned: the earlier one of an overlap or of a shared
    // chip select; the later row of a file that took a pin's row.
    int otherRow = 0;
    QString message; // the whole sentence, in the language now active
};

namespace ProjectCheck {

// Every problem of the project, the errors first, then the warnings. Every
// value the table cannot hold is an error at the cell of the table window
// that shows it (row as the window numbers it, from 1; column as it counts
// them, from 0); one the window shows elsewhere (a network address, a
// wireless socket) or a table refused whole names its table alone, with row
// 0 and column -1, and the chip or the external RAM no table. Errors come in
// table order: the project as a whole, then table by table, row by row,
// column by column, the values without a cell last in their table.
// The table, when it can be built, comes back through `table`.
QVector<ProjectProblem> problems(const ProjectData &project, QByteArray *table = nullptr);

// The first error; a warning without a message when there is none, so
// that the project can be turned into its table.
ProjectProblem firstError(const QVector<ProjectProblem> &problems);
bool hasError(const QVector<ProjectProblem> &problems);
// Where a problem lies, as the table window shows it: "DI 第2行 X起始端子",
// "SPI1 软片2 IP地址", "USART3 通道8 端口号", "SPI1", or empty when no table
// holds it.
QString place(const ProjectProblem &problem);
QStringList warnings(const QVector<ProjectProblem> &problems);
// The transfer form of the project's table; false with the words of the
// first error when a value cannot be encoded.
bool buildTable(const ProjectData &project, QByteArray *table, QString *error = nullptr);

} // namespace ProjectCheck
