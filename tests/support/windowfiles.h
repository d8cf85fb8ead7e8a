#pragma once

// For the window's suites: the files a window reads at start.

#include "projectfile.h"
#include "softwareinitialization.h"
#include "tablefixtures.h"

#include <QCoreApplication>
#include <QtTest>

// The start-up settings of a window run from the build folder: beside the
// test programs.
inline QString startupSettingsPath()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') +
           CSoftwareInitialization().settingsFileName;
}

// A project file of chip with PA0 a digital input.
inline void writeProject(const QString &path, const QString &chip = QStringLiteral("STM32F103RE"))
{
    QVERIFY(ProjectFile::write(TableFixtures::projectWith(chip, {{"PA0", "Normal_DI"}}), path));
}
