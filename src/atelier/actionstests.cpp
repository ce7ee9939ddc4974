#include "atelier/actionstests.h"

#include "atelier/fichierstests.h"
#include "atelier/listetests.h"
#include "atelier/noms.h"
#include "atelier/placeediteur.h"
#include "atelier/titre.h"
#include "avertissements/erreurs.h"
#include "conversion/conversion.h"
#include "data/ecriture.h"
#include "data/reglesfichiers.h"
#include "editeur/editeurtest.h"
#include "platform/services/services.h"
#include "source/textsource.h"
#include "widgets/patience.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace kelvane::atelier {

namespace {

const QString kCleImport = QStringLiteral("dossiers/importer");
const QString kCleExport = QStringLiteral("dossiers/exporter");
constexpr int kLignesMontrees = 20;

// At most kLignesMontrees lines, then how many more there are.
QString lignes(const QStringList& erreurs) {
    QStringList montrees = erreurs.mid(0, kLignesMontrees);
    if (erreurs.size() > kLignesMontrees) {
        montrees << QStringLiteral("… et %1 autres problèmes.").arg(erreurs.size() - kLignesMontrees);
    }
    return montrees.join(QLatin1Char('\n'));
}

} // namespace

ActionsTests::ActionsTests(services::Services& services, ListeTests& liste, PlaceEditeur& place, QWidget* fenetre)
    : QObject(fenetre), services_(services), liste_(liste), place_(place), fenetre_(fenetre) {}

QString ActionsTests::chemin(const QString& fichier) const {
    return QDir(dossier_).filePath(fichier);
}

QString ActionsTests::testCourant() const {
    const QString fichier = liste_.fichierCourant();
    return !fichier.isEmpty() && !liste_.courantEstNouveau() ? fichier : QString();
}

void ActionsTests::montrer(const QString& fichier) {
    emit dossierModifie();
    if (place_.fermer()) {
        liste_.choisirSansSignal(fichier);
        place_.ouvrir(chemin(fichier));
    }
}

void ActionsTests::avertir(const QString& texte) {
    services_.messages->MsgBox(texte, services::Buttons::OkOnly, kTitreAtelier);
}

bool ActionsTests::confirmer(const QString& question) {
    return services_.messages->MsgBox(question, services::Buttons::YesNo, kTitreAtelier) == services::Answer::Yes;
}

QString ActionsTests::demanderNom(const QString& question, const QString& titre) {
    for (;;) {
        const QString saisi = services_.messages->InputBox(question, titre);
        if (saisi.trimmed().isEmpty()) {
            return {};
        }
        QString erreur;
        const QString fichier = nomFichierTest(saisi, &erreur);
        if (fichier.isEmpty()) {
            avertir(erreur);
            continue;
        }
        if (nomPris(dossier_, fichier)) {
            avertir(QStringLiteral("Le dossier a déjà un fichier « %1 » : choisissez un autre nom.").arg(fichier));
            continue;
        }
        return fichier;
    }
}

void ActionsTests::nouveau() {
    if (dossier_.isEmpty()) {
        return;
    }
    const QString fichier = demanderNom(QStringLiteral("Nom du nouveau test :"), QStringLiteral("Nouveau test"));
    if (fichier.isEmpty() || !place_.fermer()) {
        return;
    }
    place_.nouveau(chemin(fichier));
    liste_.ajouterNouveau(fichier);
    place_.editeur()->setFocus();
}

void ActionsTests::dupliquer() {
    const QString source = testCourant();
    if (source.isEmpty()) {
        return;
    }
    const QString fichier = demanderNom(QStringLiteral("Nom de la copie de « %1 » :").arg(nomAffiche(source)),
                                        QStringLiteral("Dupliquer le test"));
    if (fichier.isEmpty()) {
        return;
    }
    try {
        copierTest(chemin(source), chemin(fichier));
    } catch (const Error& e) {
        avertissements::afficherErreur(*services_.messages, e, chemin(fichier));
        return;
    }
    montrer(fichier);
    emit information(QStringLiteral("« %1 » copié en « %2 »").arg(nomAffiche(source), nomAffiche(fichier)));
}

