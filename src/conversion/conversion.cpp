#include "conversion/conversion.h"

#include <QDir>
#include <QFileInfo>

namespace kelvane::conversion {

QString nomCible(const QString& source) {
    return QFileInfo(source).completeBaseName() + QStringLiteral(".mdb");
}

CompteRendu convertir(const QString& source, const QString& dossier, const Limites& limites) {
    Q_UNUSED(dossier);
    Q_UNUSED(limites);
    CompteRendu compte;
    compte.message = QStringLiteral("%1 : refusé, la lecture des fichiers Access n'est pas disponible")
                         .arg(QFileInfo(source).fileName());
    return compte;
}

} // namespace kelvane::conversion
