#include "dialogconfigure.h"
#include "ui_dialogconfigure.h"

#include "cellfocus.h"
#include "messages.h"
#include "numberdelegate.h"
#include "projecttexts.h"
#include "screenplace.h"
#include "tableclipboard.h"
#include "tabledraft.h"
#include "tablerules.h"
#include "tableview.h"
#include "wirelessmoduleconfigure.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <utility>

using D = CPinDescriptions;

DialogConfigure::DialogConfigure(TableDraft *tableDraft, QWidget *parent)
    : QDialog(parent), ui(new Ui::DialogConfigure), draft(tableDraft)
{
    // The form is set up before the companion windows exist: their buttons
    // carry the same object names as this form's and must not be taken for
    // them when the slots are connected by name.
    ui->setupUi(this);
    // A table window with a parent stays above the main window; it is a
    // window of its own all the same.
    setWindowFlag(Qt::Window);
    // Enter confirms the table: OK is drawn as the default.
    ui->pushButtonOK->setDefault(true);
    network = new CNetworkAttribut(this);
    wireless = new DialogWirelessModuleConfigure(this);
    numberDelegate = new CNumberDelegate(this);
    view = new CTableView(ui->tableWidget, text, this);
    cellFocus = new CellFocus(ui->tableWidget);
    new TableClipboard(ui->tableWidget, draft,
                       [this](int column) { return view->draftColumn(column); });
    connect(network, &CNetworkAttribut::UpdateNetworkAttributSignal, draft,
            [this](CNetworkAttribut::NetworkAttributType, const QStringList &information) {
                draft->setSettings(information);
            });
    connect(wireless, &DialogWirelessModuleConfigure::UpdateWirelessModuleSignal, draft,
            &TableDraft::setSettings);
    // What is typed into a settings window is an edit of the table at once.
    connect(network, &CNetworkAttribut::fieldsEdited, draft,
            [this] { draft->setSettings(network->information()); });
    connect(wireless, &DialogWirelessModuleConfigure::fieldsEdited, draft,
            [this] { draft->setSettings(wireless->information()); });
    connect(network, &CNetworkAttribut::cancelled, draft, &TableDraft::cancelSettings);
    connect(wireless, &DialogWirelessModuleConfigure::cancelled, draft,
            &TableDraft::cancelSettings);
    connect(view, &CTableView::valueChosen, draft, &TableDraft::setValue);
    connect(view, &CTableView::settingsRequested, this, &DialogConfigure::openSettings);
    connect(draft, &TableDraft::changed, this, [this] {
        if (isVisible() && draft->isOpen())
            showDraft();
    });
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
    return draft->table().networkInformation;
}

QStringList DialogConfigure::wirelessInformation() const
{
    return draft->table().wirelessInformation;
}

void DialogConfigure::launch(D::DlgType kind, const ProjectData &project)
{
    if (kind <= D::DlgNone || kind > D::DlgSYS || project.pinNames.isEmpty() ||
        project.pinFunctions.size() < project.pinNames.size())
        return;
    const bool another = kind != type;
    if (another)
        closeSettingsWindows();
    // Shown afresh, the table is drawn whole in the language now active and
    // fitted to its texts.
    const bool afresh = !isVisible();
    if (afresh)
        view->show(DraftTable());
    type = kind;
    if (draft->project() != project)
        draft->follow(project);
    draft->open(kind);
    showDraft();
    show();
    ScreenPlace::keepOnScreen(this);
    if (afresh || another)
        cellFocus->startAtFirstInput();
}

