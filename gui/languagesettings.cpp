#include "languagesettings.h"

#include "appfolders.h"
#include "inifile.h"
#include "qttranslations.h"
#include "settingshelpers.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTranslator>

LanguageSettings::LanguageSettings(QObject *parent) : QObject(parent) {}

LanguageSettings::~LanguageSettings()
{
    if (loaded)
        QCoreApplication::removeTranslator(loaded.get());
}

LanguageSettings::Language LanguageSettings::fromId(int id)
{
    switch (id) {
    case English:
        return English;
    case Chinese:
        return Chinese;
    default:
        return Unchosen;
    }
}

QString LanguageSettings::settingsPath() const
{
    return AppFolders::settingsDirectory() + "/" + names.settingsFileName;
}

void LanguageSettings::load(Language language)
{
    if (loaded)
        QCoreApplication::removeTranslator(loaded.get());
    loaded = std::make_unique<QTranslator>();
    current = language;
    QString file;
    if (language == Chinese)
        file = AppFolders::translationsDirectory() + "/lang_Chinses.qm";
    else if (language == English)
        file = AppFolders::translationsDirectory() + "/lang_English.qm";
    if (!file.isEmpty() && loaded->load(file))
        QCoreApplication::installTranslator(loaded.get());
    installQtTranslations(language);
    emit languageLoaded();
}

void LanguageSettings::loadSaved()
{
    std::unique_ptr<QSettings> settings(openSettings(settingsPath()));
    load(fromId(readValue(settings.get(), names.languageSection, names.languageKey).toInt()));
}

bool LanguageSettings::switchTo(Language language, QString *error)
{
    load(language);
    return IniFile::update(
        settingsPath(),
        [&](QSettings *settings) {
            clearSection(settings, names.languageSection);
            writeValue(settings, names.languageSection, names.languageKey,
                       QString::number(int(language)));
        },
        error);
}

QString LanguageSettings::rememberedProject() const
{
    std::unique_ptr<QSettings> settings(openSettings(settingsPath()));
    return readValue(settings.get(), names.projectSection, names.projectKey);
}

bool LanguageSettings::rememberProject(const QString &path, QString *error)
{
    return IniFile::update(
        settingsPath(),
        [&](QSettings *settings) {
            writeValue(settings, names.projectSection, names.projectKey, path);
        },
        error);
}
