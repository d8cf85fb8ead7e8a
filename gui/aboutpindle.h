#pragma once

#include <QWidget>

namespace Ui {
class CAboutPindle;
}

// The about box: logo, name, version, creation date and a short description.
class CAboutPindle : public QWidget
{
    Q_OBJECT
public:
    explicit CAboutPindle(QWidget *parent = nullptr);
    ~CAboutPindle() override;

private:
    Ui::CAboutPindle *ui;
};
