#pragma once

#include "projectdata.h"

#include <QSettings>
#include <QString>

// Reading and writing the .cpro project file (Qt INI, UTF-8 codec).
namespace ProjectFile {

// Writes every section of the project to filePath (through IniFile::update).
// The file on disk is either the old one or the complete new one. Sections of
// an existing file that the project does not produce are kept; a link is
// followed, the file it points to written. Returns false with a message on
// failure: no name, a folder or anything else than a file at the path, a
// folder that cannot be made, a full disk.
bool write(const ProjectData &project, const QString &filePath, QString *error = nullptr);

// Puts every section the project produces into settings, each replacing the
// section of that name whole.
void store(const ProjectData &project, QSettings *settings);

// Reads a project file. Fails with a message naming the file when it is
// missing, not a file, unreadable, or its chip model is not a known one, and
// when it is cut short: a line that is not a section header, a key=value
// pair, a comment or blank; a row table's rows without their Count, or rows
// beyond it (the message names the section and the key). A section with
// neither rows nor Count has no rows.
// The pin functions come from DESC (" " where absent); the table lists are
// built from the keys each table expects.
bool read(const QString &filePath, ProjectData *project, QString *error = nullptr);

// The section name of a table kind (DI, DO, AI, AO, EXIT, USART1..6, SPI1..3,
// SYS); empty for DlgNone.
QString sectionOf(CPinDescriptions::DlgType type);

} // namespace ProjectFile
