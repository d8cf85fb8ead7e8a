#include "comparewindow.h"
#include "dialogconfigure.h"
#include "downloadtab.h"
#include "interactivevview.h"
#include "mainwindow.h"
#include "messages.h"
#include "peripheralpanel.h"
#include "pinitem.h"
#include "pinscene.h"
#include "problemsdock.h"
#include "projectcontroller.h"
#include "projectpaths.h"
#include "projecttexts.h"
#include "serial.h"
#include "ui_mainwindow.h"

#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>

using D = CPinDescriptions;

// ------------------------------------------------------ the project's problems

void MainWindow::setUpProblems()
{
    problemsDock = new ProblemsDock(projectController, this);
    addDockWidget(Qt::BottomDockWidgetArea, problemsDock);
    // A few rows high (fewer on a low screen): the drawing and the peripheral
    // buttons keep the room; the user draws it higher.
    const bool low = screen() && screen()->availableGeometry().height() < 700;
    resizeDocks({problemsDock}, {(low ? 3 : 5) * fontMetrics().height() + 16}, Qt::Vertical);
    statusBar()->addPermanentWidget(problemsDock->countLabel());
    connect(problemsDock, &ProblemsDock::problemsChanged, panel, &PeripheralPanel::showProblems);
    connect(problemsDock, &ProblemsDock::problemActivated, this, &MainWindow::showProblem);
    // The pins a comparison marked are of the project as it was.
    for (auto signal : {&ProjectController::projectChanged, &ProjectController::projectRestored,
                        &ProjectController::projectReplaced})
        connect(projectController, signal, this, &MainWindow::forgetComparison);
}

void MainWindow::showProblem(const ProjectProblem &problem)
{
    if (problem.table == D::DlgNone)
        return;
    ui->tabWidget->setCurrentWidget(ui->Pinout); // the table beside its drawing
    // A problem of a whole table (no row) shows the table from its start.
    openTableAt(problem.table, std::max(1, problem.row), std::max(0, problem.column));
    // One of a film's network settings or of a socket: its window, at the field.
    if (problem.unit > 0 && configureDialog && configureDialog->isVisible())
        configureDialog->showSettings(problem.row - 1, problem.unit, problem.field);
}

// ------------------------------------------- the project set against a controller

void MainWindow::compareWithController()
{
    if (!projectController->isOpen()) {
        Messages::warning(this, tr("警告"),
                          tr("没有打开的工程：请先新建或打开工程，再与控制器比较"));
        return;
    }
    // The project as it stands: what a table window holds typed is applied
    // or left out first.
    if (!tableSettled(tr("与控制器比较")))
        return;
    if (!downloadTab->serial()->isOpen())
        ui->tabWidget->setCurrentWidget(ui->DownLoad); // where the port is opened
    downloadTab->startCompare();
}

void MainWindow::showControllerComparison(const QByteArray &table, bool noTable,
                                          const QString &failure)
{
    if (!compareWindow) {
        compareWindow = new CompareWindow(this);
        // Its own download is compared again once it is done.
        connect(compareWindow, &CompareWindow::downloadRequested, downloadTab,
                &CDownloadTab::startDownloadThenCompare);
        connect(compareWindow, &CompareWindow::openRequested, this, [this] {
            QString error;
            QStringList warnings;
            if (!analyzer.analyze(compareWindow->controllerTable(), projectData().currentChip,
                                  ProjectPaths::applicationDirectory(), nullptr, &error, &warnings))
                Messages::warning(this, tr("警告"), error);
        });
        connect(compareWindow, &CompareWindow::differenceActivated, this,
                &MainWindow::showDifference);
    }
    forgetComparison();
    if (!noTable && !failure.isEmpty()) {
        compareWindow->showFailure(failure);
    } else {
        // A controller without a table is compared as holding an empty one.
        const QString path = projectController->filePath();
        compareWindow->compare(projectData(), noTable ? QByteArray() : table,
                               path.isEmpty() ? tr("当前工程") : QFileInfo(path).fileName());
        for (const ProjectDifference &difference : compareWindow->differences())
            if (!difference.pin.isEmpty() && !comparedPins.contains(difference.pin))
                comparedPins << difference.pin;
        if (pinScene)
            pinScene->markPinsNamed(comparedPins);
    }
    compareWindow->show();
    compareWindow->raise();
    compareWindow->activateWindow();
}

void MainWindow::showDifference(const ProjectDifference &difference)
{
    if (difference.table != D::DlgNone) {
        // A row of the table window itself at its cell; a wireless socket or
        // a film's network setting, whose window the table opens, at the top.
        const bool ownRow =
            difference.row > 0 && difference.tableName == ProjectTexts::tableName(difference.table);
        openTableAt(difference.table, ownRow ? difference.row : 1,
                    ownRow ? std::max(0, difference.column) : 0);
        return;
    }
    if (difference.pin.isEmpty() || !pinScene)
        return;
    ui->tabWidget->setCurrentIndex(0);
    for (CPinItem *pin : pinScene->pinItems())
        if (pin->pinName() == difference.pin)
            ui->PinsView->centerOn(pin);
}

void MainWindow::forgetComparison()
{
    if (compareWindow && compareWindow->isVisible())
        compareWindow->markOutdated();
    if (comparedPins.isEmpty())
        return;
    comparedPins.clear();
    if (pinScene)
        pinScene->markPinsNamed({});
}
