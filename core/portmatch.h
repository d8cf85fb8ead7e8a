#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// Which serial ports a production station may write to: a pattern of names
// or an adapter model.
// - "vid:pid" in hex (0403:6001): the ports of USB adapters with that vendor
//   and product.
// - A pattern with a '/' (/dev/ttyUSB*, /dev/serial/by-id/*FTDI*, /tmp/st*):
//   the device paths it matches in the file system, as a shell expands it,
//   symbolic links included (pseudo-terminals, which the system's port list
//   leaves out, too). Only character devices count, and never /dev/ptmx.
// - Any other pattern (ttyUSB*, COM?, \\.\COM1?): the port names of the
//   system's list, or their device names (on Windows \\.\COM12).
// Patterns match as a shell matches file names, case and all: '*' any run of
// characters and '?' any one, never a '/'; [a-z] one of a set, [!0-9] one
// not in it; elsewhere than on Windows '\' takes the next character as it is.
// A device reached by several matching paths is taken once, by the first.
class PortMatch
{
    Q_DECLARE_TR_FUNCTIONS(PortMatch)
public:
    // False with a message when text is empty or a malformed vid:pid.
    bool parse(const QString &text, QString *error);
    QString text() const { return m_text; }
    bool isAdapter() const { return m_adapter; }
    // The matching ports present now, sorted.
    QStringList present() const;

    // Whether name matches the pattern.
    static bool matches(const QString &pattern, const QString &name,
                        bool escapes = BackslashEscapes);
    // The paths that a pattern of paths names now, sorted per folder;
    // missing folders name nothing.
    static QStringList expand(const QString &pattern);

#ifdef Q_OS_WIN
    static constexpr bool BackslashEscapes = false; // a backslash separates folders
#else
    static constexpr bool BackslashEscapes = true;
#endif

private:
    QStringList adapterPorts() const;
    QStringList pathPorts() const;
    QStringList namePorts() const;

    QString m_text;
    bool m_adapter = false;
    quint16 m_vendor = 0;
    quint16 m_product = 0;
};
