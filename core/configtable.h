#pragma once

#include "projectdata.h"

#include <QByteArray>
#include <QString>

// The binary configuration table the controller reads: sixteen tagged
// sections in fixed order. The transfer form concatenates the sections; the
// file form writes each as a Qt data-stream byte array (32-bit big-endian
// length, then the bytes).
namespace ConfigTable {

// Six bytes (port base address BE32, pin mask BE16), "0" gives six zero
// bytes; an empty array when the pin cannot be encoded on that chip.
QByteArray encodePin(const QString &chipModel, const QString &pinText);

// The sixteen sections of a project, each with its tag. Fails, with a message
// naming the section, row and value, when a field cannot be encoded.
bool buildSections(const ProjectData &project, QList<QByteArray> *sections,
                   QString *error = nullptr);
// Transfer form of a project's table.
bool buildConfigurationTable(const ProjectData &project, QByteArray *table,
                             QString *error = nullptr);
// File form of a list of sections.
QByteArray fileForm(const QList<QByteArray> &sections);
// Writes the file form atomically (whole or not at all).
bool writeTableFile(const ProjectData &project, const QString &filePath,
                    QString *error = nullptr);
// Accepts either form and returns the transfer form; fails on anything else.
bool toTransferForm(const QByteArray &data, QByteArray *transfer, QString *error = nullptr);

} // namespace ConfigTable
