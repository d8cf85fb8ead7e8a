#include "messages.h"

#include <QAbstractButton>

namespace Messages {

namespace {
Handler &handler()
{
    static Handler h;
    return h;
}
} // namespace

void setHandler(Handler h)
{
    handler() = std::move(h);
}

QMessageBox::StandardButton show(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                 const QString &text, QMessageBox::StandardButtons buttons)
{
    if (handler())
        return handler()(Request{icon, title, text, buttons, {}});
    QMessageBox box(icon, title, text, buttons, parent);
    return QMessageBox::StandardButton(box.exec());
}

void warning(QWidget *parent, const QString &title, const QString &text)
{
    show(parent, QMessageBox::Warning, title, text, QMessageBox::Ok);
}

QMessageBox::StandardButton question(QWidget *parent, const QString &title, const QString &text,
                                     QMessageBox::StandardButtons buttons,
                                     const QMap<QMessageBox::StandardButton, QString> &buttonTexts,
                                     QMessageBox::StandardButton defaultButton)
{
    if (handler())
        return handler()(
            Request{QMessageBox::Question, title, text, buttons, buttonTexts, defaultButton});
    QMessageBox box(QMessageBox::Question, title, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    for (auto it = buttonTexts.cbegin(); it != buttonTexts.cend(); ++it) {
        if (QAbstractButton *button = box.button(it.key()))
            button->setText(it.value());
    }
    return QMessageBox::StandardButton(box.exec());
}

} // namespace Messages
