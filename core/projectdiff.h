#pragma once

#include "dlgdescription.h"
#include "projectdata.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

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

    // One line per difference from `before` to `after`, in table order; empty
    // when they are equal. Projects for different chips differ in the chip
    // alone.
    static QStringList differences(const ProjectData &before, const ProjectData &after,
                                   const CDlgDescription &text);

    // Whether a controller holds what a project would write: one sentence
    // naming the project and, when they differ, how many differences follow.
    static QString verdict(const QString &projectName, int differences);
};
