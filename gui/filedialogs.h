#pragma once

#include <QString>
#include <functional>

class QWidget;

// File dialogs of the main window go through here so that tests can answer
// them. A handler gets (caption, start directory, filter) and returns the path.
namespace FileDialogs {

using Handler =
    std::function<QString(const QString &caption, const QString &dir, const QString &filter)>;
void setOpenHandler(Handler handler);
void setSaveHandler(Handler handler);
void setFolderHandler(Handler handler);

QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                        const QString &filter);
// defaultSuffix (without the dot) is added to a typed name that has none, before
// the dialog asks whether to replace an existing file.
QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                        const QString &filter, const QString &defaultSuffix = QString());

// An existing folder (the filter is empty); empty when cancelled.
QString getExistingDirectory(QWidget *parent, const QString &caption, const QString &dir);

} // namespace FileDialogs
