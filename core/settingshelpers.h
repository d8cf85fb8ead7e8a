#pragma once

#include <QSettings>
#include <QString>
#include <functional>

// Every INI file of the program goes through these: INI format, UTF-8 codec.
QSettings *openSettings(const QString &filePath);
// The value of section/key as text, cut at its first NUL; empty when absent.
QString readValue(QSettings *settings, const QString &section, const QString &key);
void writeValue(QSettings *settings, const QString &section, const QString &key,
                const QString &value);
void clearSection(QSettings *settings, const QString &section);

// The start-up settings file kept in folder.
QString startupSettingsPath(const QString &folder);
// Writes one section of the start-up settings in folder anew, the rest of
// the file kept; false with a message when there is no folder or the file
// cannot be written.
bool rewriteStartupSection(const QString &folder, const QString &section,
                           const std::function<void(QSettings *)> &write, QString *error);
