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
// the values go back to the caller through a signal.
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

private:
    Ui::DialogWirelessModuleConfigure *ui;
    CDlgDescription text;
    QVector<QComboBox *> applications;
    QVector<QLineEdit *> addresses;
    QVector<QLineEdit *> ports;
};
