#include "messages.h"

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
        return handler()(Request{icon, title, text, buttons});
    QMessageBox box(icon, title, text, buttons, parent);
    return QMessageBox::StandardButton(box.exec());
}

void warning(QWidget *parent, const QString &title, const QString &text)
{
    show(parent, QMessageBox::Warning, title, text, QMessageBox::Ok);
}

QMessageBox::StandardButton question(QWidget *parent, const QString &title, const QString &text,
                                     QMessageBox::StandardButtons buttons)
{
    return show(parent, QMessageBox::Question, title, text, buttons);
}

} // namespace Messages
