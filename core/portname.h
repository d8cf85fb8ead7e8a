#pragma once

#include <QString>

// Serial ports as users type them: on Windows a port name (COM3) or its
// device name (\\.\COM12), elsewhere a device path (/dev/ttyUSB0, or one
// relative to the working folder) or a bare name the system knows
// (ttyUSB0).
namespace PortName {

enum Style
{
    Unix,
    Windows
};

#ifdef Q_OS_WIN
constexpr Style Native = Windows;
#else
constexpr Style Native = Unix;
#endif

// What the serial port is opened on for a name as typed: trimmed; a path
// with a slash made absolute; on Windows com3 as COM3 and \\.\COM12 (or
// //./COM12) as it is.
QString toOpen(const QString &typed, Style style = Native);

// One text for one port however it is named, to tell two names of one port
// apart: on Windows COM12 for \\.\COM12, elsewhere the device a path leads
// to through links.
QString identity(const QString &typed, Style style = Native);

// A name to show as an example in a port box.
QString example(Style style = Native);
// What a port box holding no name says it takes, with the example.
QString hint(Style style = Native);

} // namespace PortName
