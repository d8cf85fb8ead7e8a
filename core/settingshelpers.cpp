#include "settingshelpers.h"

QSettings *openSettings(const QString &filePath)
{
    auto *settings = new QSettings(filePath, QSettings::IniFormat);
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    settings->setIniCodec("UTF-8"); // Qt 6 reads and writes INI files as UTF-8
#endif
    return settings;
}

QString readValue(QSettings *settings, const QString &section, const QString &key)
{
    if (!settings)
        return {};
    const QString path = section + QLatin1Char('/') + key;
    if (!settings->contains(path))
        return {};
    const QVariant value = settings->value(path);
    QString text = value.userType() == QMetaType::QStringList
                       ? value.toStringList().join(QLatin1Char(','))
                       : value.toString();
    const int nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text.truncate(nul);
    return text;
}

void writeValue(QSettings *settings, const QString &section, const QString &key,
                const QString &value)
{
    settings->beginGroup(section);
    settings->setValue(key, value);
    settings->endGroup();
}

void clearSection(QSettings *settings, const QString &section)
{
    settings->beginGroup(section);
    settings->remove(QString());
    settings->endGroup();
}
