#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

// mirel-cli running beside the test, its output read as it comes: the test
// can wait for a line before it acts (kills a stand-in, starts another).
class CliRun
{
public:
    explicit CliRun(const QStringList &arguments);
    ~CliRun();
    CliRun(const CliRun &) = delete;
    CliRun &operator=(const CliRun &) = delete;

    // Waits until stdout holds text at least times times; false when the
    // program ended (or stayed silent for waitMs) before.
    bool waitFor(const QString &text, int times = 1, int waitMs = 60000);
    // Sends a signal (SIGINT, SIGTERM) to the program; false where the
    // system sends none.
    bool signal(int number);
    // Waits for the end; the exit status, -1 when it had to be killed.
    int finish(int waitMs = 60000);
    QString out();
    QString err();

private:
    void take();

    QProcess m_process;
    QByteArray m_out;
    QByteArray m_err;
};

// The rows of a CSV file, each a list of its fields (quotes undone).
QList<QStringList> readCsv(const QString &path);
