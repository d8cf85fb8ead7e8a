#include "linktrace.h"

#include "linklog.h"

#include <cstring>

LinkTrace *LinkTrace::s_active = nullptr;
QtMessageHandler LinkTrace::s_previous = nullptr;

LinkTrace::LinkTrace(QObject *parent) : QObject(parent) {}

LinkTrace::~LinkTrace()
{
    setEnabled(false);
}

void LinkTrace::setEnabled(bool on)
{
    if (on == isEnabled())
        return;
    if (on) {
        if (s_active)
            s_active->setEnabled(false);
        s_active = this;
        s_previous = qInstallMessageHandler(&LinkTrace::handle);
    } else {
        qInstallMessageHandler(s_previous);
        s_previous = nullptr;
        s_active = nullptr;
    }
    LinkLog::setEnabled(on);
}

void LinkTrace::handle(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (s_active && context.category && std::strcmp(context.category, lcLink().categoryName()) == 0)
        emit s_active->line(text);
    if (s_previous)
        s_previous(type, context, text);
}
