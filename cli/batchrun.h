#pragma once

#include "linkoptions.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class RecordQueue;

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

// Waits for the rows of the record that still wait for its lock, saying so
// after 2 s, until they are written or the queue gives up. True when every
// row is written; otherwise the rows are printed on stderr, under a line
// naming the record, and false is returned.
bool finishRecord(const char *command, RecordQueue &queue);
