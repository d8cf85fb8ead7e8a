#include "linklog.h"

Q_LOGGING_CATEGORY(lcLink, "mirel.link", QtInfoMsg)

void LinkLog::setEnabled(bool on)
{
    const_cast<QLoggingCategory &>(lcLink()).setEnabled(QtDebugMsg, on);
}

bool LinkLog::isEnabled()
{
    return lcLink().isDebugEnabled();
}