void DialogConfigure::showDraft()
{
    const bool rebuilt = view->show(draft->table());
    const int numberColumn = view->numberColumn();
    if (rebuilt && numberColumn >= 0) {
        numberDelegate->setRange(0, TableRules::numberMaximum(type));
        ui->tableWidget->setItemDelegateForColumn(numberColumn, numberDelegate);
    }
    setWindowTitle(view->windowTitle());
    if (rebuilt) {
        fitToContents(view->windowSize());
        if (isVisible())
            ScreenPlace::keepOnScreen(this);
    }
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

void DialogConfigure::showSettings(int row, int unit, int field)
{
    openSettings(row);
    if (network->isVisible())
        network->focusField(SettingsRules::NetworkField(field));
    else if (wireless->isVisible())
        wireless->focusField(unit, SettingsRules::SocketField(field));
}

void DialogConfigure::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        text.retranslate();
        // The option texts come anew; what was typed stays in the draft.
        if (draft->isOpen()) {
            view->show(DraftTable());
            draft->follow(draft->project());
        }
    }
    QDialog::changeEvent(event);
}

void DialogConfigure::hideEvent(QHideEvent *event)
{
    // The settings windows belong to the table on show (one put down with
    // the table was hidden first, and is not given up by this).
    closeSettingsWindows();
    QDialog::hideEvent(event);
}

void DialogConfigure::setAside(bool goAside)
{
    if (goAside == aside || (goAside && !isVisible()))
        return;
    aside = goAside;
    if (goAside) {
        asideSettings = network->isVisible()    ? static_cast<QWidget *>(network)
                        : wireless->isVisible() ? static_cast<QWidget *>(wireless)
                                                : nullptr;
        if (asideSettings)
            asideSettings->hide();
        hide();
        return;
    }
    QWidget *settings = std::exchange(asideSettings, nullptr);
    if (!draft->isOpen())
        return; // closed meanwhile
    show();
    showDraft();
    if (settings)
        settings->show();
    raise();
}

void DialogConfigure::closeSettingsWindows()
{
    network->close();
    wireless->close();
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
    ScreenPlace::fit(this, wanted.expandedTo(leastSize));
}

void DialogConfigure::openSettings(int row)
{
    if (type >= D::DlgUSART1 && type <= D::DlgUSART6) {
        if (draft->portApplication() < ProjectTexts::firstWirelessApplication)
            return;
        if (!wireless->isVisible())
            draft->beginSettings();
        wireless->fillFromList(draft->sockets());
        wireless->show();
        wireless->raise();
        return;
    }
    for (int film = 1; film <= TableRules::spiFilmCount; ++film) {
        if (row != TableRules::spiApplicationRow(film) ||
            draft->filmApplication(film) < ProjectTexts::firstNetworkApplication)
            continue;
        // Another film's edits stay in the table, unconfirmed.
        if (!network->isVisible() || network->filmType() != film) {
            draft->beginSettings();
            network->openForFilm(film, draft->filmNetwork(film));
        }
        network->show();
        network->raise();
    }
}

bool DialogConfigure::checkBeforeConfirming()
{
    int row = 0;
    int column = 0;
    QString problem = draft->firstProblem(&row, &column);
    if (problem.isEmpty()) {
        draft->checkStartTerminals([this](const TableDraft::Overlap &overlap) {
            const QString question =
                tr("第%1行的%2起始端子%3与第%4行的端子重叠。\n改为%5，排在前面各行之后吗？")
                    .arg(overlap.row + 1)
                    .arg(ProjectTexts::terminalLetter(type))
                    .arg(overlap.start)
                    .arg(overlap.earlierRow + 1)
                    .arg(overlap.corrected);
            return Messages::question(this, tr("警告"), question,
                                      QMessageBox::Yes | QMessageBox::Cancel, {},
                                      QMessageBox::Cancel) == QMessageBox::Yes;
        });
        // A correction may push a start past the last terminal.
        problem = draft->firstProblem(&row, &column);
    }
    if (problem.isEmpty())
        return true;
    showCell(row, view->widgetColumn(column));
    Messages::warning(this, tr("警告"), problem);
    return false;
}

