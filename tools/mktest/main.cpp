// kelvane-mktest: the former name of kelvane-outil, kept for the scripts that call it (same verbs).

#include "commandes.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    return kelvane::mktest::executer(QCoreApplication::arguments().mid(1), QStringLiteral("kelvane-mktest"));
}
