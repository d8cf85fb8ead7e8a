#pragma once

#include "projectcheck.h"
#include "projectdata.h"

#include <QString>
#include <QVector>

// What opening a project file does to the values it stores. Every command and
// the window work on ProjectSync::current() of a file, whose tables follow
// the drawing: a row whose pin lacks the table's function goes, so does a
// chip select on a pin that cannot carry one, and an option index outside
// its list falls back to the default. None of this stops anything, but the
// user should hear of it: the file says more than the project now holds.
namespace FileCheck {

// Every value of the file's table lists that current(file) drops or
// replaces, each a warning naming the table, the row of the file (1-based;
// for a serial or SPI table the row of the key in its window), the column
// and the stored value, in table order: DI, DO, AI, AO, EXIT, the serial
// ports, SPI1..SPI3, SYS. Rows are matched by their pin, serial and SPI values
// by their key. Values the file leaves empty, rows the drawing adds and the
// tables of a peripheral the chip lacks are not the file's. For a serial or
// SPI table the column is that of the values and columnTitle names the
// parameter; a row dropped whole comes once, in its pin column, and so does
// an earlier row of a pin that a later row of the file replaces (otherRow).
QVector<ProjectProblem> readWarnings(const ProjectData &file);

// The notes of reading a file (ProjectFile::read) as warnings of no table.
QVector<ProjectProblem> asWarnings(const QStringList &notes);

// ProjectSync::readCurrent() that also hands back readWarnings() of the file
// read (when warnings is given).
bool readCurrent(const QString &filePath, ProjectData *project, QVector<ProjectProblem> *warnings,
                 QString *error = nullptr);

} // namespace FileCheck
