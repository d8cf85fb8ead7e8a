#include "projectdrop.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

ProjectDrop::ProjectDrop(QWidget *window, std::function<void(const QString &)> openProject)
    : QObject(window), open(std::move(openProject))
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

QString ProjectDrop::projectFile(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return QString();
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile())
        return QString();
    const QFileInfo file(url.toLocalFile());
    if (file.suffix().compare(QLatin1String("cpro"), Qt::CaseInsensitive) != 0 || file.isDir())
        return QString();
    return file.absoluteFilePath();
}

namespace {

// The file stays where it is: the drop copies or links it, never moves it,
// so the program it comes from never removes it.
bool acceptWithoutMove(QDropEvent *event)
{
    for (Qt::DropAction action : {Qt::CopyAction, Qt::LinkAction}) {
        if (event->possibleActions() & action) {
            event->setDropAction(action);
            event->accept();
            return true;
        }
    }
    event->ignore();
    return false;
}

} // namespace

bool ProjectDrop::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (projectFile(drag->mimeData()).isEmpty())
            drag->ignore();
        else
            acceptWithoutMove(drag);
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QString path = projectFile(drop->mimeData());
        if (path.isEmpty())
            drop->ignore();
        else if (acceptWithoutMove(drop))
            QTimer::singleShot(0, this, [this, path] { open(path); });
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
