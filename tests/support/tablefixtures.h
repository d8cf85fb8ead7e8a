#pragma once

#include "projectdata.h"

#include <QByteArray>
#include <QStringList>

// Information lists and whole projects for the configuration-table suites,
// built the way the parameter tables store them.
namespace TableFixtures {

// Alternating keys and values.
QStringList pairs(const QStringList &keys, const QStringList &values);

// A project on a chip in which every pin carries `background` except the
// listed (pin, function) ones.
ProjectData projectWith(const QString &chip, const QVector<QPair<QString, QString>> &functions,
                        const QString &background = QStringLiteral(" "));

// "40 01 08 00" -> the four bytes.
QByteArray hex(const char *spaced);

// A transfer-form table with the reserved bytes at the end of every network
// block of the configured SPI ports set to fill, as a controller may pad
// them; blocks counts the blocks changed.
QByteArray withReservedBytes(const QByteArray &table, char fill, int *blocks);

// One row of a row table: the row's keys prefixed with its number, with the
// given values in the table's key order.
QStringList row(CPinDescriptions::DlgType type, int number, const QStringList &values);
// A serial port's list: TX, RX, then the five option indexes.
QStringList usart(const QString &tx, const QString &rx, const QStringList &options);
// Eight sockets of (application index, address, port).
QStringList sockets(const QList<QStringList> &socketValues);
// An SPI port's list from its eighteen values.
QStringList spi(const QStringList &values);
// A film's six network values as the network dialog stores them.
QStringList network(int film, const QStringList &values);

// Gives a pin of the project the function text (the drawing's view).
void setFunction(ProjectData &project, const QString &pin, const QString &function);

// Sets a value of an alternating key/value list; false when the key is absent.
bool setValue(QStringList &list, const QString &key, const QString &value);
// Sets a value of the row of a pin in a row table; the row's number (1-based),
// 0 when the table has no row of that pin.
int setRowValue(ProjectData &project, CPinDescriptions::DlgType type, const QString &pin,
                const QString &key, const QString &value);
int rowsOf(const ProjectData &project, CPinDescriptions::DlgType type);
// A value of a row of a row table, by the row's number or its pin.
QString rowValue(const ProjectData &project, CPinDescriptions::DlgType type, int row,
                 const QString &key);
QString rowValue(const ProjectData &project, CPinDescriptions::DlgType type, const QString &pin,
                 const QString &key);

// An SPI port with its first pins drawn and the films' applications and chip
// selects as given; no other pin is used.
ProjectData spiProject(const QString &chip, int port, const QStringList &films);

// A project using every table, with pin functions matching the tables, for
// "STM32F103RE" (no external RAM) or "STM32F407ZG" (external RAM).
ProjectData fullyConfigured(const QString &chipModel);
// fullyConfigured() as the program saves it: every table derived from the
// drawing.
ProjectData saved(const QString &chipModel);

} // namespace TableFixtures
