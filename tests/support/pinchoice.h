#pragma once

// For the window's suites only (it needs the window's headers).

#include "mainwindow.h"
#include "pinscene.h"

#include <QAction>
#include <QCoreApplication>
#include <QtTest>

// A function chosen from a pin's menu, as a right click and a click on the
// entry do; the event that follows (the lists and the undo step) is over
// when it returns.
inline void choose(MainWindow &w, const QString &pin, const QString &function)
{
    CPinScene *scene = w.scene();
    scene->prepareMenu(scene->pinItems().value(w.projectData().pinNames.indexOf(pin)));
    const int k = int(scene->currentFunctions().indexOf(function));
    QVERIFY2(k >= 0, qPrintable(pin + " offers no " + function));
    scene->menuActions().at(k)->trigger();
    QCoreApplication::processEvents();
}
