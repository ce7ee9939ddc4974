#include "support/outil.h"

#include <QProcess>

namespace kelvane::support {

SortieOutil lancerOutil(const QString& programme, const QStringList& arguments) {
    QProcess p;
    p.start(programme, arguments);
    SortieOutil s;
    if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit) {
        s.code = p.exitCode();
    }
    s.sortie = QString::fromUtf8(p.readAllStandardOutput());
    QStringList erreurs = QString::fromUtf8(p.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    erreurs.removeIf([](const QString& l) { return l.startsWith(QLatin1String("QStandardPaths:")); });
    s.erreurs = erreurs.join(QLatin1Char('\n'));
    return s;
}

} // namespace kelvane::support
