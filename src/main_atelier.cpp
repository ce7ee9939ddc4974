#include "atelier/application.h"
#include "desktop/presentation.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kelvane"));
    QApplication::setApplicationName(QStringLiteral("kelvane-atelier"));
    const kelvane::desktop::Presentation presentation(QStringLiteral("kelvane-atelier"));
    return kelvane::atelier::executerAvecServicesSysteme(QApplication::arguments().mid(1));
}
