#include "batchprogress.h"

#include "cliplatform.h"

#include <cstdio>
#include <utility>

namespace {

constexpr int BarWidth = 20;
constexpr int RedrawMs = 100;

void put(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

bool wide(uint code)
{
    return (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF) ||
           (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
           (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
           (code >= 0xFFE0 && code <= 0xFFE6) || (code >= 0x20000 && code <= 0x3FFFD);
}

// The code point at i and how many UTF-16 units it takes.
uint codeAt(const QString &text, int i, int *units)
{
    if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
        *units = 2;
        return QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
    }
    *units = 1;
    return text.at(i).unicode();
}

// The text cut to width columns.
QString cut(const QString &text, int width)
{
    int used = 0;
    for (int i = 0, units = 1; i < text.size(); i += units) {
        used += wide(codeAt(text, i, &units)) ? 2 : 1;
        if (used > width)
            return text.left(i);
    }
    return text;
}

QString padded(const QString &text, int width)
{
    return text + QString(qMax(0, width - BatchProgress::columns(text)), QLatin1Char(' '));
}

int terminalWidth()
{
    const int columns = CliPlatform::terminalColumns();
    return columns > 0 ? columns : 80;
}

} // namespace

BatchProgress::BatchProgress(const QStringList &ports, bool terminal, bool verify, QObject *parent)
    : QObject(parent), m_terminal(terminal), m_verify(verify), m_timer(this)
{
    for (const QString &port : ports) {
        Row r;
        r.port = port;
        r.state = QStringLiteral("waiting");
        m_rows.append(r);
    }
    m_timer.setSingleShot(true);
    m_timer.setInterval(RedrawMs);
    connect(&m_timer, &QTimer::timeout, this, &BatchProgress::draw);
    if (m_terminal)
        draw();
}

int BatchProgress::columns(const QString &text)
{
    int n = 0;
    for (int i = 0, units = 1; i < text.size(); i += units)
        n += wide(codeAt(text, i, &units)) ? 2 : 1;
    return n;
}

BatchProgress::Row *BatchProgress::row(const QString &port)
{
    for (Row &r : m_rows) {
        if (r.port == port)
            return &r;
    }
    return nullptr;
}

void BatchProgress::started(const QString &port)
{
    if (Row *r = row(port)) {
        r->state = QStringLiteral("downloading");
        changed();
    }
}

void BatchProgress::progress(const QString &port, qint64 done, qint64 total)
{
    Row *r = row(port);
    if (!r)
        return;
    r->done = done;
    r->total = total;
    if (m_verify && total > 0 && done > total / 2)
        r->state = QStringLiteral("reading back");
    changed();
}

void BatchProgress::log(const QString &port, const QString &line)
{
    if (!m_terminal)
        put(port + QStringLiteral(": ") + line);
}

void BatchProgress::finished(const BatchPortResult &result)
{
    Row *r = row(result.port);
    if (!r)
        return;
    r->state = result.ok ? QStringLiteral("ok") : QStringLiteral("failed: ") + result.reason;
    if (result.ok)
        r->done = r->total;
    if (m_terminal)
        draw();
}

void BatchProgress::end()
{
    m_timer.stop();
    if (m_terminal)
        draw();
}

void BatchProgress::changed()
{
    if (m_terminal && !m_timer.isActive())
        m_timer.start();
}

QString BatchProgress::text(const Row &r, int width) const
{
    int portWidth = 0;
    for (const Row &other : m_rows)
        portWidth = qMax(portWidth, columns(other.port));
    const int percent = r.total > 0 ? int(r.done * 100 / r.total) : 0;
    const int filled = r.total > 0 ? int(r.done * BarWidth / r.total) : 0;
    const QString line = padded(r.port, portWidth) + QStringLiteral("  [") +
                         QString(filled, QLatin1Char('#')) +
                         QString(BarWidth - filled, QLatin1Char('.')) +
                         QStringLiteral("] %1%  ").arg(percent, 3) + r.state;
    return cut(line, width - 1);
}

void BatchProgress::draw()
{
    const int width = terminalWidth();
    QString out;
    if (m_drawn)
        out += QStringLiteral("\x1b[%1A").arg(m_rows.size()); // back to the first line
    for (const Row &r : std::as_const(m_rows))
        out += QStringLiteral("\r\x1b[2K") + text(r, width) + QLatin1Char('\n');
    m_drawn = true;
    put(out);
}

QString BatchProgress::summary(const QList<BatchPortResult> &results)
{
    QList<QStringList> rows = {{QStringLiteral("port"), QStringLiteral("outcome"),
                                QStringLiteral("seconds"), QStringLiteral("verify")}};
    for (const BatchPortResult &r : results)
        rows.append({r.port, r.ok ? QStringLiteral("ok") : QStringLiteral("failed: ") + r.reason,
                     QString::number(r.seconds, 'f', 2), r.verify});
    QVector<int> widths(4, 0);
    for (const QStringList &cells : rows) {
        for (int i = 0; i < 4; ++i)
            widths[i] = qMax(widths[i], columns(cells.at(i)));
    }
    QString out;
    for (const QStringList &cells : rows) {
        out += padded(cells.at(0), widths[0]) + QStringLiteral("  ") +
               padded(cells.at(1), widths[1]) + QStringLiteral("  ") +
               QString(widths[2] - columns(cells.at(2)), QLatin1Char(' ')) + cells.at(2) +
               QStringLiteral("  ") + cells.at(3) + QLatin1Char('\n');
    }
    return out;
}
