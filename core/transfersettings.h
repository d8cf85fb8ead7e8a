#pragma once

#include <QString>

// The transfer settings of the firmware tab, kept with the start-up settings
// beside the program (section "Transfer"): the response time-out, how often
// an unanswered request is repeated, whether a download is read back and
// compared, and the port last opened.
struct TransferSettings
{
    static constexpr int MinTimeoutMs = 100;
    static constexpr int MaxTimeoutMs = 60000;
    static constexpr int MaxRetries = 10;
    static constexpr int DefaultTimeoutMs = 2000;
    static constexpr int DefaultRetries = 3;

    int timeoutMs = DefaultTimeoutMs;
    int retries = DefaultRetries;
    // A download is read back and compared unless the user said otherwise.
    bool verify = true;
    // The port last opened (a name or a typed device path); empty when none.
    QString lastPort;

    // What the start-up settings file in folder holds. A missing file or
    // key, or a value out of range, gives the default.
    static TransferSettings load(const QString &folder);
    // Writes the section whole or not at all; the rest of the file is kept.
    // False with a message when it cannot be written.
    bool save(const QString &folder, QString *error = nullptr) const;
};
