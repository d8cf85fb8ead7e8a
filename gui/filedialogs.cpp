#include "filedialogs.h"

#include <QFileDialog>

namespace FileDialogs {

namespace {
Handler &openHandler()
{
    static Handler h;
    return h;
}
Handler &saveHandler()
{
    static Handler h;
    return h;
}
Handler &folderHandler()
{
    static Handler h;
    return h;
}
} // namespace

void setFolderHandler(Handler handler)
{
    folderHandler() = std::move(handler);
}

void setOpenHandler(Handler handler)
{
    openHandler() = std::move(handler);
}

void setSaveHandler(Handler handler)
{
    saveHandler() = std::move(handler);
}

QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                        const QString &filter)
{
    if (openHandler())
        return openHandler()(caption, dir, filter);
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                        const QString &filter, const QString &defaultSuffix)
{
    if (saveHandler())
        return saveHandler()(caption, dir, filter);
    QFileDialog dialog(parent, caption, dir, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString getExistingDirectory(QWidget *parent, const QString &caption, const QString &dir)
{
    if (folderHandler())
        return folderHandler()(caption, dir, QString());
    return QFileDialog::getExistingDirectory(parent, caption, dir);
}

} // namespace FileDialogs
