#include "qt/shell/AppSetup.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

namespace zentabo {

bool SetUpApplication(QApplication& app) {
    // Only the name, never a display name: Qt appends a set display name to every
    // window title, and the captions must stand exactly as the program writes them.
    QApplication::setApplicationName(QStringLiteral("Zentabo"));
    // Lets the desktop match the windows to the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(ZENTABO_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(ZENTABO_APP_ID)));
    // The user interface is Japanese whatever the locale, Qt's own dialogs too.
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QApplication::installTranslator(translator);
    return true;
}

}  // namespace zentabo
