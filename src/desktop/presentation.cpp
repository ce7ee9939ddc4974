#include "desktop/presentation.h"

#include "kelvaneversion.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>

namespace kelvane::desktop {

Presentation::Presentation(const QString& entreeBureau) {
    QApplication::setApplicationVersion(QString::fromLatin1(kVersion));
    QApplication::setDesktopFileName(entreeBureau);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/kelvane/kelvane.png")));
    const QLocale francais(QLocale::French, QLocale::France);
    QLocale::setDefault(francais);
    if (qt_.load(francais, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        traductionInstallee_ = QApplication::installTranslator(&qt_);
    }
}

Presentation::~Presentation() {
    if (traductionInstallee_) {
        QApplication::removeTranslator(&qt_);
    }
}

} // namespace kelvane::desktop
