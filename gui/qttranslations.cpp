#include "qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

QTranslator *&installed()
{
    static QTranslator *translator = nullptr;
    return translator;
}

} // namespace

void installQtTranslations(int languageId)
{
    QTranslator *&current = installed();
    if (current) {
        QCoreApplication::removeTranslator(current);
        delete current;
        current = nullptr;
    }
    if (languageId != 2052)
        return;
    auto *translator = new QTranslator;
    if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::location(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
    current = translator;
}
