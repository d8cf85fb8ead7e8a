#include "dialogconfigure.h"
#include "ui_dialogconfigure.h"

#include "chipfacts.h"
#include "messages.h"
#include "numberdelegate.h"
#include "rowtable.h"
#include "spitable.h"
#include "tablerules.h"
#include "usarttable.h"
#include "wirelessmoduleconfigure.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>

using D = CPinDescriptions;

DialogConfigure::DialogConfigure(QWidget *parent) : QDialog(parent), ui(new Ui::DialogConfigure)
{
    // The form is set up before the companion windows exist: their buttons
    // carry the same object names as this form's and must not be taken for
    // them when the slots are connected by name.
    ui->setupUi(this);
    network = new CNetworkAttribut(this);
    wireless = new DialogWirelessModuleConfigure(this);
    numberDelegate = new CNumberDelegate(this);
    connect(network, &CNetworkAttribut::UpdateNetworkAttributSignal, this,
            [this](CNetworkAttribut::NetworkAttributType film, const QStringList &information) {
                if (film >= CNetworkAttribut::FilmApplication1 &&
                    film <= CNetworkAttribut::FilmApplication3)
                    filmLists[film - 1] = information;
            });
    connect(wireless, &DialogWirelessModuleConfigure::UpdateWirelessModuleSignal, this,
            [this](const QStringList &information) { wirelessList = information; });
}

DialogConfigure::~DialogConfigure()
{
    delete ui;
}

QTableWidget *DialogConfigure::table() const
{
    return ui->tableWidget;
}

QStringList DialogConfigure::networkInformation() const
{
    return filmLists[0] + filmLists[1] + filmLists[2];
}

void DialogConfigure::setPinLists(const QStringList &pinNames, const QStringList &pinFunctions,
                                  int pinCount)
{
    currentPinNames = pinNames.mid(0, pinCount);
    currentPinFunctions = pinFunctions.mid(0, pinCount);
}

void DialogConfigure::launch(D::DlgType kind, const ProjectData &project)
{
    if (!buildTable(kind, project))
        return;
    unedited = currentInformation();
    show();
    keepOnScreen();
}

void DialogConfigure::keepOnScreen()
{
    QScreen *shownOn = screen();
    if (!shownOn)
        return;
    const QRect area = shownOn->availableGeometry();
    const QRect frame = frameGeometry();
    if (area.contains(frame))
        return;
    const int x = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
    const int y = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
    move(x, y);
}

void DialogConfigure::showCell(int row, int column)
{
    QTableWidget *widget = ui->tableWidget;
    if (row < 0 || row >= widget->rowCount() || column < 0 || column >= widget->columnCount())
        return;
    widget->setCurrentCell(row, column);
    if (QTableWidgetItem *item = widget->item(row, column))
        widget->scrollToItem(item);
    widget->setFocus();
    raise();
    activateWindow();
}

// The table is modeless: a chip-select pin chosen in it may have been given
// another function on the drawing before OK. Such a choice is refused with
// the pin named, and the table stays open.
void DialogConfigure::warnChipSelectTaken(const QString &pin)
{
    const QString function = currentPinFunctions.value(currentPinNames.indexOf(pin));
    Messages::warning(
        this, tr("警告"),
        tr("片选引脚 %1 已被占用（%2），请另选一个引脚。").arg(pin, function.trimmed()));
}

bool DialogConfigure::chipSelectsStillFree(const QStringList &chosen)
{
    const QStringList candidates = candidatesOf(type);
    for (const QString &pin : chosen) {
        if (pin.isEmpty() || pin == text.noneText || candidates.contains(pin))
            continue;
        warnChipSelectTaken(pin);
        return false;
    }
    return true;
}

void DialogConfigure::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        text.retranslate();
        followProject(shownProject);
    }
    QDialog::changeEvent(event);
}

