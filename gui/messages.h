#pragma once

#include <QMap>
#include <QMessageBox>
#include <functional>

// Every message box of the program goes through here, so that tests can
// answer them instead of a person (a modal box would block a test run).
namespace Messages {

struct Request
{
    QMessageBox::Icon icon;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    // Buttons whose words say what they do, instead of the standard ones.
    QMap<QMessageBox::StandardButton, QString> buttonTexts;
    // The button Enter presses; NoButton leaves the choice to the style.
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// When set, called instead of showing a box; returns the button "pressed".
using Handler = std::function<QMessageBox::StandardButton(const Request &)>;
void setHandler(Handler handler);

QMessageBox::StandardButton show(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                 const QString &text,
                                 QMessageBox::StandardButtons buttons = QMessageBox::Ok);
void warning(QWidget *parent, const QString &title, const QString &text);
QMessageBox::StandardButton
question(QWidget *parent, const QString &title, const QString &text,
         QMessageBox::StandardButtons buttons,
         const QMap<QMessageBox::StandardButton, QString> &buttonTexts = {},
         QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

} // namespace Messages
