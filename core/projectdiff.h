#pragma once

#include "dlgdescription.h"
#include "pindescriptions.h"
#include "projectdata.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

// One difference between a project and what a controller holds, with the
// place the table window shows it. Values are as the window shows them: the
// option texts, the none text for an empty value.
struct ProjectDifference
{
    enum Kind
    {
        Chip,
        ExternalRam,
        PinFunction,
        Cell,
        RowAdded,  // a row the controller holds and the project lacks
        RowRemoved // a row of the project the controller lacks
    };
    Kind kind = Cell;
    CPinDescriptions::DlgType table = CPinDescriptions::DlgNone; // the port's for its
                                                                 // wireless sockets and network
    QString tableName; // "DI", "USART2", "USART2 无线模块", "SPI1 以太网"; empty when none
    int row = 0;       // 1-based row in the project's table; 0 when none (a row added)
    QString rowName;   // the first cell of the row: a pin, a parameter, a channel, a film
    int column = -1;   // the cell's column; -1 when none
    // The column's header; empty in a table of parameters and values, whose
    // row names the field.
    QString field;
    QString pin;             // the pin of a pin function or of a row of a pin table
    QString projectValue;    // a row removed: its cells, "header value, ..."
    QString controllerValue; // a row added: its cells, "header value, ..."

    // The difference said in one line: "PB0: Normal_DI → SPI1_CS1",
    // "USART2 波特率: 9600bits/s → 115200bits/s", "DI PB1: 删除此行".
    QString line() const;
};

// What differs between two projects, said in the user's terms: pins whose
// function changed ("PB0: Normal_DI → SPI1_CS1") and table cells with their
// option texts ("USART2 波特率: 9600bits/s → 115200bits/s").
class ProjectDiff
{
    Q_DECLARE_TR_FUNCTIONS(ProjectDiff)
public:
    // The project as a controller holds it once its table is written: the
    // table built and decoded again. Two projects that write the same table
    // have the same form. False with a message when the table cannot be built.
    static bool controllerForm(const ProjectData &project, ProjectData *held,
                               QString *error = nullptr);

    // Every difference from `project` to `controller`, in table order; empty
    // when they are equal. Projects for different chips differ in the chip
    // alone.
    static QVector<ProjectDifference>
    compare(const ProjectData &project, const ProjectData &controller, const CDlgDescription &text);

    // One line per difference from `before` to `after` (compare()).
    static QStringList differences(const ProjectData &before, const ProjectData &after,
                                   const CDlgDescription &text);

    // A table read from a controller set against a project.
    struct ControllerComparison
    {
        enum Outcome
        {
            Equal,         // the controller holds what the project writes
            Differs,       // differences lists how
            NoTable,       // the controller holds no table
            OtherChip,     // the table is another chip's; differences names both chips
            Unreadable,    // the table cannot be decoded; message says why
            ProjectRefused // the project cannot be made into a table; message says why
        };
        Outcome outcome = Equal;
        QString message; // empty for Equal and Differs
        QVector<ProjectDifference> differences;
    };
    // Compares the table (transfer form) a controller holds with what the
    // project would write, decoded for the project's chip.
    static ControllerComparison withController(const ProjectData &project, const QByteArray &table,
                                               const CDlgDescription &text);

    // Whether a controller holds what a project would write: one sentence
    // naming the project and, when they differ, how many differences follow.
    static QString verdict(const QString &projectName, int differences);
};