void DialogConfigure::followProject(const ProjectData &project)
{
    // A hidden table is built anew when it is launched again.
    if (!isVisible() || type == D::DlgNone)
        return;
    ProjectData again = project;
    QStringList *entered = again.tableList(type);
    if (!entered)
        return;
    // Rows are matched by pin, the last record of a pin wins: the model's
    // values for rows the user has not touched, the entered ones for the rest.
    if (rowTable)
        *entered += rowTable->information();
    else if (usartTable)
        *entered = usartTable->information();
    else if (spiTable)
        *entered = spiTable->information();
    const QStringList chosenBefore = chosenChipSelects();
    const auto films = filmLists;
    const QStringList sockets = wirelessList;
    const QStringList shown = shownChipSelects;
    const bool edited = hasUnconfirmedEdits();
    // The model alone first, for what counts as unedited.
    if (edited && buildTable(type, project, false))
        unedited = currentInformation();
    if (!buildTable(type, again, false))
        return;
    filmLists = films;
    wirelessList = sockets;
    shownChipSelects = shown;
    if (!edited)
        unedited = currentInformation();
    keepOnScreen();
    // A chip select chosen here whose pin the drawing gave another function
    // meanwhile is gone from its cell: say so.
    const QStringList chosenNow = chosenChipSelects();
    for (const QString &pin : chosenBefore) {
        if (!currentPinNames.contains(pin) || chosenNow.contains(pin))
            continue;
        warnChipSelectTaken(pin);
    }
}

QStringList DialogConfigure::chosenChipSelects() const
{
    if (rowTable)
        return rowTable->chipSelectTexts();
    if (spiTable)
        return spiTable->chipSelectTexts();
    return {};
}

QStringList DialogConfigure::candidatesOf(D::DlgType kind) const
{
    return TableRules::chipSelectCandidates(currentPinNames, currentPinFunctions,
                                            ChipFacts::chipSelectPrefix(kind));
}

void DialogConfigure::resetTable()
{
    for (QObject *old : {static_cast<QObject *>(rowTable), static_cast<QObject *>(usartTable),
                         static_cast<QObject *>(spiTable)}) {
        if (old) {
            // It goes later: it must not follow the next table's cells meanwhile.
            ui->tableWidget->disconnect(old);
            old->deleteLater();
        }
    }
    rowTable = nullptr;
    usartTable = nullptr;
    spiTable = nullptr;
    QTableWidget *widget = ui->tableWidget;
    for (int c = 0; c < widget->columnCount(); ++c)
        widget->setItemDelegateForColumn(c, nullptr);
    widget->clear();
    widget->setRowCount(0);
    widget->setColumnCount(0);
}

