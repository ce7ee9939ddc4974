#include "demarrage/dossierdepart.h"

#include "data/classeii.h"
#include "data/format.h"
#include "demarrage/copiedossier.h"
#include "platform/error.h"
#include "platform/nativepath.h"
#include "platform/services/messages.h"
#include "platform/system.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace kelvane::demarrage {

using data::kFichierParametres;
using platform::nativePath;

namespace {

bool estAppli(const QString& dossier) {
    return QFileInfo(QDir(dossier).filePath(kFichierParametres)).isFile();
}

QString commande(Programme programme) {
    return programme == Programme::Eleve ? QStringLiteral("kelvane") : QStringLiteral("kelvane-atelier");
}

// What the user can do about a folder that cannot be used, by where it came from.
QString conseil(const Depart& d, const Environnement& e, Programme programme) {
    switch (d.origine) {
    case Origine::FichierEcole:
        return QStringLiteral("Ce dossier est celui de la classe, désigné par le fichier « %1 ». Vérifiez que le "
                              "partage réseau est bien connecté, ou demandez à l'administrateur de corriger ce "
                              "fichier.")
            .arg(nativePath(e.fichierEcole));
    case Origine::Maison:
        return QStringLiteral("Ce dossier est le dossier Kelvane de votre dossier personnel. Renommez-le : Kelvane en "
                              "crée un nouveau au prochain démarrage, à partir du dossier de démonstration.");
    case Origine::Argument:
    case Origine::DossierCourant:
        break;
    }
    return QStringLiteral("Lancez « %1 DOSSIER » en donnant le dossier de la classe, celui qui contient le fichier "
                          "%2.")
        .arg(commande(programme), kFichierParametres);
}

// The folder is checked: it must exist, be a readable folder and, for the student program, hold its settings.
Depart verifier(Depart d, const Environnement& e, Programme programme) {
    const QFileInfo info(d.dossier);
    const QString nom = nativePath(d.dossier);
    QString probleme;
    bool sansReglages = false;
    if (!info.exists()) {
        probleme = QStringLiteral("Le dossier « %1 » n'existe pas.").arg(nom);
    } else if (!info.isDir()) {
        probleme = QStringLiteral("« %1 » n'est pas un dossier.").arg(nom);
    } else if (!info.isReadable() || !info.isExecutable()) {
        probleme =
            QStringLiteral("Le dossier « %1 » ne peut pas être lu : vous n'avez pas le droit d'y entrer.").arg(nom);
    } else if (programme == Programme::Eleve && !estAppli(d.dossier)) {
        probleme = QStringLiteral("Le dossier « %1 » ne contient pas de fichier %2. Kelvane cherche %2 dans le "
                                  "dossier où il démarre.")
                       .arg(nom, kFichierParametres);
        sansReglages = true;
    } else {
        return d;
    }
    d.erreur = probleme + QStringLiteral("\n\n") + conseil(d, e, programme);
    // A folder given by hand that only lacks the settings can become a class folder.
    if (sansReglages && d.origine == Origine::Argument && !e.demo.isEmpty()) {
        d.erreur += QStringLiteral(" Pour faire de ce dossier celui d'une classe, copiez-y le fichier %1 et le "
                                   "dossier %2 du dossier de démonstration « %3 ».")
                        .arg(kFichierParametres, data::dossierImages(), nativePath(e.demo));
    }
    return d;
}

QString absolu(const QString& base, const QString& chemin) {
    return QDir::cleanPath(QDir(base).absoluteFilePath(chemin));
}

// The school's file: its first line that is neither blank nor a comment, or the empty text.
struct LectureEcole {
    QString dossier;
    bool illisible = false;
};

// The school's file as its editor saved it: with a byte order mark in its encoding (the Windows installer writes
// UTF-16), else UTF-8, else the system's 8-bit code page (what an older Notepad calls "ANSI"). Line ends of either
// system; each line is trimmed.
QString texteFichierEcole(const QByteArray& octets) {
    if (const auto encodage = QStringConverter::encodingForData(octets)) {
        QStringDecoder decodeur(*encodage);
        return decodeur(octets);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString texte = utf8(octets);
    return utf8.hasError() ? QString::fromLocal8Bit(octets) : texte;
}

LectureEcole lireFichierEcole(const QString& chemin) {
    LectureEcole lecture;
    if (chemin.isEmpty() || !QFileInfo::exists(chemin)) {
        return lecture;
    }
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) {
        lecture.illisible = true;
        return lecture;
    }
    const QStringList lignes = texteFichierEcole(f.read(64 * 1024)).split(QLatin1Char('\n'));
    for (const QString& ligne : lignes) {
        const QString chemin = ligne.trimmed();
        if (!chemin.isEmpty() && !chemin.startsWith(QLatin1Char('#'))) {
            lecture.dossier = chemin;
            break;
        }
    }
    return lecture;
}

} // namespace

