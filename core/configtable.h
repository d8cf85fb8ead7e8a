#pragma once

#include "projectdata.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVector>

// The binary configuration table the controller reads: sixteen tagged
// sections in fixed order. The transfer form concatenates the sections; the
// file form writes each as a Qt data-stream byte array (32-bit big-endian
// length, then the bytes).
//
// A table is built whole or not at all: a value that cannot be encoded (a pin
// the chip's address map lacks, an option index outside its list, a number
// that does not fit its field, a malformed address) fails the build with a
// message naming the section, the row or key and the value. The build goes on
// past a refusal, so that every value the table cannot hold is known.
namespace ConfigTable {

// A value the table cannot hold.
struct Refusal
{
    int section = -1; // TableLayout::Section; -1 for the project as a whole
    int row = 0;      // the row of a row section (1-based); 0 for other values
    QString key;      // without the row number; empty for a section refused whole
    QString value;
    QString message; // the sentence naming the section, the row or key and the value
};

// Six bytes (port base address BE32, pin mask BE16), "0" gives six zero
// bytes; an empty array when the pin cannot be encoded on that chip.
QByteArray encodePin(const QString &chipModel, const QString &pinText);

// The section encoders: each returns the section's bytes with its tag. They
// read the project's information lists and chip model and change nothing.
bool encodeFsmcSection(const ProjectData &project, QByteArray *section, QString *error = nullptr);
bool encodeDiSection(const ProjectData &project, QByteArray *section, QString *error = nullptr);
bool encodeDoSection(const ProjectData &project, QByteArray *section, QString *error = nullptr);
bool encodeAiSection(const ProjectData &project, QByteArray *section, QString *error = nullptr);
bool encodeAoSection(const ProjectData &project, QByteArray *section, QString *error = nullptr);
bool encodeExitSection(const ProjectData &project, QByteArray *section, QString *error = nullptr);
// Serial port 1..6 with its eight wireless sockets.
bool encodeUsartSection(const ProjectData &project, int port, QByteArray *section,
                        QString *error = nullptr);
// SPI port 1..3 with its three films and their network blocks.
bool encodeSpiSection(const ProjectData &project, int port, QByteArray *section,
                      QString *error = nullptr);
bool encodeSysSection(const ProjectData &project, QByteArray *section, QString *error = nullptr);

// The sixteen sections of a project, each with its tag. Fails, with the
// message of the first refusal, when a field cannot be encoded; `refusals`
// then holds every refusal in table order (and is emptied on success).
bool buildSections(const ProjectData &project, QList<QByteArray> *sections,
                   QString *error = nullptr, QVector<Refusal> *refusals = nullptr);
// Transfer form of a project's table.
bool buildConfigurationTable(const ProjectData &project, QByteArray *table,
                             QString *error = nullptr, QVector<Refusal> *refusals = nullptr);
// File form of a list of sections.
QByteArray fileForm(const QList<QByteArray> &sections);
// Writes the file form through AtomicFile (whole or not at all); creates the
// folder when it is missing. False with a message when the table cannot be
// built or the file cannot be written.
bool writeTableFile(const ProjectData &project, const QString &filePath, QString *error = nullptr);
// Accepts either form and returns the transfer form; fails on anything else.
// The file form is sixteen blocks (BE32 length + bytes) that fill the data
// exactly and join into a well-formed transfer form.
bool toTransferForm(const QByteArray &data, QByteArray *transfer, QString *error = nullptr);

} // namespace ConfigTable
