#include "atelier/application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kelvane"));
    QApplication::setApplicationName(QStringLiteral("kelvane-atelier"));
    // Qt's own boxes (file choosers, buttons) in French when the translations are installed.
    QTranslator qt;
    if (qt.load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"), QStringLiteral("_"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qt);
    }
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    return kelvane::atelier::executerAvecServicesSysteme(QApplication::arguments().mid(1));
}