QString nomDossierMaison() {
    return QStringLiteral("Kelvane");
}

Depart dossierDeDepart(const Environnement& e, Programme programme) {
    Depart d;
    QStringList arguments = e.arguments;
    arguments.removeAll(QString());
    if (arguments.size() > 1) {
        d.erreur = QStringLiteral("%1 attend au plus un argument, le dossier de la classe ; il en a reçu %2 : %3.\n\n")
                       .arg(commande(programme))
                       .arg(arguments.size())
                       .arg(arguments.join(QStringLiteral(" "))) +
                   conseil(d, e, programme);
        return d;
    }
    if (arguments.size() == 1) {
        d.dossier = absolu(e.dossierCourant, arguments.first());
        d.origine = Origine::Argument;
        return verifier(d, e, programme);
    }
    if (estAppli(e.dossierCourant)) {
        d.dossier = absolu(e.dossierCourant, QStringLiteral("."));
        d.origine = Origine::DossierCourant;
        return d;
    }
    const LectureEcole ecole = lireFichierEcole(e.fichierEcole);
    if (ecole.illisible) {
        d.origine = Origine::FichierEcole;
        d.erreur = QStringLiteral("Le fichier « %1 », qui désigne le dossier de la classe, ne peut pas être lu.\n\n"
                                  "Demandez à l'administrateur de le rendre lisible par tous.")
                       .arg(nativePath(e.fichierEcole));
        return d;
    }
    if (!ecole.dossier.isEmpty()) {
        d.dossier = absolu(QFileInfo(e.fichierEcole).absolutePath(), ecole.dossier);
        d.origine = Origine::FichierEcole;
        return verifier(d, e, programme);
    }
    d.dossier = absolu(e.maison, nomDossierMaison());
    d.origine = Origine::Maison;
    if (!QFileInfo::exists(d.dossier) && !QFileInfo(d.dossier).isSymLink()) {
        if (e.demo.isEmpty() || !estAppli(e.demo)) {
            d.erreur = QStringLiteral("Le dossier « %1 » n'existe pas, et le dossier de démonstration qui sert à le "
                                      "créer est introuvable%2 : Kelvane est peut-être mal installé.\n\n"
                                      "Lancez « %3 DOSSIER » en donnant le dossier de la classe, celui qui contient le "
                                      "fichier %4, ou réinstallez Kelvane.")
                           .arg(nativePath(d.dossier),
                                e.demo.isEmpty() ? QString() : QStringLiteral(" (« %1 »)").arg(nativePath(e.demo)),
                                commande(programme), kFichierParametres);
            return d;
        }
        try {
            d.cree = creerCopie(e.demo, d.dossier);
        } catch (const Error& erreur) {
            d.erreur = QStringLiteral("Le dossier « %1 » n'a pas pu être créé à partir du dossier de démonstration : "
                                      "%2.\n\nVérifiez la place libre et les droits de votre dossier personnel, ou "
                                      "lancez « %3 DOSSIER » en donnant le dossier de la classe.")
                           .arg(nativePath(d.dossier), erreur.text(), commande(programme));
            return d;
        }
    }
    return verifier(d, e, programme);
}

Environnement environnementSysteme(const QStringList& arguments) {
    Environnement e;
    e.arguments = arguments;
    e.dossierCourant = QDir::currentPath();
    e.fichierEcole = qEnvironmentVariableIsSet("KELVANE_FICHIER_ECOLE") ? qEnvironmentVariable("KELVANE_FICHIER_ECOLE")
                                                                        : platform::schoolSettingFile();
    e.maison = platform::userFolderParent();
    if (qEnvironmentVariableIsSet("KELVANE_DEMO")) {
        e.demo = qEnvironmentVariable("KELVANE_DEMO");
    } else {
        for (const QString& dossier : platform::demoFolderCandidates(QCoreApplication::applicationDirPath())) {
            if (estAppli(dossier)) {
                e.demo = dossier;
                break;
            }
        }
    }
    return e;
}

QString entrer(Programme programme, const QStringList& arguments, services::MessageService& messages) {
    Depart d = dossierDeDepart(environnementSysteme(arguments), programme);
    if (d.reussi() && !QDir::setCurrent(d.dossier)) {
        d.erreur = QStringLiteral("Kelvane n'a pas pu entrer dans le dossier « %1 ».").arg(nativePath(d.dossier));
    }
    if (!d.reussi()) {
        messages.MsgBox(d.erreur, services::Buttons::OkOnly, QStringLiteral("Kelvane"));
        return {};
    }
    return d.dossier;
}

bool sansFenetre() {
    const QString valeur = qEnvironmentVariable("KELVANE_SANS_FENETRE").trimmed();
    return !valeur.isEmpty() && valeur != QStringLiteral("0");
}

} // namespace kelvane::demarrage
