#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A stand-in controller (mirel-sim) running for the length of a test. The
// device path is read from its first output line; destruction stops it with
// SIGTERM and waits for it to end.
class SimProcess
{
public:
    explicit SimProcess(const QStringList &arguments = {});
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    // Empty when the simulator did not start; see error().
    QString device() const { return m_device; }
    QString error() const { return m_error; }
    // Stops it; returns whether it ended by itself with status 0.
    bool stop();

private:
    QProcess m_process;
    QString m_device;
    QString m_error;
};

struct CliResult
{
    int exitCode = -1;
    bool finished = false; // false: it had to be killed
    QString out;
    QString err;
};

// Runs a program with arguments, waiting at most waitMs for it to end.
CliResult runProgram(const QString &program, const QStringList &arguments, int waitMs = 60000);
// Runs mirel-cli with arguments, waiting at most waitMs for it to end.
CliResult runCli(const QStringList &arguments, int waitMs = 60000);
// The shell's part of a command line run in folder: n 'p\377' prints those
// bytes, c runs mirel-cli (QProcess passes text, which cannot hold such a
// name).
QStringList cliShellArguments(const QString &folder, const QString &commands);
// mirel-cli run by the shell in folder (see cliShellArguments).
CliResult runCliInShell(const QString &folder, const QString &commands);
