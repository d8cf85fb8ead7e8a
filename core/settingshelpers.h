#pragma once

#include <QSettings>
#include <QString>

// Every INI file of the program goes through these: INI format, UTF-8 codec.
QSettings *openSettings(const QString &filePath);
// The value of section/key as text, cut at its first NUL; empty when absent.
QString readValue(QSettings *settings, const QString &section, const QString &key);
void writeValue(QSettings *settings, const QString &section, const QString &key,
                const QString &value);
void clearSection(QSettings *settings, const QString &section);
