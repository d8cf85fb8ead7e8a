#pragma once

#include "dlgdescription.h"
#include "networkattribut.h"
#include "pindescriptions.h"
#include "projectdata.h"

#include <QDialog>
#include <QStringList>
#include <array>

namespace Ui {
class DialogConfigure;
}
class QTableWidget;
class CNumberDelegate;
class CRowTable;
class CSpiTable;
class CUsartTable;
class DialogWirelessModuleConfigure;

// The one parameter dialog: shows the table of whichever peripheral is
// launched, and on OK hands the table back as an information list (and the
// chosen chip-select pins to the drawing). Modeless and reused. The window
// takes the size its columns and rows need, never more than the screen it
// opens on offers; the rows scroll when they do not fit.
class DialogConfigure : public QDialog
{
    Q_OBJECT
public:
    explicit DialogConfigure(QWidget *parent = nullptr);
    ~DialogConfigure() override;

    // The table kind on show; DlgNone until the first launch.
    CPinDescriptions::DlgType type = CPinDescriptions::DlgNone;
    CPinDescriptions::DlgType dlgType() const { return type; }

    // Builds the table of `type` from the project's pins and stored lists and
    // shows the dialog. Does nothing when the project has no complete pin list.
    void launch(CPinDescriptions::DlgType type, const ProjectData &project);
    // The project changed while the table is on show (or the language did):
    // the table is built again, its rows following the pins, and what the
    // user entered in the rows that stay is kept.
    void followProject(const ProjectData &project);
    // Chooses a cell (0-based) and puts the keyboard on it.
    void showCell(int row, int column);
    // The current pins, for the chip-select candidates.
    void setPinLists(const QStringList &pinNames, const QStringList &pinFunctions, int pinCount);

    QTableWidget *table() const;
    CNetworkAttribut *networkAttribut() const { return network; }
    DialogWirelessModuleConfigure *wirelessModule() const { return wireless; }
    // True while the table on show holds edits not yet confirmed with OK.
    bool hasUnconfirmedEdits() const;
    // Another table is wanted: with unconfirmed edits, asks 应用 / 丢弃 /
    // 取消. True when the table may go (applied, or discarded).
    bool mayLeave();
    // The sub-information the dialog holds for the table on show.
    QStringList wirelessInformation() const { return wirelessList; }
    QStringList networkInformation() const;

public slots:
    void on_pushButtonOK_clicked();
    void on_pushButtonCancel_clicked();

    // Esc, the title bar or 取消: with unconfirmed edits, asks first.
    void reject() override;

protected:
    void changeEvent(QEvent *event) override;
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
    // Replaces the table by the one of `kind`; false when the project cannot
    // supply its pins.
    bool buildTable(CPinDescriptions::DlgType kind, const ProjectData &project,
                    bool hideFirst = true);
    // Widens the columns to their texts (the kind's widths are the least) and
    // sizes the window to the table, within the available screen area.
    void fitToContents(const QSize &leastSize);
    // Moves the window back inside the available area of its screen.
    void keepOnScreen();
    void resetTable();
    // The chip-select pins the cells show ("无" where none).
    QStringList chosenChipSelects() const;
    QStringList candidatesOf(CPinDescriptions::DlgType kind) const;
    // Checks the row table and hands its chip selects to the drawing; false
    // when a value is refused (the dialog stays open).
    bool finishRowTable();
    bool chipSelectsStillFree(const QStringList &chosen);
    // Says that a chip-select pin chosen here has another function now.
    void warnChipSelectTaken(const QString &pin);
    void openWirelessModule();
    void openNetworkAttribut(int film);

    Ui::DialogConfigure *ui;
    CDlgDescription text;
    QStringList shownChipSelects;
    std::array<QStringList, 3> filmLists;
    QStringList wirelessList;
    CNetworkAttribut *network;
    DialogWirelessModuleConfigure *wireless;
    CNumberDelegate *numberDelegate;
    CRowTable *rowTable = nullptr;
    CUsartTable *usartTable = nullptr;
    CSpiTable *spiTable = nullptr;
    QStringList currentPinNames;
    QStringList currentPinFunctions;
    // The project the table on show was built from.
    ProjectData shownProject;
    // What the table says when it shows the model unedited.
    QStringList unedited;
    QStringList currentInformation() const;
};
