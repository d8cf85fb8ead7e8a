#pragma once

#include <QString>

// Names of the start-up settings file beside the program.
struct CSoftwareInitialization
{
    const QString settingsFileName = QStringLiteral("SoftwareInitialization.txt");
    const QString projectSection = QStringLiteral("EngineeringFilePath");
    const QString projectKey = QStringLiteral("filePath");
    const QString languageSection = QStringLiteral("LanguageID");
    const QString languageKey = QStringLiteral("LanguageID");
    const QString transferSection = QStringLiteral("Transfer");
    const QString timeoutKey = QStringLiteral("TimeoutMs");
    const QString retriesKey = QStringLiteral("Retries");
    const QString verifyKey = QStringLiteral("VerifyAfterDownload");
    const QString lastPortKey = QStringLiteral("LastPort");
    const QString recentSection = QStringLiteral("RecentProjects");
    const QString recentKey = QStringLiteral("File"); // File1 .. File10
    const QString windowTitle = QStringLiteral("Mirel");
};
