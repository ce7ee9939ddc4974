#include "banques/importation.h"

#include "banques/aiken.h"
#include "banques/gift.h"
#include "banques/moodle.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

namespace kelvane::banques {

Format formatBanque(const QString& nomFichier, const QByteArray& donnees) {
    const QString extension = QFileInfo(nomFichier).suffix().toLower();
    QByteArrayView debut(donnees);
    if (debut.startsWith("\xEF\xBB\xBF")) {
        debut = debut.sliced(3);
    }
    if (extension == u"xml") {
        return Format::Moodle;
    }
    if (extension == u"gift") {
        return Format::Gift;
    }
    if (debut.trimmed().startsWith('<')) {
        return Format::Moodle;
    }
    return donnees.contains('{') ? Format::Gift : Format::Aiken;
}

ResultatImport importer(const QByteArray& donnees, Format format, const QString& nomFichier) {
    switch (format) {
    case Format::Moodle: {
        QBuffer tampon;
        tampon.setData(donnees);
        tampon.open(QIODevice::ReadOnly);
        return importerMoodle(tampon, nomFichier);
    }
    case Format::Gift:
        return importerGift(donnees, nomFichier);
    case Format::Aiken:
        break;
    }
    return importerAiken(donnees, nomFichier);
}

ResultatImport importer(const QString& chemin) {
    const QString nom = QFileInfo(chemin).fileName();
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly)) {
        ResultatImport echec;
        echec.erreur = QStringLiteral("%1 : impossible de lire le fichier (%2)").arg(nom, fichier.errorString());
        return echec;
    }
    if (formatBanque(nom, fichier.peek(64)) == Format::Moodle) {
        return importerMoodle(fichier, nom);
    }
    const QByteArray donnees = fichier.readAll();
    return importer(donnees, formatBanque(nom, donnees), nom);
}

} // namespace kelvane::banques
