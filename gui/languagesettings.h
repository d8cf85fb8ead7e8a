#pragma once

#include "softwareinitialization.h"

#include <QObject>
#include <QString>
#include <memory>

class QTranslator;

// The start-up settings of the program: its language and the project it
// reopens, kept in the start-up settings file (see AppFolders). It owns the
// program's translator: one at a time, replaced on every switch.
class LanguageSettings : public QObject
{
    Q_OBJECT
public:
    // The ids the settings file stores.
    enum Language
    {
        Unchosen = 0, // the program's own Chinese
        English = 1033,
        Chinese = 2052
    };

    explicit LanguageSettings(QObject *parent = nullptr);
    ~LanguageSettings() override;

    Language language() const { return current; }
    QTranslator *translator() const { return loaded.get(); }
    static Language fromId(int id);

    // Loads the language the settings file names.
    void loadSaved();
    // Loads the language and remembers it; false with the reason when it
    // could not be remembered (the language is switched all the same).
    bool switchTo(Language language, QString *error);

    QString rememberedProject() const;
    bool rememberProject(const QString &path, QString *error);

signals:
    // The translators changed: every window takes its texts again.
    void languageLoaded();

private:
    void load(Language language);
    QString settingsPath() const;

    CSoftwareInitialization names;
    std::unique_ptr<QTranslator> loaded;
    Language current = Unchosen;
};
