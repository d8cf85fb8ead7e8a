#include "ptypair.h"

#include <QElapsedTimer>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    termios tio{};
    if (tcgetattr(m_slave, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(m_slave, TCSANOW, &tio);
    }
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_slavePath = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair()
{
    hangUp();
}

void PtyPair::hangUp()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
}

bool PtyPair::writeMaster(const QByteArray &data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(m_master, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            usleep(1000);
            continue;
        }
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QByteArray PtyPair::readMaster()
{
    QByteArray out;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n > 0) {
            out.append(buf, int(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    return out;
}

QByteArray PtyPair::readMasterBlocking(int size, int waitMs)
{
    QByteArray out;
    QElapsedTimer clock;
    clock.start();
    while (out.size() < size && m_master >= 0) {
        const qint64 left = waitMs - clock.elapsed();
        if (left <= 0)
            break;
        pollfd fd = {m_master, POLLIN, 0};
        const int ready = ::poll(&fd, 1, int(left));
        if (ready < 0 && errno != EINTR)
            break;
        if (ready <= 0)
            continue;
        const QByteArray got = readMaster();
        if (got.isEmpty() && (fd.revents & (POLLHUP | POLLERR | POLLNVAL)))
            break;
        out += got;
    }
    return out;
}