void DialogConfigure::emitChipSelects()
{
    const DraftTable &shown = draft->table();
    const QStringList stored = draft->storedChipSelects();
    switch (type) {
    case D::DlgDI:
        emit UpdataDISliceSelectPinsOnPushbuttonOKSignal(type, shown.chipSelects, stored,
                                                         shown.rowPins);
        break;
    case D::DlgDO:
        emit UpdataDOSliceSelectPinsOnPushbuttonOKSignal(type, shown.chipSelects, stored,
                                                         shown.rowPins);
        break;
    case D::DlgAI:
        emit UpdataAISliceSelectPinsOnPushbuttonOKSignal(type, shown.chipSelects, stored,
                                                         shown.rowPins);
        break;
    case D::DlgAO:
        emit UpdataAOSliceSelectPinsOnPushbuttonOKSignal(type, shown.chipSelects, stored,
                                                         shown.rowPins);
        break;
    case D::DlgSPI1:
    case D::DlgSPI2:
    case D::DlgSPI3:
        emit UpdataSPISliceSelectPinsOnPushbuttonOKSignal(type, shown.chipSelects, stored);
        break;
    default:
        break;
    }
}

void DialogConfigure::on_pushButtonOK_clicked()
{
    if (!draft->isOpen())
        return;
    // A settings window on show is confirmed with its table; a value it
    // refuses keeps both open.
    if (wireless->isVisible())
        wireless->on_pushButtonSure_clicked();
    if (network->isVisible())
        network->on_pushButtonOK_clicked();
    if (wireless->isVisible() || network->isVisible() || !checkBeforeConfirming())
        return;
    emitChipSelects();
    const DraftTable confirmed = draft->table();
    emit updataPinDesINI(type, confirmed.information, confirmed.networkInformation,
                         confirmed.wirelessInformation);
    draft->close();
    accept();
}

void DialogConfigure::on_pushButtonCancel_clicked()
{
    reject();
}

bool DialogConfigure::hasUnconfirmedEdits() const
{
    return (isVisible() || aside) && draft->isOpen() && draft->hasEdits();
}

QMessageBox::StandardButton DialogConfigure::askAboutEdits(const QString &withoutThem)
{
    setAside(false); // asked about, the table shows
    raise();
    const auto answer = Messages::question(
        this, tr("提示"),
        tr("表格“%1”中有未确定的修改，先应用它们吗？%2").arg(windowTitle(), withoutThem),
        QMessageBox::Apply | QMessageBox::Ignore | QMessageBox::Cancel,
        {{QMessageBox::Apply, tr("应用")},
         {QMessageBox::Ignore, tr("不应用")},
         {QMessageBox::Cancel, tr("取消")}},
        QMessageBox::Cancel);
    if (answer == QMessageBox::Apply)
        on_pushButtonOK_clicked();
    return answer;
}

void DialogConfigure::reject()
{
    if (hasUnconfirmedEdits()) {
        const auto answer = askAboutEdits(tr("不应用时它们被丢弃。"));
        // Applied, the table has closed; a value refused keeps it open.
        if (answer != QMessageBox::Ignore)
            return;
    }
    draft->close();
    QDialog::reject();
}

bool DialogConfigure::mayLeave()
{
    if (!hasUnconfirmedEdits())
        return true;
    const auto answer = askAboutEdits(tr("不应用时它们被丢弃。"));
    if (answer == QMessageBox::Apply)
        return !isVisible(); // a value refused keeps the table open
    if (answer != QMessageBox::Ignore)
        return false;
    draft->close();
    hide();
    return true;
}

bool DialogConfigure::settleBeforeUse(const QString &action)
{
    if (!hasUnconfirmedEdits())
        return true;
    const auto answer = askAboutEdits(tr("不应用时%1只用已确定的值。").arg(action));
    if (answer == QMessageBox::Apply)
        return !isVisible();
    return answer == QMessageBox::Ignore;
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
    ui->pushButtonOK->click();
}
