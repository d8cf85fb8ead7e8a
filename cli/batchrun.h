#pragma once

#include "linkoptions.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A download to one or more ports, as the command line asks for it.
struct BatchRun
{
    QStringList ports;
    QString chip;
    QByteArray table; // transfer form
    QString project;  // the file the table came from, for the record
    bool verify = true;
    LinkOptions::Settings link = {};
    QString recordPath; // empty: no record
};

// Downloads to every port at once and returns the exit status: 0 when every
// port succeeded. One port prints the driver's lines as they come, as the
// download of a single controller always has; several print a line per port
// (updated in place on a terminal, else the driver's lines with the port in
// front) and a table of the outcomes. Each port's row goes to the record as
// it ends.
int runBatch(const BatchRun &run);
