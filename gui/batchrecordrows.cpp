#include "batchrecordrows.h"

#include "batchrecord.h"
#include "filedialogs.h"
#include "messages.h"
#include "recordqueue.h"

#include <QFileInfo>
#include <QWidget>

BatchRecordRows::BatchRecordRows(QWidget *window) : QObject(window), m_window(window) {}

bool BatchRecordRows::prepare(const QString &path, const QString &project, const QByteArray &table,
                              QString *refusal)
{
    if (m_queue && !m_queue->isEmpty() && m_queue->path() != path) {
        *refusal =
            tr("上次的%n行记录还在等待写入%1：请等它们写入，或关闭窗口另存", nullptr, waiting())
                .arg(m_queue->path());
        return false;
    }
    m_project = project;
    m_table = table;
    const BatchRecord record(path, project, table);
    QString error;
    if (!path.isEmpty() && !record.check(&error)) {
        *refusal = tr("记录文件不可用：%1").arg(error);
        return false;
    }
    if (path.isEmpty())
        return true;
    if (!m_queue || m_queue->path() != path) {
        delete m_queue;
        m_queue = new RecordQueue(record, this);
        connect(m_queue, &RecordQueue::changed, this, &BatchRecordRows::changed);
    }
    m_queue->setRecord(record);
    m_queue->flush(); // rows that failed before are tried again
    return true;
}

void BatchRecordRows::add(const BatchPortResult &result)
{
    if (m_queue)
        m_queue->add(result);
}

int BatchRecordRows::waiting() const
{
    return m_queue ? m_queue->waitingRows().size() : 0;
}

QString BatchRecordRows::state() const
{
    if (!m_queue || m_queue->isEmpty())
        return {};
    if (!m_queue->error().isEmpty())
        return tr("记录没有写入：%1").arg(m_queue->error());
    return tr("%n行记录等待写入%1（文件被另一个程序锁住）", nullptr, waiting())
        .arg(m_queue->path());
}

bool BatchRecordRows::mayClose()
{
    if (waiting() == 0)
        return true;
    const auto answer = Messages::question(
        m_window, m_window->windowTitle(),
        tr("%n行记录还没有写入%1。\n另存到其他文件吗？不另存的，在文件放开后写入（程序退出前）。",
           nullptr, waiting())
            .arg(m_queue->path()),
        QMessageBox::Save | QMessageBox::Cancel,
        {{QMessageBox::Save, tr("另存为…")}, {QMessageBox::Cancel, tr("继续等待")}},
        QMessageBox::Save);
    return answer != QMessageBox::Save || saveElsewhere();
}

bool BatchRecordRows::mayQuit()
{
    if (waiting() == 0)
        return true;
    const auto answer = Messages::question(
        m_window, tr("退出"),
        tr("%n行记录还没有写入%1（文件被另一个程序锁住），退出后就没有了。\n另存到其他文件吗？",
           nullptr, waiting())
            .arg(m_queue->path()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
        {{QMessageBox::Save, tr("另存为…")},
         {QMessageBox::Discard, tr("不保存，退出")},
         {QMessageBox::Cancel, tr("取消")}},
        QMessageBox::Save);
    if (answer == QMessageBox::Save)
        return saveElsewhere();
    return answer == QMessageBox::Discard;
}

bool BatchRecordRows::saveElsewhere()
{
    // Offered beside the record, under a name that says what it holds.
    const QFileInfo record(m_queue->path());
    const QString offered = record.absolutePath() + QLatin1Char('/') + record.completeBaseName() +
                            QStringLiteral("-unwritten.csv");
    const QString path = FileDialogs::getSaveFileName(
        m_window, tr("另存记录"), offered, tr("CSV 文件 (*.csv)"), QStringLiteral("csv"));
    if (path.isEmpty())
        return false;
    QString error;
    bool busy = false;
    if (!BatchRecord(path, m_project, m_table).tryAppend(m_queue->waitingRows(), &error, &busy)) {
        Messages::warning(m_window, m_window->windowTitle(), tr("记录没有写入：%1").arg(error));
        return false;
    }
    m_queue->clear();
    return true;
}