bool DialogConfigure::buildTable(D::DlgType kind, const ProjectData &project, bool hideFirst)
{
    if (kind <= D::DlgNone || kind > D::DlgSYS || project.pinNames.isEmpty() ||
        project.pinFunctions.size() < project.pinNames.size())
        return false;
    if (hideFirst)
        hide();
    shownProject = project;
    setPinLists(project.pinNames, project.pinFunctions, project.pinCount());
    resetTable();
    type = kind;
    shownChipSelects.clear();

    QString title;
    QSize size;
    if (kind >= D::DlgUSART1 && kind <= D::DlgUSART6) {
        const int port = kind - D::DlgUSART1 + 1;
        usartTable = new CUsartTable(ui->tableWidget, text, this);
        usartTable->build(port,
                          TableRules::usartPins(project.currentChip, port, project.pinNames,
                                                project.pinFunctions),
                          project.usartInformation.at(port - 1));
        wirelessList = project.wirelessInformation.at(port - 1);
        connect(usartTable, &CUsartTable::wirelessSettingsRequested, this,
                &DialogConfigure::openWirelessModule);
        title = usartTable->windowTitle();
        size = usartTable->windowSize();
    } else if (kind >= D::DlgSPI1 && kind <= D::DlgSPI3) {
        const int port = kind - D::DlgSPI1 + 1;
        const QStringList &stored = project.networkInformation.at(port - 1);
        const int third = stored.size() >= 3 ? int(stored.size()) / 3 : 0;
        for (int film = 0; film < 3; ++film)
            filmLists[film] = stored.mid(film * third, third);
        spiTable = new CSpiTable(
            ui->tableWidget, text, [this, kind] { return candidatesOf(kind); }, this);
        spiTable->build(
            port,
            TableRules::spiPins(project.currentChip, port, project.pinNames, project.pinFunctions),
            project.spiInformation.at(port - 1));
        shownChipSelects = spiTable->chipSelectTexts();
        connect(spiTable, &CSpiTable::networkAttributRequested, this,
                &DialogConfigure::openNetworkAttribut);
        title = spiTable->windowTitle();
        size = spiTable->windowSize();
    } else {
        const TableRules::TableRows rows =
            TableRules::rowsOfTable(kind, project.pinNames, project.pinFunctions);
        rowTable = new CRowTable(
            ui->tableWidget, text, kind, [this, kind] { return candidatesOf(kind); }, this);
        const QStringList *stored = project.tableList(kind);
        rowTable->build(rows.pins, rows.functions, stored ? *stored : QStringList());
        if (rowTable->numberColumn() >= 0) {
            numberDelegate->setRange(0, rowTable->numberMaximum());
            ui->tableWidget->setItemDelegateForColumn(rowTable->numberColumn(), numberDelegate);
        }
        shownChipSelects = rowTable->shownChipSelects();
        title = rowTable->windowTitle();
        size = rowTable->windowSize();
    }
    setWindowTitle(title);
    fitToContents(size);
    return true;
}

void DialogConfigure::fitToContents(const QSize &leastSize)
{
    QTableWidget *widget = ui->tableWidget;
    QVector<int> least;
    for (int c = 0; c < widget->columnCount(); ++c)
        least << widget->columnWidth(c);
    widget->resizeColumnsToContents();
    for (int c = 0; c < widget->columnCount(); ++c) {
        // A little air beside the widest text.
        const int needed = widget->columnWidth(c) + 8;
        widget->setColumnWidth(c, std::max(least.at(c), needed));
    }

    const int frame = 2 * widget->frameWidth();
    const QMargins margins = layout()->contentsMargins();
    const int spacing = std::max(0, layout()->spacing());
    QSize wanted(widget->verticalHeader()->sizeHint().width() +
                     widget->horizontalHeader()->length() + frame +
                     widget->verticalScrollBar()->sizeHint().width() + margins.left() +
                     margins.right(),
                 widget->horizontalHeader()->sizeHint().height() +
                     widget->verticalHeader()->length() + frame + spacing +
                     ui->pushButtonOK->sizeHint().height() + margins.top() + margins.bottom());
    wanted = wanted.expandedTo(leastSize);

    QScreen *target = screen();
    if (!target)
        target = QGuiApplication::primaryScreen();
    if (target) {
        // The title bar and borders come on top of the window's own size.
        QSize decoration = frameGeometry().size() - geometry().size();
        if (!isVisible() || decoration.isEmpty())
            decoration = decoration.expandedTo(QSize(16, 40));
        wanted = wanted.boundedTo(target->availableGeometry().size() - decoration);
    }
    resize(wanted);
}

void DialogConfigure::openWirelessModule()
{
    wireless->fillFromList(wirelessList);
    wireless->show();
    wireless->raise();
}

void DialogConfigure::openNetworkAttribut(int film)
{
    if (film < 1 || film > int(filmLists.size()))
        return;
    network->openForFilm(film, filmLists[film - 1]);
    network->show();
    network->raise();
}

