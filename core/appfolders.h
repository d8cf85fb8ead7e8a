#pragma once

#include <QString>

// Where the program keeps its files. A program run from its build folder or
// from a portable copy keeps them beside itself, as it always has: the
// start-up settings, config/ and bin/<chip>/. An installed program (its
// translations under ../share/mirel) or one whose folder cannot be written
// keeps them in the user's own locations, and never writes beside itself.
namespace AppFolders {

// True when the files live beside the program.
bool besideProgram();
// The folder holding config/ (projects read from a controller) and bin/<chip>/
// (the configuration table): the program's folder, or the user's application
// data folder (~/.local/share/mirel).
QString dataDirectory();
// The folder of the start-up settings file: the program's folder, or the
// user's configuration folder (~/.config/mirel).
QString settingsDirectory();
// The folder of the translation files: beside the program, or
// ../share/mirel/translations from it.
QString translationsDirectory();
// The folder of the user guide (guide_zh.md, guide_en.md): doc/ beside the
// program, or ../share/mirel/doc from it, as the translations are found.
QString guideDirectory();

} // namespace AppFolders
