#include "app/application.h"
#include "desktop/presentation.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    const kelvane::desktop::Presentation presentation(QStringLiteral("kelvane"));
    return kelvane::app::executerAvecServicesSysteme(QApplication::arguments().mid(1));
}
