#include "app/application.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    return kelvane::app::executerAvecServicesSysteme(QApplication::arguments().mid(1));
}
