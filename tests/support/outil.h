#pragma once

#include <QString>
#include <QStringList>

namespace kelvane::support {

struct SortieOutil {
    int code = -1; // -1 when the program did not end by itself within a minute
    QString sortie;
    QString erreurs; // without Qt's own notice about a Gui application's runtime folder
};

// Runs a command-line program of the project (the path a test's build gives it) and waits for its end.
SortieOutil lancerOutil(const QString& programme, const QStringList& arguments);

} // namespace kelvane::support
