#pragma once

#include "projectdata.h"

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QtTest>

// Whole projects compared list by list, for the suites that check a project
// read, decoded or derived against the one expected. A failure names the
// first list and key that differ, with both values.
namespace ProjectCompare {

// Every list of a project by name: "currentChip", "pinFunctions",
// "usartInformation[2]" and so on, in the order of ProjectData.
QVector<QPair<QString, QStringList>> namedLists(const ProjectData &project);

// The first difference of actual from expected, as "diInformation 1Mode:
// "1", expected "0""; empty when the projects are equal. Lists named in
// ignored are passed over.
QString firstDifference(const ProjectData &actual, const ProjectData &expected,
                        const QStringList &ignored = {});

} // namespace ProjectCompare

// Fails the test with the first difference when the projects differ.
#define COMPARE_PROJECTS(actual, expected)                                                         \
    do {                                                                                           \
        const QString difference_ = ProjectCompare::firstDifference((actual), (expected));         \
        QVERIFY2(difference_.isEmpty(), qPrintable(difference_));                                  \
    } while (false)
