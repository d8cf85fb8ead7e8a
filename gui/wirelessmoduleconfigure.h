#pragma once

#include "dlgdescription.h"

#include <QDialog>
#include <QStringList>
#include <QVector>

namespace Ui {
class DialogWirelessModuleConfigure;
}
class QComboBox;
class QLineEdit;

// The eight sockets of a wireless modem on a serial port: per socket its
// application, remote address and port. One dialog is reused for every port;
// the values go back to the caller through a signal. OK refuses an address
// or port the table cannot take, naming the socket and the field.
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

signals:
    void UpdateWirelessModuleSignal(QStringList information);

public slots:
    void on_pushButtonSure_clicked();
    void on_pushButtonCancel_clicked();

protected:
    void changeEvent(QEvent *event) override;
    // Opens whole on its screen, or as large as the screen allows.
    void showEvent(QShowEvent *event) override;

private:
    // What is wrong with the address or port of socket n (0-based); empty
    // when the table can take it. A value the user typed must be a complete
    // address or a port 0-65535; a value restored unchanged only has to be
    // one the table can encode.
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
