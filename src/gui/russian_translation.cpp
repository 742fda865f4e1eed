#include "gui/russian_translation.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kestrova {

bool InstallRussianTranslation(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ru"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace kestrova
