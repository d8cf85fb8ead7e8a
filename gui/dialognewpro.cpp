#include "dialognewpro.h"

#include "ui_dialognewpro.h"

#include <QEvent>

DialogNewPro::DialogNewPro(QWidget *parent) : QDialog(parent), ui(new Ui::DialogNewPro)
{
    ui->setupUi(this);
    setWindowTitle(descriptions.titleNewProject);
    connect(ui->comboBoxChips, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &DialogNewPro::chipChanged);
    connect(ui->checkBoxSelectRAM, &QCheckBox::stateChanged, this,
            [this](int state) { isSelectRAM = state != Qt::Unchecked; });
    chipChanged(ui->comboBoxChips->currentIndex());
}

DialogNewPro::~DialogNewPro()
{
    delete ui;
}

void DialogNewPro::changeEvent(QEvent *event)
{
    // The dialog is made before the start-up language is loaded.
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        descriptions.retranslate();
        setWindowTitle(descriptions.titleNewProject);
    }
    QDialog::changeEvent(event);
}

void DialogNewPro::chipChanged(int index)
{
    // External RAM sits on the memory bus of the STM32F407ZG only.
    const bool ramPossible = index == 1;
    ui->checkBoxSelectRAM->setEnabled(ramPossible);
    if (!ramPossible)
        ui->checkBoxSelectRAM->setChecked(false);
}

void DialogNewPro::on_pushButton_clicked()
{
    emit NewProject(ui->comboBoxChips->currentText(), isSelectRAM);
    close();
}

void DialogNewPro::on_pushButton_2_clicked()
{
    close();
}
