// kelvane-outil: the teachers' tool that builds the files of an application folder from text, and gives a test's
// text source back (verbs in commandes.h).

#include "commandes.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    return kelvane::mktest::executer(QCoreApplication::arguments().mid(1), QStringLiteral("kelvane-outil"));
}
