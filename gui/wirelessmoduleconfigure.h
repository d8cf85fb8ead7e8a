#pragma once

#include "dlgdescription.h"
#include "settingsrules.h"

#include <QDialog>
#include <QStringList>
#include <QVector>

namespace Ui {
class DialogWirelessModuleConfigure;
}
class QComboBox;
class QLineEdit;

// The eight sockets of a wireless modem on a serial port: per socket its
// application, remote address and port. One dialog is reused for every port.
// Every edit is announced at once (the table's draft takes the sockets as
// they stand); OK hands them back through a signal and refuses what the
// socket rules refuse, naming the socket and the field. 取消, Esc and the
// close control announce that the edits made since it opened are given up.
class DialogWirelessModuleConfigure : public QDialog
{
    Q_OBJECT
public:
    static constexpr int socketCount = 8;
    static constexpr int informationSize = 48;

    explicit DialogWirelessModuleConfigure(QWidget *parent = nullptr);
    ~DialogWirelessModuleConfigure() override;

    // Applies a stored list of exactly 48 strings; any other list is ignored.
    void fillFromList(const QStringList &information);
    QStringList information() const;
    // Puts the keyboard on a field of socket 1..8.
    void focusField(int socket, SettingsRules::SocketField field);

signals:
    void UpdateWirelessModuleSignal(QStringList information);
    // A socket's field changed: information() holds it.
    void fieldsEdited();
    void cancelled();

public slots:
    void on_pushButtonSure_clicked();
    void on_pushButtonCancel_clicked();
    void reject() override;

protected:
    void changeEvent(QEvent *event) override;
    // Opens whole on its screen, or as large as the screen allows.
    void showEvent(QShowEvent *event) override;

private:
    // What is wrong with the address or port of socket n (0-based); empty
    // when it is fine: an error of the socket rules always, a warning when
    // the user typed the value.
    QString problemOf(int n, SettingsRules::SocketField field) const;
    QString addressProblem(int n) const;
    QString portProblem(int n) const;
    void fillApplications();

    Ui::DialogWirelessModuleConfigure *ui;
    CDlgDescription text;
    QVector<QComboBox *> applications;
    QVector<QLineEdit *> addresses;
    QVector<QLineEdit *> ports;
    bool placed = false; // sized to its screen at its first showing
};