void ActionsTests::renommer() {
    const QString source = testCourant();
    if (source.isEmpty()) {
        return;
    }
    const QString fichier = demanderNom(QStringLiteral("Nouveau nom de « %1 » :").arg(nomAffiche(source)),
                                        QStringLiteral("Renommer le test"));
    if (fichier.isEmpty()) {
        return;
    }
    const bool ouvert = place_.montre(chemin(source));
    if (ouvert && !place_.fermer()) {
        return;
    }
    QString montre = fichier;
    try {
        renommerTest(chemin(source), chemin(fichier));
        emit information(QStringLiteral("« %1 » renommé en « %2 »").arg(nomAffiche(source), nomAffiche(fichier)));
    } catch (const Error& e) {
        avertissements::afficherErreur(*services_.messages, e, chemin(source));
        montre = source;
    }
    emit dossierModifie();
    liste_.choisirSansSignal(montre);
    if (ouvert) {
        place_.ouvrir(chemin(montre));
    }
}

void ActionsTests::supprimer() {
    const QString fichier = testCourant();
    if (fichier.isEmpty() || !confirmer(QStringLiteral("Supprimer le test « %1 » ?").arg(nomAffiche(fichier)))) {
        return;
    }
    if (place_.montre(chemin(fichier))) {
        place_.oublier(); // its changes go with the test
    }
    try {
        supprimerTest(chemin(fichier));
        emit information(QStringLiteral("« %1 » supprimé").arg(nomAffiche(fichier)));
    } catch (const Error& e) {
        avertissements::afficherErreur(*services_.messages, e, chemin(fichier));
    }
    emit dossierModifie();
}

void ActionsTests::importer() {
    if (dossier_.isEmpty()) {
        return;
    }
    QSettings reglages;
    const QString source = services_.dialogs->chooseFileToOpen(
        QStringLiteral("Importer un test"), reglages.value(kCleImport, dossier_).toString(),
        QStringLiteral("Sources de test et fichiers Access (*.csv *.txt *.mdb *.accdb);;Sources de test (*.csv "
                       "*.txt);;Fichiers Access (*.mdb *.accdb);;Tous les fichiers (*)"));
    if (source.isEmpty()) {
        return;
    }
    reglages.setValue(kCleImport, QFileInfo(source).absolutePath());
    const QString extension = QFileInfo(source).suffix().toLower();
    if (extension == QStringLiteral("accdb")) {
        importerAccess(source);
    } else if (extension == QStringLiteral("mdb")) {
        // A Kelvane test from another folder is copied as it is; any other ".mdb" is an Access file.
        if (data::sonderFichier(source).genre == data::GenreFichier::Test) {
            importerKelvane(source);
        } else {
            importerAccess(source);
        }
    } else {
        importerSource(source);
    }
}

void ActionsTests::importerSource(const QString& source) {
    const QString nomSource = QFileInfo(source).fileName();
    const source::ParseResult lu = source::readTestSource(source);
    if (!lu.ok()) {
        avertir(QStringLiteral("« %1 » n'a pas été importé :\n%2").arg(nomSource, lignes(lu.errors)));
        return;
    }
    QString erreur;
    QString fichier = nomFichierTest(QFileInfo(source).completeBaseName(), &erreur);
    if (!fichier.isEmpty() && nomPris(dossier_, fichier)) {
        erreur = QStringLiteral("Le dossier a déjà un test « %1 ».").arg(nomAffiche(fichier));
        fichier.clear();
    }
    if (fichier.isEmpty()) {
        fichier = demanderNom(erreur + QStringLiteral("\nNom du test importé :"), QStringLiteral("Importer un test"));
        if (fichier.isEmpty()) {
            return;
        }
    }
    const data::Test test = source::toTest(lu.source, fichier);
    try {
        data::ecrireTest(test, chemin(fichier), platform::IfExists::Refuse);
    } catch (const Error& e) {
        avertissements::afficherErreur(*services_.messages, e, chemin(fichier));
        return;
    }
    montrer(fichier);
    emit information(source::summary(test, fichier));
}

