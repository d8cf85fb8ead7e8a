#include "clirun.h"

#include "testfiles.h"
#include "testplatform.h"

#include <QFile>

CliRun::CliRun(const QStringList &arguments)
{
    m_process.setProgram(TestFiles::inBinDir(QStringLiteral("mirel-cli")));
    m_process.setArguments(arguments);
    m_process.start();
    m_process.waitForStarted(10000);
}

CliRun::~CliRun()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
}

void CliRun::take()
{
    m_out += m_process.readAllStandardOutput();
    m_err += m_process.readAllStandardError();
}

bool CliRun::waitFor(const QString &text, int times, int waitMs)
{
    for (;;) {
        take();
        if (out().count(text) >= times)
            return true;
        if (m_process.state() == QProcess::NotRunning || !m_process.waitForReadyRead(waitMs)) {
            take();
            return out().count(text) >= times;
        }
    }
}

bool CliRun::signal(int number)
{
    return m_process.state() != QProcess::NotRunning &&
           TestPlatform::sendSignal(m_process.processId(), number);
}

int CliRun::finish(int waitMs)
{
    if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(waitMs)) {
        m_process.kill();
        m_process.waitForFinished(10000);
        take();
        return -1;
    }
    take();
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

QString CliRun::out()
{
    return QString::fromUtf8(m_out);
}

QString CliRun::err()
{
    return QString::fromUtf8(m_err);
}

QList<QStringList> readCsv(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(file.readAll());
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"'))
                field += text.at(++i);
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                field += c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            row << field;
            field.clear();
        } else if (c == QLatin1Char('\n')) {
            rows << (row << field);
            row.clear();
            field.clear();
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !row.isEmpty())
        rows << (row << field);
    return rows;
}
