#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QMimeData;
class QWidget;

// Opens a project file dropped on a window: one local file whose name ends
// in .cpro is taken (the drop cursor says so), anything else is refused (the
// cursor shows that it cannot be dropped). The file is handed to `open` once
// the drop is over, so that a question about unsaved changes does not hold
// the program the file came from.
class ProjectDrop : public QObject
{
    Q_OBJECT
public:
    ProjectDrop(QWidget *window, std::function<void(const QString &path)> open);

    // The project file a drag carries; empty when it carries anything else.
    static QString projectFile(const QMimeData *data);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void(const QString &path)> open;
};
