// The window's actions on the folder's tests: new, duplicate, rename, delete, import, export and try.
#include "atelier/editeurtest.h"
#include "atelier/fenetreatelier.h"
#include "atelier/fichierstests.h"
#include "atelier/listetests.h"
#include "atelier/noms.h"
#include "avertissements/erreurs.h"
#include "conversion/conversion.h"
#include "data/ecriture.h"
#include "data/reglesfichiers.h"
#include "source/textsource.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStackedWidget>
#include <QStatusBar>

namespace kelvane::atelier {

namespace {

const QString kTitre = QStringLiteral("Kelvane — Atelier");
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

bool memeFichier(const QString& a, const QString& b) {
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

// Waits with the busy cursor while it lives.
class Patience {
public:
    Patience() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Patience() { QApplication::restoreOverrideCursor(); }
    Patience(const Patience&) = delete;
    Patience& operator=(const Patience&) = delete;
};

} // namespace

void FenetreAtelier::informer(const QString& texte) {
    statusBar()->showMessage(texte, 15000);
}

void FenetreAtelier::avertir(const QString& texte) {
    services_.messages->MsgBox(texte, services::Buttons::OkOnly, kTitre);
}

bool FenetreAtelier::confirmer(const QString& question) {
    return services_.messages->MsgBox(question, services::Buttons::YesNo, kTitre) == services::Answer::Yes;
}

QString FenetreAtelier::demanderNom(const QString& question, const QString& titre) {
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

void FenetreAtelier::nouveauTest() {
    if (dossier_.isEmpty()) {
        return;
    }
    const QString fichier = demanderNom(QStringLiteral("Nom du nouveau test :"), QStringLiteral("Nouveau test"));
    if (fichier.isEmpty() || !fermerEditeur()) {
        return;
    }
    auto* editeur = new EditeurTest(services_, droite_);
    editeur->nouveau(chemin(fichier));
    installerEditeur(editeur);
    liste_->ajouterNouveau(fichier);
    majActions();
    editeur->setFocus();
}

void FenetreAtelier::dupliquerTest() {
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
    relire();
    informer(QStringLiteral("« %1 » copié en « %2 »").arg(nomAffiche(source), nomAffiche(fichier)));
    if (fermerEditeur()) {
        liste_->choisirSansSignal(fichier);
        ouvrirTest(fichier);
    }
    majActions();
}

void FenetreAtelier::renommerTestCourant() {
    const QString source = testCourant();
    if (source.isEmpty()) {
        return;
    }
    const QString fichier = demanderNom(QStringLiteral("Nouveau nom de « %1 » :").arg(nomAffiche(source)),
                                        QStringLiteral("Renommer le test"));
    if (fichier.isEmpty()) {
        return;
    }
    const bool ouvert = editeur_ != nullptr && memeFichier(editeur_->chemin(), chemin(source));
    if (ouvert && !fermerEditeur()) {
        return;
    }
    QString montre = fichier;
    try {
        renommerTest(chemin(source), chemin(fichier));
        informer(QStringLiteral("« %1 » renommé en « %2 »").arg(nomAffiche(source), nomAffiche(fichier)));
    } catch (const Error& e) {
        avertissements::afficherErreur(*services_.messages, e, chemin(source));
        montre = source;
    }
    relire();
    liste_->choisirSansSignal(montre);
    if (ouvert) {
        ouvrirTest(montre);
    }
    majActions();
}

void FenetreAtelier::supprimerTestCourant() {
    const QString fichier = testCourant();
    if (fichier.isEmpty() || !confirmer(QStringLiteral("Supprimer le test « %1 » ?").arg(nomAffiche(fichier)))) {
        return;
    }
    if (editeur_ != nullptr && memeFichier(editeur_->chemin(), chemin(fichier))) {
        oublierEditeur(); // its changes go with the test
    }
    try {
        supprimerTest(chemin(fichier));
        informer(QStringLiteral("« %1 » supprimé").arg(nomAffiche(fichier)));
    } catch (const Error& e) {
        avertissements::afficherErreur(*services_.messages, e, chemin(fichier));
    }
    relire();
}

void FenetreAtelier::importer() {
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

void FenetreAtelier::importerSource(const QString& source) {
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
        data::ecrireTest(test, chemin(fichier), data::SiExistant::Refuser);
    } catch (const Error& e) {
        avertissements::afficherErreur(*services_.messages, e, chemin(fichier));
        return;
    }
    relire();
    informer(source::summary(test, fichier));
    if (fermerEditeur()) {
        liste_->choisirSansSignal(fichier);
        ouvrirTest(fichier);
    }
    majActions();
}

void FenetreAtelier::importerAccess(const QString& source) {
    conversion::CompteRendu compte;
    {
        const Patience patience;
        compte = conversion::convertir(source, dossier_);
    }
    relire();
    services_.messages->MsgBox(compte.message, services::Buttons::OkOnly, QStringLiteral("Importer un test"));
    if (compte.genre == conversion::Genre::Test && fermerEditeur()) {
        const QString fichier = QFileInfo(compte.cible).fileName();
        liste_->choisirSansSignal(fichier);
        ouvrirTest(fichier);
    }
    majActions();
}

void FenetreAtelier::importerKelvane(const QString& source) {
    if (memeFichier(QFileInfo(source).absolutePath(), dossier_)) {
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
    relire();
    informer(QStringLiteral("« %1 » importé").arg(nomAffiche(fichier)));
    if (fermerEditeur()) {
        liste_->choisirSansSignal(fichier);
        ouvrirTest(fichier);
    }
    majActions();
}

void FenetreAtelier::exporter() {
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
    const bool modifie =
        editeur_ != nullptr && memeFichier(editeur_->chemin(), chemin(fichier)) && editeur_->estModifie();
    informer(QStringLiteral("« %1 »%2 exporté dans « %3 »")
                 .arg(nomAffiche(fichier), modifie ? QStringLiteral(" (version enregistrée)") : QString(),
                      QDir::toNativeSeparators(cible)));
}

void FenetreAtelier::essayer() {
    const QString fichier = testCourant();
    if (fichier.isEmpty()) {
        return;
    }
    if (editeur_ != nullptr && memeFichier(editeur_->chemin(), chemin(fichier)) && editeur_->estModifie()) {
        const auto reponse = services_.messages->MsgBox(
            QStringLiteral("Le test « %1 » a des modifications non enregistrées. Les enregistrer avant l'essai ?\n"
                           "(Non : l'essai se fait sur la version enregistrée.)")
                .arg(nomAffiche(fichier)),
            services::Buttons::YesNo, kTitre);
        if (reponse == services::Answer::Yes && !editeur_->enregistrer()) {
            return;
        }
    }
    const QString erreur = essai_.lancer(chemin(fichier), dossier_, *services_.launcher);
    if (!erreur.isEmpty()) {
        avertir(erreur);
        return;
    }
    informer(QStringLiteral("Essai de « %1 » lancé : ses résultats restent hors du dossier de la classe.")
                 .arg(nomAffiche(fichier)));
}

} // namespace kelvane::atelier
