#pragma once

#include <QString>
#include <QtGlobal>

// What the tests ask of the system to set a scene up: a named pipe, a hard
// link, a signal to a program. On a system without them each says so
// (false), and the test that needs it is skipped.
namespace TestPlatform {

bool makePipe(const QString &path);
bool hardLink(const QString &existing, const QString &link);
// The number that tells files apart on their disk; 0 when missing.
quint64 fileId(const QString &path);
// Sends SIGINT, SIGTERM or SIGKILL to the process.
bool sendSignal(qint64 pid, int signal);
bool isRoot();

} // namespace TestPlatform
