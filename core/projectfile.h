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
// section of that name whole, and marks them: [CHIP] gets markKey(), the
// number of keys each section holds ("AI:8 CHIP:1 DESC:144 ... total:435",
// sections without keys left out). A peer's writer clears [CHIP] and so drops
// the mark of a file it saves.
void store(const ProjectData &project, QSettings *settings);

// The key of the mark in [CHIP].
QString markKey();

// Reads a project file. Fails with a message naming the file when it is
// missing, not a file, unreadable, or its chip model is not a known one, and
// when it is cut short: a line that is not a section header, a key=value
// pair, a comment or blank; a row table's rows without their Count, or rows
// beyond it (the message names the section and the key). A section with
// neither rows nor Count has no rows.
// The pin functions come from DESC (" " where absent); the table lists are
// built from the keys each table expects.
// A file with a mark (see store) is also refused when a section holds fewer
// keys than the mark promises, or the mark itself is damaged: the file was
// cut short. The message names the file and the first section that falls
// short, in the order of the file. Neither the order of sections and keys nor
// the values count; a file without a mark is read as it is, absent keys empty.
// A marked file whose last line lacks its line end was cut inside that line
// and is refused in the same way.
// notes gets a line for each key that a section gives more than once (the
// last value is taken); messages quote at most 80 characters of a line.
bool read(const QString &filePath, ProjectData *project, QString *error = nullptr,
          QStringList *notes = nullptr);

// As read, but a marked file that falls short of its mark is read all the
// same, as it would be without its mark; *cut then holds the message read
// fails with (emptied otherwise). Every other refusal of read stays.
bool readEvenIfCut(const QString &filePath, ProjectData *project, QString *cut,
                   QString *error = nullptr, QStringList *notes = nullptr);

// The section name of a table kind (DI, DO, AI, AO, EXIT, USART1..6, SPI1..3,
// SYS); empty for DlgNone.
QString sectionOf(CPinDescriptions::DlgType type);

} // namespace ProjectFile
