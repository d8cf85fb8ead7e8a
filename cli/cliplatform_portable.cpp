// mirel-cli's operating-system calls made through Qt and the C++ library
// alone; the few that Windows needs of its own stand under Q_OS_WIN.

#include "cliplatform.h"
#include "commandline.h"
#include "filekind.h"
#include "stopsignal.h"

#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <atomic>
#include <csignal>
#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#endif

namespace {

// How often the event loop looks whether a stop was asked for.
constexpr int StopPollMs = 50;

// Signals that arrived, counted by the handler (lock-free, as a handler may).
std::atomic<int> g_stops{0};
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler needs a lock-free counter");

extern "C" void onSignal(int number)
{
    g_stops.fetch_add(1);
    std::signal(number, onSignal); // some systems take the handler away once it ran
}

#ifdef Q_OS_WIN
// Ctrl+C, Ctrl+Break and the console window closed: counted like a signal.
BOOL WINAPI onConsoleEvent(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
        g_stops.fetch_add(1);
        return TRUE;
    default:
        return FALSE;
    }
}
#endif

const QString &notHere()
{
    static const QString text =
        QStringLiteral("names that are not text cannot be reached in this build");
    return text;
}

// Signals held back by a TerminationHold, raised when it ends.
std::atomic<int> g_heldInterrupts{0};
std::atomic<int> g_heldTerminations{0};

extern "C" void holdSignal(int number)
{
    (number == SIGINT ? g_heldInterrupts : g_heldTerminations).fetch_add(1);
    std::signal(number, holdSignal);
}

} // namespace

namespace CliPlatform {

bool stdoutIsTerminal()
{
#ifdef Q_OS_WIN
    return ::_isatty(::_fileno(stdout)) != 0;
#else
    return false; // not to be told: progress goes line by line
#endif
}

int terminalColumns()
{
#ifdef Q_OS_WIN
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (::GetConsoleScreenBufferInfo(::GetStdHandle(STD_OUTPUT_HANDLE), &info))
        return info.srWindow.Right - info.srWindow.Left + 1;
#endif
    return qMax(0, qEnvironmentVariableIntValue("COLUMNS"));
}

TableFile readFile(const QString &path, qint64 maxSize, QByteArray *bytes, qint64 *size,
                   QString *reason)
{
    // Asked before opening: a named pipe is never waited on.
    const FileKind::Kind kind = FileKind::of(path);
    if (kind != FileKind::File && kind != FileKind::Missing)
        return TableFile::NotAFile;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = file.errorString();
        return TableFile::Failed;
    }
    *size = file.size();
    if (*size > maxSize)
        return TableFile::TooLarge;
    *bytes = file.read(maxSize + 1);
    if (file.error() != QFileDevice::NoError) {
        *reason = file.errorString();
        return TableFile::Failed;
    }
    if (bytes->size() > maxSize) {
        *size = bytes->size();
        return TableFile::TooLarge;
    }
    return TableFile::Read;
}

bool reachesNamesByBytes()
{
    return false;
}

QString reach(const QByteArray &)
{
    return QString();
}

QByteArray resolved(const QByteArray &, bool *isFile)
{
    *isFile = false;
    return QByteArray();
}

int openFolder(const QByteArray &, QString *reason)
{
    *reason = notHere();
    return -1;
}

QString descriptorPath(int)
{
    return QString();
}

bool renameInFolder(int, const QByteArray &, const QByteArray &, bool *written, QString *reason)
{
    *written = false;
    *reason = notHere();
    return false;
}

bool makeFile(const QByteArray &, QString *reason)
{
    *reason = notHere();
    return false;
}

} // namespace CliPlatform

// SIGINT and SIGTERM (on Windows the console's Ctrl+C, Ctrl+Break and close)
// are counted by the handler; the event loop looks at the count.
StopSignal::StopSignal(QObject *parent) : QObject(parent)
{
    static bool installed = false;
    if (installed)
        return; // one at a time
    installed = true;
    g_stops = 0;
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
#ifdef Q_OS_WIN
    ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
#endif
    auto *timer = new QTimer(this);
    m_watch = timer;
    connect(timer, &QTimer::timeout, this, [this] {
        while (m_count < g_stops.load())
            emit requested(++m_count);
    });
    connect(timer, &QObject::destroyed, [] { installed = false; });
    timer->start(StopPollMs);
}

StopSignal::~StopSignal()
{
    if (!m_watch)
        return;
#ifdef Q_OS_WIN
    ::SetConsoleCtrlHandler(onConsoleEvent, FALSE);
#endif
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    delete m_watch;
}

namespace Cli {

// While held, SIGINT and SIGTERM are only counted; when the hold ends the
// handlers before it come back and each signal counted is raised again.
struct TerminationHold::Held
{
    void (*interrupt)(int) = SIG_DFL;
    void (*termination)(int) = SIG_DFL;
};

TerminationHold::TerminationHold() : m_held(std::make_unique<Held>())
{
    g_heldInterrupts = 0;
    g_heldTerminations = 0;
    m_held->interrupt = std::signal(SIGINT, holdSignal);
    m_held->termination = std::signal(SIGTERM, holdSignal);
}

TerminationHold::~TerminationHold()
{
    std::signal(SIGINT, m_held->interrupt == SIG_ERR ? SIG_DFL : m_held->interrupt);
    std::signal(SIGTERM, m_held->termination == SIG_ERR ? SIG_DFL : m_held->termination);
    if (g_heldInterrupts.exchange(0) > 0)
        std::raise(SIGINT);
    if (g_heldTerminations.exchange(0) > 0)
        std::raise(SIGTERM);
}

} // namespace Cli
