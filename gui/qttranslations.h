#pragma once

// Qt's own texts (standard buttons, file dialogs, context menus) in the
// program's language: 2052, or 0 (never chosen, so the program's own
// Chinese), loads Qt's Chinese catalogue from Qt's translations folder; 1033
// (and any other id) leaves Qt's English. Calling it
// again replaces what an earlier call loaded. Without Qt's catalogue (the
// package qttranslations5-l10n) Qt's texts stay English.
void installQtTranslations(int languageId);
