#include "settingshelpers.h"

#include "inifile.h"
#include "softwareinitialization.h"

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

QString startupSettingsPath(const QString &folder)
{
    return folder + QLatin1Char('/') + CSoftwareInitialization().settingsFileName;
}

bool rewriteStartupSection(const QString &folder, const QString &section,
                           const std::function<void(QSettings *)> &write, QString *error)
{
    if (folder.isEmpty()) {
        if (error)
            *error = QStringLiteral("no folder to keep the settings in");
        return false;
    }
    return IniFile::update(
        startupSettingsPath(folder),
        [&](QSettings *settings) {
            clearSection(settings, section);
            write(settings);
        },
        error);
}
