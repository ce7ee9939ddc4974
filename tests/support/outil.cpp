#include "support/outil.h"

#include <QProcess>

using namespace Qt::StringLiterals;

namespace kelvane::support {

SortieOutil lancerOutil(const QString& programme, const QStringList& arguments) {
    QProcess p;
    p.start(programme, arguments);
    SortieOutil s;
    if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit) {
        s.code = p.exitCode();
    }
    // Windows' C library writes the ends of lines as CR LF.
    const auto texte = [](const QByteArray& octets) { return QString::fromUtf8(octets).replace(u"\r\n"_s, u"\n"_s); };
    s.sortie = texte(p.readAllStandardOutput());
    QStringList erreurs = texte(p.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    erreurs.removeIf([](const QString& l) { return l.startsWith(QLatin1String("QStandardPaths:")); });
    s.erreurs = erreurs.join(QLatin1Char('\n'));
    return s;
}

} // namespace kelvane::support