void ActionsTests::importerAccess(const QString& source) {
    conversion::CompteRendu compte;
    {
        const widgets::Patience patience;
        compte = conversion::convertir(source, dossier_);
    }
    emit dossierModifie();
    services_.messages->MsgBox(compte.message, services::Buttons::OkOnly, QStringLiteral("Importer un test"));
    if (compte.genre == conversion::Genre::Test && place_.fermer()) {
        const QString fichier = QFileInfo(compte.cible).fileName();
        liste_.choisirSansSignal(fichier);
        place_.ouvrir(chemin(fichier));
    }
}

void ActionsTests::importerKelvane(const QString& source) {
    if (QFileInfo(source).absolutePath() == QFileInfo(dossier_).absoluteFilePath()) {
        avertir(QStringLiteral("« %1 » est déjà dans ce dossier.").arg(QFileInfo(source).fileName()));
        return;
    }
    QString fichier = QFileInfo(source).fileName();
    if (nomPris(dossier_, fichier)) {
        fichier = demanderNom(
            QStringLiteral("Le dossier a déjà un test « %1 ».\nNom du test importé :").arg(nomAffiche(fichier)),
            QStringLiteral("Importer un test"));
        if (fichier.isEmpty()) {
            return;
        }
    }
    try {
        copierTest(source, chemin(fichier));
    } catch (const Error& e) {
        avertissements::afficherErreur(*services_.messages, e, chemin(fichier));
        return;
    }
    montrer(fichier);
    emit information(QStringLiteral("« %1 » importé").arg(nomAffiche(fichier)));
}

void ActionsTests::exporter() {
    const QString fichier = testCourant();
    if (fichier.isEmpty()) {
        return;
    }
    QSettings reglages;
    const QString propose =
        QDir(reglages.value(kCleExport, dossier_).toString()).filePath(nomAffiche(fichier) + QStringLiteral(".csv"));
    QString cible = services_.dialogs->chooseFileToSave(QStringLiteral("Exporter le test"), propose,
                                                        QStringLiteral("Sources de test (*.csv)"));
    if (cible.isEmpty()) {
        return;
    }
    if (QFileInfo(cible).suffix().isEmpty()) {
        cible += QStringLiteral(".csv");
    }
    reglages.setValue(kCleExport, QFileInfo(cible).absolutePath());
    try {
        const QStringList erreurs = exporterTest(chemin(fichier), cible);
        if (!erreurs.isEmpty()) {
            avertir(QStringLiteral("« %1 » n'a pas été exporté :\n%2").arg(nomAffiche(fichier), lignes(erreurs)));
            return;
        }
    } catch (const Error& e) {
        avertissements::afficherErreur(*services_.messages, e, cible);
        return;
    }
    const bool modifie = place_.estModifieSur(chemin(fichier));
    emit information(QStringLiteral("« %1 »%2 exporté dans « %3 »")
                         .arg(nomAffiche(fichier), modifie ? QStringLiteral(" (version enregistrée)") : QString(),
                              QDir::toNativeSeparators(cible)));
}

void ActionsTests::essayer() {
    const QString fichier = testCourant();
    if (fichier.isEmpty()) {
        return;
    }
    if (place_.estModifieSur(chemin(fichier))) {
        const auto reponse = services_.messages->MsgBox(
            QStringLiteral("Le test « %1 » a des modifications non enregistrées. Les enregistrer avant l'essai ?\n"
                           "(Non : l'essai se fait sur la version enregistrée.)")
                .arg(nomAffiche(fichier)),
            services::Buttons::YesNo, kTitreAtelier);
        if (reponse == services::Answer::Yes && !place_.editeur()->enregistrer()) {
            return;
        }
    }
    const QString erreur = essai_.lancer(chemin(fichier), dossier_, *services_.launcher);
    if (!erreur.isEmpty()) {
        avertir(erreur);
        return;
    }
    emit information(QStringLiteral("Essai de « %1 » lancé : ses résultats restent hors du dossier de la classe.")
                         .arg(nomAffiche(fichier)));
}

} // namespace kelvane::atelier
