#include "focuscues.h"
#include "interactivevview.h"
#include "mainwindow.h"
#include "peripheralpanel.h"
#include "pinitem.h"
#include "pinmenukeys.h"
#include "pinscene.h"
#include "ui_mainwindow.h"

#include <QLineEdit>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>

using D = CPinDescriptions;

// ---------------------------------------------------------------- pin tab

// The peripheral buttons scroll in their own column, never narrower than
// their texts, so that the drawing takes what is left of any screen; a search
// field above the drawing finds pins by name or signal.
void MainWindow::arrangePinTab()
{
    QGridLayout *grid = ui->gridLayout_3;
    QLayoutItem *firstColumn = grid->itemAtPosition(0, 0);
    QLayoutItem *secondColumn = grid->itemAtPosition(0, 1);
    if (!firstColumn || !secondColumn || !firstColumn->layout() || !secondColumn->layout())
        return;
    grid->removeItem(firstColumn);
    grid->removeItem(secondColumn);
    grid->removeWidget(ui->PinsView);
    panel = new PeripheralPanel({firstColumn->layout(), secondColumn->layout()},
                                {{D::DlgDI, ui->pushButtonDI},
                                 {D::DlgDO, ui->pushButtonDO},
                                 {D::DlgAI, ui->pushButtonADC},
                                 {D::DlgAO, ui->pushButtonDAC},
                                 {D::DlgEXIT, ui->pushButtonEXIT},
                                 {D::DlgUSART1, ui->pushButtonUSART1},
                                 {D::DlgUSART2, ui->pushButtonUSART2},
                                 {D::DlgUSART3, ui->pushButtonUSART3},
                                 {D::DlgUART4, ui->pushButtonUART4},
                                 {D::DlgUART5, ui->pushButtonUART5},
                                 {D::DlgUSART6, ui->pushButtonUSART6},
                                 {D::DlgSPI1, ui->pushButtonSPI1},
                                 {D::DlgSPI2, ui->pushButtonSPI2},
                                 {D::DlgSPI3, ui->pushButtonSPI3},
                                 {D::DlgSYS, ui->pushButtonSYS}});
    connect(panel, &PeripheralPanel::tableRequested, this, &MainWindow::launch);

    pinSearch = new QLineEdit;
    pinSearch->setObjectName(QStringLiteral("lineEditPinSearch"));
    pinSearch->setClearButtonEnabled(true);
    connect(pinSearch, &QLineEdit::textChanged, this, &MainWindow::findPins);
    // Enter takes the pin found first: Shift+F10 or the menu key opens its menu.
    pinKeys = new PinMenuKeys(ui->PinsView);
    connect(pinSearch, &QLineEdit::returnPressed, this, [this] {
        if (CPinItem *pin = pinKeys->takeSearchHit())
            statusBar()->showMessage(
                tr("已选中引脚 %1：按 Shift+F10 或菜单键选择它的功能").arg(pin->pinName()));
    });
    // 适合窗口: the whole drawing, upright.
    auto *fit = new QToolButton;
    fit->setObjectName(QStringLiteral("toolButtonFit"));
    fitButton = fit; // its words come with the language, in retranslate()
    connect(fit, &QToolButton::clicked, this, [this] {
        if (pinScene)
            ui->PinsView->resetAndFit(pinScene->itemsBoundingRect());
    });
    auto *findShortcut = new QShortcut(QKeySequence::Find, this);
    connect(findShortcut, &QShortcut::activated, this, [this] {
        pinSearch->setFocus();
        pinSearch->selectAll();
    });

    // The drawing takes the keyboard (arrows, the menu key): it shows when.
    ui->PinsView->setStyleSheet(FocusCues::frameStyleSheet("CInteractivevView"));
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(pinSearch, 1);
    searchRow->addWidget(fit);
    auto *drawing = new QVBoxLayout;
    drawing->addLayout(searchRow);
    drawing->addWidget(ui->PinsView);
    grid->addWidget(panel, 0, 0);
    grid->addLayout(drawing, 0, 1);
    grid->setColumnStretch(1, 1);
    connect(ui->tabWidget, &QTabWidget::currentChanged, this, &MainWindow::tableFollowsTab);
}

void MainWindow::findPins(const QString &query)
{
    if (!pinScene)
        return;
    const QVector<CPinItem *> found = pinScene->markPins(query);
    if (!found.isEmpty())
        ui->PinsView->centerOn(found.first());
    if (query.trimmed().isEmpty())
        statusBar()->clearMessage();
    else if (found.isEmpty())
        statusBar()->showMessage(tr("没有找到“%1”").arg(query.trimmed()));
    else
        statusBar()->showMessage(tr("找到 %1 个引脚").arg(found.size()));
}
