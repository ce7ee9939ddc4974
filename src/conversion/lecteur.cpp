#include "conversion/lecteur.h"

#include "conversion/protocole.h"
#include "platform/system.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>

namespace kelvane::conversion {

namespace {

constexpr qsizetype kMaxErreurs = 64 * 1024; // the tail of the reader's error output that is kept
const QLatin1StringView kPrefixeLecteur("kelvane-lecteur-access : ");

QString nomProgramme() {
    return platform::executableName(QStringLiteral("kelvane-lecteur-access"));
}

// The reader's own reason: its last line that starts with its name (libmdb writes its warnings there too).
QString raisonDuLecteur(const QByteArray& erreurs) {
    const QStringList lignes = QString::fromUtf8(erreurs).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (auto it = lignes.crbegin(); it != lignes.crend(); ++it) {
        if (it->startsWith(kPrefixeLecteur)) {
            return it->mid(kPrefixeLecteur.size()).trimmed();
        }
    }
    return {};
}

QString secondes(int ms) {
    return QString::number(ms / 1000.0, 'g', 3).replace(QLatin1Char('.'), QLatin1Char(','));
}

} // namespace

QString lecteurParDefaut() {
    if (QCoreApplication::instance() != nullptr) {
        const QString voisin = QDir(QCoreApplication::applicationDirPath()).filePath(nomProgramme());
        if (QFileInfo(voisin).isExecutable()) {
            return voisin;
        }
    }
#ifdef KELVANE_LECTEUR_ACCESS_CONSTRUIT
    if (QFileInfo(QStringLiteral(KELVANE_LECTEUR_ACCESS_CONSTRUIT)).isExecutable()) {
        return QStringLiteral(KELVANE_LECTEUR_ACCESS_CONSTRUIT);
    }
#endif
    return nomProgramme(); // searched in PATH
}

Lecture lireAvecLecteur(const QString& source, const Limites& limites) {
    Lecture lecture;
    const QString programme = limites.lecteur.isEmpty() ? lecteurParDefaut() : limites.lecteur;
    QProcess processus;
    processus.setProgram(programme);
    processus.setArguments({QFileInfo(source).absoluteFilePath()});
    processus.setStandardInputFile(QProcess::nullDevice());
    platform::ChildLimits bornes(processus, limites.memoireOctets);

    const QDeadlineTimer echeance(limites.delaiMs);
    processus.start();
    if (!processus.waitForStarted(qMax(limites.delaiMs, 1000))) {
        lecture.raison = QStringLiteral("le lecteur de fichiers Access « %1 » ne démarre pas : %2")
                             .arg(QDir::toNativeSeparators(programme), processus.errorString());
        bornes.kill();
        return lecture;
    }
    bornes.started();

    QByteArray erreurs;
    bool tropLong = false;
    bool tropGros = false;
    while (processus.state() != QProcess::NotRunning) {
        processus.waitForReadyRead(
            echeance.isForever() ? 100 : static_cast<int>(std::clamp<qint64>(echeance.remainingTime(), 1, 100)));
        lecture.vidage += processus.readAllStandardOutput();
        erreurs += processus.readAllStandardError();
        if (erreurs.size() > kMaxErreurs) {
            erreurs = erreurs.right(kMaxErreurs);
        }
        if (lecture.vidage.size() > protocole::kMaxOctetsVidage) {
            tropGros = true;
            bornes.kill();
        } else if (echeance.hasExpired() && processus.state() != QProcess::NotRunning) {
            tropLong = true;
            bornes.kill();
        }
    }
    lecture.vidage += processus.readAllStandardOutput();
    erreurs += processus.readAllStandardError();

    if (tropLong) {
        lecture.raison =
            QStringLiteral("lecture arrêtée au bout de %1 s : fichier endommagé ?").arg(secondes(limites.delaiMs));
    } else if (tropGros || lecture.vidage.size() > protocole::kMaxOctetsVidage) {
        lecture.raison = QStringLiteral("plus de %1 Mo de données").arg(protocole::kMaxOctetsVidage / (1024 * 1024));
    } else if (processus.exitStatus() == QProcess::CrashExit) {
        lecture.raison = QStringLiteral("lecture interrompue : fichier endommagé ?");
    } else if (processus.exitCode() != 0) {
        const QString raison = raisonDuLecteur(erreurs);
        lecture.raison =
            raison.isEmpty()
                ? QStringLiteral("lecture interrompue (code %1) : fichier endommagé ?").arg(processus.exitCode())
                : raison;
    } else {
        lecture.reussie = true;
        return lecture;
    }
    lecture.vidage.clear();
    return lecture;
}

} // namespace kelvane::conversion