bool DialogConfigure::finishRowTable()
{
    QString problem = rowTable->numberProblem();
    if (problem.isEmpty() && rowTable->usesChipSelects()) {
        rowTable->checkStartTerminals(this);
        // An automatic correction may push a start past the last terminal.
        problem = rowTable->numberProblem();
    }
    if (!problem.isEmpty()) {
        Messages::warning(this, tr("警告"), problem);
        return false;
    }
    if (!rowTable->usesChipSelects())
        return true;
    const QStringList chosen = rowTable->chipSelectTexts();
    if (!chipSelectsStillFree(chosen))
        return false;
    const QStringList pins = rowTable->rowPins();
    switch (type) {
    case D::DlgDI:
        emit UpdataDISliceSelectPinsOnPushbuttonOKSignal(type, chosen, shownChipSelects, pins);
        break;
    case D::DlgDO:
        emit UpdataDOSliceSelectPinsOnPushbuttonOKSignal(type, chosen, shownChipSelects, pins);
        break;
    case D::DlgAI:
        emit UpdataAISliceSelectPinsOnPushbuttonOKSignal(type, chosen, shownChipSelects, pins);
        break;
    case D::DlgAO:
        emit UpdataAOSliceSelectPinsOnPushbuttonOKSignal(type, chosen, shownChipSelects, pins);
        break;
    default:
        break;
    }
    return true;
}

void DialogConfigure::on_pushButtonOK_clicked()
{
    QStringList information;
    QStringList networkSub;
    QStringList wirelessSub;
    if (rowTable) {
        if (!finishRowTable())
            return;
        information = rowTable->information();
    } else if (usartTable) {
        information = usartTable->information();
        wirelessSub = wirelessList;
    } else if (spiTable) {
        spiTable->clearUnusedChipSelects();
        if (!chipSelectsStillFree(spiTable->chipSelectTexts()))
            return;
        emit UpdataSPISliceSelectPinsOnPushbuttonOKSignal(type, spiTable->chipSelectTexts(),
                                                          shownChipSelects);
        information = spiTable->information();
        networkSub = networkInformation();
    }
    emit updataPinDesINI(type, information, networkSub, wirelessSub);
    unedited = currentInformation();
    accept();
}

void DialogConfigure::on_pushButtonCancel_clicked()
{
    reject();
}

QStringList DialogConfigure::currentInformation() const
{
    if (rowTable)
        return rowTable->information() + rowTable->chipSelectTexts();
    if (usartTable)
        return usartTable->information() + wirelessList;
    if (spiTable)
        return spiTable->information() + spiTable->chipSelectTexts() + networkInformation();
    return {};
}

bool DialogConfigure::hasUnconfirmedEdits() const
{
    return isVisible() && type != D::DlgNone && currentInformation() != unedited;
}

void DialogConfigure::reject()
{
    if (hasUnconfirmedEdits()) {
        const auto answer = Messages::question(
            this, tr("提示"), tr("表格中有没有确定的修改，放弃这些修改吗？"),
            QMessageBox::Discard | QMessageBox::Cancel,
            {{QMessageBox::Discard, tr("放弃修改")}, {QMessageBox::Cancel, tr("继续编辑")}});
        if (answer != QMessageBox::Discard)
            return;
    }
    QDialog::reject();
}

bool DialogConfigure::mayLeave()
{
    if (!hasUnconfirmedEdits())
        return true;
    raise();
    const auto answer =
        Messages::question(this, tr("提示"), tr("表格“%1”中有没有确定的修改。").arg(windowTitle()),
                           QMessageBox::Apply | QMessageBox::Discard | QMessageBox::Cancel,
                           {{QMessageBox::Apply, tr("应用")},
                            {QMessageBox::Discard, tr("丢弃")},
                            {QMessageBox::Cancel, tr("取消")}});
    if (answer == QMessageBox::Apply) {
        on_pushButtonOK_clicked();
        return !isVisible(); // a value refused keeps the table open
    }
    return answer == QMessageBox::Discard;
}

void DialogConfigure::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
    QWidget *focus = focusWidget();
    QTableWidget *widget = ui->tableWidget;
    if (focus && focus != widget && widget->isAncestorOf(focus)) {
        // An editor or a cell's own widget: the edit is taken, nothing more.
        widget->setFocus();
        return;
    }
    on_pushButtonOK_clicked();
}
