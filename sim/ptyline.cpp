#include "ptyline.h"

#include <QElapsedTimer>
#include <QList>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr qint64 QuietUs = 50000;        // a request unfinished this long is stale
constexpr qint64 StuckLimitUs = 2000000; // nobody reads: drop what waits
constexpr int MaxWrite = 4096;
} // namespace

PtyLine::~PtyLine()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

bool PtyLine::open(QString *error)
{
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        *error = QStringLiteral("openpty: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        m_master = m_slave = -1;
        return false;
    }
    termios tio{};
    if (tcgetattr(m_slave, &tio) != 0) {
        *error = QStringLiteral("tcgetattr: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    cfmakeraw(&tio);
    cfsetispeed(&tio, B115200);
    cfsetospeed(&tio, B115200);
    if (tcsetattr(m_slave, TCSANOW, &tio) != 0) {
        *error = QStringLiteral("tcsetattr: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    fcntl(m_master, F_SETFD, FD_CLOEXEC);
    fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    m_slavePath = QString::fromLocal8Bit(name);
    return true;
}

namespace {
// The earlier of two waits; -1 stands for none.
qint64 sooner(qint64 a, qint64 b)
{
    if (a < 0)
        return b;
    if (b < 0)
        return a;
    return qMin(a, b);
}
} // namespace

void PtyLine::queue(const QList<SimController::Chunk> &chunks, qint64 readyUs)
{
    for (const auto &chunk : chunks) {
        Out out;
        out.bytes = chunk.bytes;
        out.pauseUs = qint64(chunk.pauseBeforeMs) * 1000;
        out.dueUs = readyUs + qint64(chunk.delayMs) * 1000;
        out.endless = chunk.endless;
        out.transfer = chunk.transfer;
        if (m_out.empty())
            out.notBeforeUs = out.dueUs + out.pauseUs;
        m_out.push_back(out);
    }
}

qint64 PtyLine::arrivalEnd(int bytes, qint64 nowUs)
{
    if (!m_paced)
        return nowUs;
    // The program's writes land in the pseudo-terminal at once; a real line
    // would carry them one byte time after another.
    m_inputFreeUs = qMax(m_inputFreeUs, double(nowUs)) + bytes * (1e6 / LineBytesPerSecond);
    return qint64(std::ceil(m_inputFreeUs));
}

qint64 PtyLine::schedule(qint64 nowUs)
{
    const double byteUs = 1e6 / LineBytesPerSecond;
    while (!m_out.empty()) {
        Out &head = m_out.front();
        if (head.notBeforeUs > nowUs)
            return head.notBeforeUs - nowUs;
        if (m_wire.size() >= MaxWrite)
            return 1000; // the program is behind: let it read first
        int allowed = qMin(head.bytes.size(), MaxWrite);
        if (m_paced) {
            // The answer starts on the line when it is due, even when this
            // loop wakes a little later: the bytes catch up.
            if (!head.started)
                m_nextByteUs = qMax(m_nextByteUs, double(head.notBeforeUs));
            head.started = true;
            if (m_nextByteUs > double(nowUs))
                return qint64(std::ceil(m_nextByteUs - double(nowUs)));
            allowed = qMin(allowed, 1 + int((double(nowUs) - m_nextByteUs) / byteUs));
            m_nextByteUs += double(allowed) * byteUs;
        }
        if (m_wire.isEmpty())
            m_wireSinceUs = nowUs;
        m_wire += head.bytes.left(allowed);
        if (head.endless) {
            // The same bytes again, in the same order, for ever.
            head.bytes = head.bytes.mid(allowed) + head.bytes.left(allowed);
            if (!m_paced)
                return 0;
            continue;
        }
        head.bytes.remove(0, allowed);
        if (!head.bytes.isEmpty())
            continue;
        if (!head.transfer.isEmpty())
            m_endsTransfer = head.transfer;
        m_out.pop_front();
        if (!m_out.empty()) {
            Out &next = m_out.front();
            const qint64 lineFree = m_paced ? qint64(std::ceil(m_nextByteUs)) : nowUs;
            next.notBeforeUs = qMax(next.dueUs, qMax(nowUs, lineFree) + next.pauseUs);
        }
    }
    return -1;
}

qint64 PtyLine::flush(qint64 nowUs)
{
    if (m_wire.isEmpty())
        return -1;
    if (m_latencyUs > 0) {
        // The adapter's timer runs all the time; when it runs out, what came
        // over the line since the last time is handed over.
        const qint64 tickUs = (m_wireSinceUs / m_latencyUs + 1) * m_latencyUs;
        if (nowUs < tickUs)
            return tickUs - nowUs;
    }
    while (!m_wire.isEmpty()) {
        const ssize_t n =
            ::write(m_master, m_wire.constData(), size_t(qMin(m_wire.size(), MaxWrite)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            // The program is not reading; after a while give up on it.
            if (m_stuckSinceUs < 0)
                m_stuckSinceUs = nowUs;
            if (nowUs - m_stuckSinceUs > StuckLimitUs) {
                m_out.clear();
                m_wire.clear();
                m_endsTransfer.clear();
                m_stuckSinceUs = -1;
                return -1;
            }
            return 2000;
        }
        if (n <= 0)
            return 2000;
        m_stuckSinceUs = -1;
        m_wire.remove(0, int(n));
    }
    if (m_out.empty())
        answerOut(nowUs, m_endsTransfer);
    m_endsTransfer.clear();
    return -1;
}

void PtyLine::inputArrived(qint64 nowUs)
{
    if (m_transferStartUs < 0)
        m_transferStartUs = nowUs;
    if (m_lastOutUs >= 0) {
        const qint64 turnaround = nowUs - m_lastOutUs;
        ++m_turnarounds;
        m_turnaroundSumUs += turnaround;
        m_turnaroundMaxUs = qMax(m_turnaroundMaxUs, turnaround);
        m_lastOutUs = -1;
    }
}

void PtyLine::answerOut(qint64 nowUs, const QString &transfer)
{
    m_lastOutUs = nowUs;
    if (transfer.isEmpty())
        return;
    if (m_stats && m_transferStartUs >= 0) {
        const double meanMs =
            m_turnarounds > 0 ? double(m_turnaroundSumUs) / m_turnarounds / 1000.0 : 0.0;
        m_stats(QStringLiteral("%1: %2 s from the first request byte to the last answer byte, "
                               "%3 turnarounds, mean %4 ms, max %5 ms")
                    .arg(transfer)
                    .arg(double(nowUs - m_transferStartUs) / 1e6, 0, 'f', 4)
                    .arg(m_turnarounds)
                    .arg(meanMs, 0, 'f', 3)
                    .arg(double(m_turnaroundMaxUs) / 1000.0, 0, 'f', 3));
    }
    m_transferStartUs = -1;
    m_lastOutUs = -1;
    m_turnarounds = 0;
    m_turnaroundSumUs = 0;
    m_turnaroundMaxUs = 0;
}

int PtyLine::run(SimController &controller, int stopFd)
{
    QElapsedTimer clock;
    clock.start();
    qint64 lastInputUs = 0;
    char buf[4096];
    for (;;) {
        const qint64 nowUs = clock.nsecsElapsed() / 1000;
        const qint64 scheduleUs = schedule(nowUs);
        qint64 waitUs = sooner(scheduleUs, flush(nowUs));
        if (controller.hasPartialRequest()) {
            const qint64 quietLeft = lastInputUs + QuietUs - nowUs;
            if (quietLeft <= 0) {
                queue(controller.silence(), nowUs);
                continue;
            }
            waitUs = sooner(waitUs, quietLeft);
        }
        pollfd fds[2] = {{m_master, POLLIN, 0}, {stopFd, POLLIN, 0}};
        timespec timeout{waitUs / 1000000, long(waitUs % 1000000) * 1000};
        const int ready = ::ppoll(fds, 2, waitUs < 0 ? nullptr : &timeout, nullptr);
        if (ready < 0 && errno != EINTR)
            return 1;
        if (ready <= 0)
            continue;
        if (fds[1].revents)
            return 0;
        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n > 0) {
                lastInputUs = clock.nsecsElapsed() / 1000;
                inputArrived(lastInputUs);
                const qint64 readyUs = arrivalEnd(int(n), lastInputUs);
                queue(controller.feed(QByteArray(buf, int(n))), readyUs);
            }
        } else if (fds[0].revents & (POLLERR | POLLNVAL)) {
            return 1;
        } else if (fds[0].revents & POLLHUP) {
            usleep(10000); // no one on the other side just now
        }
    }
}
