#pragma once

#include <QWidget>

namespace Ui {
class CAboutPindle;
}

// The about box: logo, name, version, creation date and a short description.
// Its layout follows the texts of the language on show.
class CAboutPindle : public QWidget
{
    Q_OBJECT
public:
    explicit CAboutPindle(QWidget *parent = nullptr);
    ~CAboutPindle() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    Ui::CAboutPindle *ui;
};
