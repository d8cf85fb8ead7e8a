#pragma once

#include "dlgdescription.h"
#include "networkattribut.h"
#include "pindescriptions.h"
#include "projectdata.h"

#include <QDialog>
#include <QMessageBox>
#include <QStringList>

namespace Ui {
class DialogConfigure;
}
class QTableWidget;
class CNumberDelegate;
class CTableView;
class CellFocus;
class DialogWirelessModuleConfigure;
class TableDraft;

// The one parameter window: shows the table the draft edits, whichever
// peripheral was launched, and hands what the user chooses or types to the
// draft, which keeps it until it is confirmed or given up. On OK the table
// goes back as an information list (and the chosen chip-select pins to the
// drawing). Modeless and reused. The window takes the size its columns and
// rows need, never more than the screen it opens on offers; the rows scroll
// when they do not fit.
class DialogConfigure : public QDialog
{
    Q_OBJECT
public:
    // The draft belongs to the project; it must outlive the window.
    explicit DialogConfigure(TableDraft *draft, QWidget *parent = nullptr);
    ~DialogConfigure() override;

    // The table kind on show; DlgNone until the first launch.
    CPinDescriptions::DlgType type = CPinDescriptions::DlgNone;
    CPinDescriptions::DlgType dlgType() const { return type; }

    // Shows the table of `type` for the project. Does nothing when the
    // project has no complete pin list.
    void launch(CPinDescriptions::DlgType type, const ProjectData &project);
    // Chooses a cell (0-based) and puts the keyboard on it.
    void showCell(int row, int column);
    // Opens the settings window of a row (a film's network, a port's
    // sockets) with the keyboard on a field: a SettingsRules::NetworkField,
    // or a SocketField of socket `unit`.
    void showSettings(int row, int unit, int field);

    QTableWidget *table() const;
    CNetworkAttribut *networkAttribut() const { return network; }
    DialogWirelessModuleConfigure *wirelessModule() const { return wireless; }
    // While another tab of the main window shows, the table steps aside: it
    // and its settings window are hidden and stay open, with what was typed
    // in them. Stepping back shows them as they were; a question about the
    // typed values brings the table back first.
    void setAside(bool aside);
    bool isAside() const { return aside; }
    // True while the table holds values typed and not yet confirmed.
    bool hasUnconfirmedEdits() const;
    // Another table is wanted: with unconfirmed edits, asks 应用 / 丢弃 /
    // 取消. True when the table may go (applied, or discarded).
    bool mayLeave();
    // The project is about to be used as it is stored (a download, an
    // export): with unconfirmed edits, asks whether to apply them first.
    // False when the user cancels or a value is refused.
    bool settleBeforeUse(const QString &action);
    // The sub-information of the table on show, as confirming would store it.
    QStringList wirelessInformation() const;
    QStringList networkInformation() const;

public slots:
    void on_pushButtonOK_clicked();
    void on_pushButtonCancel_clicked();

    // Esc, the title bar or 取消: with unconfirmed edits, asks first.
    void reject() override;

protected:
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    // Enter in a cell commits the edit; anywhere else it is OK.
    void keyPressEvent(QKeyEvent *event) override;

signals:
    void updataPinDesINI(CPinDescriptions::DlgType type, QStringList information,
                         QStringList subInformationOfNetworkAttribut,
                         QStringList subInformationOfWirelessModule);
    void
    UpdataSPISliceSelectPinsOnPushbuttonOKSignal(CPinDescriptions::DlgType type,
                                                 QStringList sliceSelectPinsNameInClickOK,
                                                 QStringList sliceSelectPinsNameInShowSPIWindow);
    void UpdataDISliceSelectPinsOnPushbuttonOKSignal(CPinDescriptions::DlgType type,
                                                     QStringList sliceSelectPinsNameInClickOK,
                                                     QStringList sliceSelectPinsNameInShowDIWindow,
                                                     QStringList pinsName);
    void UpdataDOSliceSelectPinsOnPushbuttonOKSignal(CPinDescriptions::DlgType type,
                                                     QStringList sliceSelectPinsNameInClickOK,
                                                     QStringList sliceSelectPinsNameInShowDOWindow,
                                                     QStringList pinsName);
    void UpdataAISliceSelectPinsOnPushbuttonOKSignal(CPinDescriptions::DlgType type,
                                                     QStringList sliceSelectPinsNameInClickOK,
                                                     QStringList sliceSelectPinsNameInShowAIWindow,
                                                     QStringList pinsName);
    void UpdataAOSliceSelectPinsOnPushbuttonOKSignal(CPinDescriptions::DlgType type,
                                                     QStringList sliceSelectPinsNameInClickOK,
                                                     QStringList sliceSelectPinsNameInShowAOWindow,
                                                     QStringList pinsName);

private:
    // Shows the draft's table; the window is fitted when the cells were made anew.
    void showDraft();
    // Widens the columns to their texts (the kind's widths are the least) and
    // sizes the window to the table, within the available screen area.
    void fitToContents(const QSize &leastSize);
    // Refuses the first value that cannot be confirmed, showing its cell;
    // board tables then offer to move overlapping terminal ranges.
    bool checkBeforeConfirming();
    void emitChipSelects();
    void openSettings(int row);
    // The one question about unconfirmed edits: 应用 (confirms the table),
    // 不应用 or 取消 (the default). withoutThem says what 不应用 means.
    QMessageBox::StandardButton askAboutEdits(const QString &withoutThem);
    void closeSettingsWindows();

    Ui::DialogConfigure *ui;
    CDlgDescription text;
    TableDraft *draft;
    CNetworkAttribut *network;
    DialogWirelessModuleConfigure *wireless;
    CNumberDelegate *numberDelegate;
    CTableView *view;
    CellFocus *cellFocus;
    bool aside = false;
    QWidget *asideSettings = nullptr; // the settings window hidden with it
};
