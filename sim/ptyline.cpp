#include "ptyline.h"

#include <QElapsedTimer>
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

void PtyLine::queue(const QList<SimController::Chunk> &chunks, qint64 readyUs)
{
    for (const auto &chunk : chunks) {
        const qint64 pauseUs = qint64(chunk.pauseBeforeMs) * 1000;
        m_out.push_back(Out{chunk.bytes, pauseUs, readyUs, m_out.empty() ? readyUs + pauseUs : -1});
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

qint64 PtyLine::writeSome(qint64 nowUs)
{
    const double byteUs = 1e6 / LineBytesPerSecond;
    while (!m_out.empty()) {
        Out &head = m_out.front();
        if (head.notBeforeUs > nowUs)
            return head.notBeforeUs - nowUs;
        int allowed = qMin(head.bytes.size(), MaxWrite);
        if (m_paced) {
            if (!head.started)
                m_nextByteUs = qMax(m_nextByteUs, double(nowUs)); // the line was idle till now
            head.started = true;
            if (m_nextByteUs > double(nowUs))
                return qint64(std::ceil(m_nextByteUs - double(nowUs)));
            allowed = qMin(allowed, 1 + int((double(nowUs) - m_nextByteUs) / byteUs));
        }
        const ssize_t n = ::write(m_master, head.bytes.constData(), size_t(allowed));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            // The program is not reading; after a while give up on it.
            if (m_stuckSinceUs < 0)
                m_stuckSinceUs = nowUs;
            if (nowUs - m_stuckSinceUs > StuckLimitUs) {
                m_out.clear();
                m_stuckSinceUs = -1;
                return -1;
            }
            return 2000;
        }
        if (n <= 0)
            return 2000;
        m_stuckSinceUs = -1;
        if (m_paced)
            m_nextByteUs += double(n) * byteUs;
        head.bytes.remove(0, int(n));
        if (head.bytes.isEmpty()) {
            m_out.pop_front();
            if (!m_out.empty()) {
                Out &next = m_out.front();
                next.notBeforeUs = qMax(next.readyUs, nowUs + next.pauseUs);
            }
        }
    }
    return -1;
}

int PtyLine::run(SimController &controller, int stopFd)
{
    QElapsedTimer clock;
    clock.start();
    qint64 lastInputUs = 0;
    char buf[4096];
    for (;;) {
        const qint64 nowUs = clock.nsecsElapsed() / 1000;
        qint64 waitUs = writeSome(nowUs);
        if (controller.hasPartialRequest()) {
            const qint64 quietLeft = lastInputUs + QuietUs - nowUs;
            if (quietLeft <= 0) {
                queue(controller.silence(), nowUs);
                continue;
            }
            waitUs = waitUs < 0 ? quietLeft : qMin(waitUs, quietLeft);
        }
        pollfd fds[2] = {{m_master, POLLIN, 0}, {stopFd, POLLIN, 0}};
        const int timeoutMs = waitUs < 0 ? -1 : int((waitUs + 999) / 1000);
        const int ready = ::poll(fds, 2, timeoutMs);
        if (ready < 0 && errno != EINTR)
            return 1;
        if (fds[1].revents)
            return 0;
        if (ready > 0 && (fds[0].revents & POLLIN)) {
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n > 0) {
                lastInputUs = clock.nsecsElapsed() / 1000;
                const qint64 readyUs = arrivalEnd(int(n), lastInputUs);
                queue(controller.feed(QByteArray(buf, int(n))), readyUs);
            }
        } else if (ready > 0 && (fds[0].revents & (POLLERR | POLLNVAL))) {
            return 1;
        } else if (ready > 0 && (fds[0].revents & POLLHUP)) {
            usleep(10000); // no one on the other side just now
        }
    }
}
