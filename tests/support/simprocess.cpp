#include "simprocess.h"
#include "testfiles.h"

SimProcess::SimProcess(const QStringList &arguments)
{
    m_process.setProgram(TestFiles::inBinDir(QStringLiteral("mirel-sim")));
    m_process.setArguments(arguments);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start();
    if (!m_process.waitForStarted(10000)) {
        m_error = m_process.errorString();
        return;
    }
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(10000)) {
            m_error = QStringLiteral("no device path: ") +
                      QString::fromUtf8(m_process.readAllStandardError());
            return;
        }
    }
    m_device = QString::fromUtf8(m_process.readLine()).trimmed();
}

SimProcess::~SimProcess()
{
    stop();
}

bool SimProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    m_process.terminate();
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished(10000);
        return false;
    }
    return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
}

CliResult runProgram(const QString &program, const QStringList &arguments, int waitMs)
{
    CliResult result;
    QProcess cli;
    cli.start(program, arguments);
    if (!cli.waitForStarted(10000))
        return result;
    result.finished = cli.waitForFinished(waitMs);
    if (!result.finished) {
        cli.kill();
        cli.waitForFinished(10000);
    }
    result.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    result.out = QString::fromUtf8(cli.readAllStandardOutput());
    result.err = QString::fromUtf8(cli.readAllStandardError());
    return result;
}

CliResult runCli(const QStringList &arguments, int waitMs)
{
    return runProgram(TestFiles::inBinDir(QStringLiteral("mirel-cli")), arguments, waitMs);
}

QStringList cliShellArguments(const QString &folder, const QString &commands)
{
    return {QStringLiteral("-c"),
            QStringLiteral("n() { printf \"$1\"; }; c() { \"$0\" \"$@\"; }; cd \"$1\" && ") +
                commands,
            TestFiles::inBinDir(QStringLiteral("mirel-cli")), folder};
}

CliResult runCliInShell(const QString &folder, const QString &commands)
{
    return runProgram(QStringLiteral("/bin/sh"), cliShellArguments(folder, commands));
}
