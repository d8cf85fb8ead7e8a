#pragma once

#include <QLoggingCategory>

// The frames on the serial link, in hex with their direction and time
// ("mirel.link", debug level, off unless turned on: mirel-cli --debug, the
// firmware tab's option, or QT_LOGGING_RULES).
Q_DECLARE_LOGGING_CATEGORY(lcLink)

namespace LinkLog {
// Turns the frame log on or off.
void setEnabled(bool on);
bool isEnabled();
} // namespace LinkLog
