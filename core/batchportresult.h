#pragma once

#include <QMetaType>
#include <QString>

// How one port of a batch download ended.
struct BatchPortResult
{
    QString port;       // as given to the batch
    bool ok = false;    // downloaded, and read back the same when verify is on
    QString reason;     // why it failed; empty when ok
    double seconds = 0; // from opening the port to the end of the last transfer
    // "same", "differs at N" (the first offset that differs), "off" when the
    // batch does not verify, "not read back" when the download or the read
    // back failed before a comparison.
    QString verify;
    QString serialNumber; // the adapter's, as QSerialPortInfo gives it; may be empty
};
Q_DECLARE_METATYPE(BatchPortResult)
