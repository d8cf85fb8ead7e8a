#pragma once

#include "dlgdescription.h"
#include "projectdata.h"

#include <QCoreApplication>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

// A project's tables as CSV files, for the spreadsheets engineers keep their
// I/O lists in: one file per table the project uses, named after the table's
// section of the project file (DI, USART2, SPI1, SPI1_NETWORK,
// USART1_WIRELESSMODBULE), its column titles first and every cell as the
// table window shows it. Read back, every value is taken as if it were
// chosen or typed in its window, by the same rules.
namespace TableCsv {

// One table as a file: its name without ".csv" and its rows, titles first.
struct File
{
    QString name;
    QVector<QStringList> rows;
};

// The tables the project uses, in the language of `text`.
QVector<File> exportTables(const ProjectData &project, const CDlgDescription &text);

// Every name a table of the project's chip goes by, used or not.
QStringList tableNames(const ProjectData &project);

// The files ("DI.csv", ...) of `files` that the folder holds already.
QStringList presentIn(const QVector<File> &files, const QString &folder);
// The folder's files of the project's tables, by table name; false with the
// file and the reason when one cannot be read.
bool readFolder(const ProjectData &project, const QString &folder, QMap<QString, QByteArray> *files,
                QString *error);

// A value, row or file the import did not take, and why. Line and column
// are 1-based; 0 where the whole file or row is meant.
struct Refusal
{
    QString file;
    int line = 0;
    int column = 0;
    QString message;
    // "DI.csv:3:2: …"
    QString text() const;
};

// The project with the values of the files (by table name, without ".csv")
// in place: rows of the row tables are found by their pin, parameters by
// their title, films and sockets by their name, columns by their title;
// titles and option texts may be in either language of `languages`. A table
// without a file stays as it is. A value is taken as the table window takes
// it when typed or chosen; one it would not take is refused and the table
// keeps its own. Values equal to what the table shows are never refused.
struct Import
{
    ProjectData project;
    QVector<Refusal> refused;
    QStringList tablesRead; // the names of the files that were read
};
Import importTables(const ProjectData &project, const QMap<QString, QByteArray> &files,
                    const QVector<const CDlgDescription *> &languages);

// The vocabulary in both languages of the program, Chinese first: English
// from the translation file beside the program, when it is there.
QVector<const CDlgDescription *> bothLanguages();

} // namespace TableCsv
