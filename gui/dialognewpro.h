#pragma once

#include "dlgdescription.h"

#include <QDialog>

namespace Ui {
class DialogNewPro;
}

// Asks for the chip model of a new project and whether it uses external RAM
// (only the STM32F407ZG can).
class DialogNewPro : public QDialog
{
    Q_OBJECT
public:
    explicit DialogNewPro(QWidget *parent = nullptr);
    ~DialogNewPro() override;

    bool isSelectRAM = false;

signals:
    void NewProject(QString chipName, bool isSelectRAM);

protected:
    void changeEvent(QEvent *event) override;

private slots:
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();

private:
    void chipChanged(int index);

    Ui::DialogNewPro *ui;
    CDlgDescription descriptions;
};
