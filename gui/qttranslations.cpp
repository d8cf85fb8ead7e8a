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
    // Chinese is the program's own language: chosen (2052) or never changed (0).
    if (languageId != 2052 && languageId != 0)
        return;
    auto *translator = new QTranslator;
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    const QString folder = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
    if (!translator->load(QStringLiteral("qtbase_zh_CN"), folder)) {
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
    current = translator;
}
