#include "atelier/actionstests.h"

#include "atelier/fichierstests.h"
#include "atelier/listetests.h"
#include "atelier/noms.h"
#include "atelier/placeediteur.h"
#include "atelier/titre.h"
#include "avertissements/erreurs.h"
#include "banques/fichiersbanques.h"
#include "banques/importation.h"
#include "conversion/conversion.h"
#include "data/ecriture.h"
#include "data/images.h"
#include "data/reglesfichiers.h"
#include "editeur/editeurtest.h"
#include "platform/services/services.h"
#include "platform/temporaryname.h"
#include "source/textsource.h"
#include "widgets/patience.h"

#include <QDir>
#include <QFile>
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

// A text source begins, after its comments and blank lines, with one of its keywords; a GIFT or Aiken bank in a
// ".txt" file does not.
bool estSourceCsv(const QString& chemin) {
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly)) {
        return true; // the source's reader says why it cannot be read
    }
    while (!fichier.atEnd()) {
        const QByteArray ligne = fichier.readLine(4096).trimmed();
        if (ligne.isEmpty() || ligne.startsWith('#')) {
            continue;
        }
        const QByteArray mot = ligne.left(ligne.indexOf(';')).trimmed().toLower();
        return ligne.contains(';') &&
               (mot == "temps" || mot == "tolerance" || mot == "chapitre" || mot == "question" || mot == "image");
    }
    return true;
}

// A test written as a Moodle XML or GIFT bank; the faults of the test, or nothing. What the bank cannot carry goes
// into notes.
QStringList exporterBanque(const QString& test, const QString& cible, banques::FormatExport format,
                           QStringList& notes) {
    const banques::ExportBanque export_ = banques::exporterBanque(test, cible, format);
    if (!export_.echec.isEmpty()) {
        throw Error(
            errc::PathFileAccess,
            QStringLiteral("impossible d'écrire « %1 » (%2)").arg(QDir::toNativeSeparators(cible), export_.echec));
    }
    notes = export_.notes;
    return export_.fautes;
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
        QStringLiteral("Tests, banques et fichiers Access (*.csv *.txt *.xml *.gift *.mdb *.accdb);;Sources de test "
                       "(*.csv *.txt);;Banques de questions Moodle XML, GIFT, Aiken (*.xml *.gift *.txt);;Fichiers "
                       "Access (*.mdb *.accdb);;Tous les fichiers (*)"));
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
    } else if (extension == QStringLiteral("xml") || extension == QStringLiteral("gift") ||
               (extension == QStringLiteral("txt") && !estSourceCsv(source))) {
        importerBanque(source);
    } else {
        importerSource(source);
    }
}

void ActionsTests::importerBanque(const QString& source) {
    const QString nomSource = QFileInfo(source).fileName();
    banques::ResultatImport lu;
    {
        const widgets::Patience patience;
        lu = banques::importer(source);
    }
    if (!lu.ok()) {
        avertir(QStringLiteral("« %1 » n'a pas été importé :\n%2").arg(nomSource, lu.erreur));
        return;
    }
    const int gardees = static_cast<int>(lu.source.questions.size());
    const QStringList rapport = banques::lignesRapport(lu.rapport);
    if (gardees == 0) {
        avertir(QStringLiteral("« %1 » n'a pas été importé : aucune question que Kelvane puisse reprendre.\n%2")
                    .arg(nomSource, lignes(rapport)));
        return;
    }
    banques::reglerTempsEtTolerance(lu.source);
    QString bilan = QStringLiteral("« %1 » : %2 question(s) reprise(s), %3 laissée(s) de côté.")
                        .arg(nomSource)
                        .arg(gardees)
                        .arg(lu.rapport.ecartees.size());
    if (!rapport.isEmpty()) {
        bilan += QLatin1Char('\n') + lignes(rapport);
    }
    bilan += QStringLiteral("\nTemps du test : %1 s, tolérance : %2 % (à revoir dans l'éditeur).\n\nEnregistrer le "
                            "test ?")
                 .arg(lu.source.temps)
                 .arg(lu.source.tolerance);
    if (!confirmer(bilan)) {
        return;
    }
    const QString fichier = nomImporte(source);
    if (fichier.isEmpty()) {
        return;
    }
    enregistrerImporte(banques::testImporte(std::move(lu), fichier), fichier);
}

void ActionsTests::enregistrerImporte(const data::Test& test, const QString& fichier) {
    try {
        data::ecrireTest(test, chemin(fichier), platform::IfExists::Refuse);
    } catch (const Error& e) {
        avertissements::afficherErreur(*services_.messages, e, chemin(fichier));
        return;
    }
    montrer(fichier);
    emit information(source::summary(test, fichier));
}

QString ActionsTests::nomImporte(const QString& source) {
    QString erreur;
    QString fichier = nomFichierTest(QFileInfo(source).completeBaseName(), &erreur);
    if (!fichier.isEmpty() && nomPris(dossier_, fichier)) {
        erreur = QStringLiteral("Le dossier a déjà un test « %1 ».").arg(nomAffiche(fichier));
        fichier.clear();
    }
    if (fichier.isEmpty()) {
        fichier = demanderNom(erreur + QStringLiteral("\nNom du test importé :"), QStringLiteral("Importer un test"));
    }
    return fichier;
}

void ActionsTests::importerSource(const QString& source) {
    const QString nomSource = QFileInfo(source).fileName();
    const source::ParseResult lu = source::readTestSource(source);
    if (!lu.ok()) {
        avertir(QStringLiteral("« %1 » n'a pas été importé :\n%2").arg(nomSource, lignes(lu.errors)));
        return;
    }
    const QString fichier = nomImporte(source);
    if (fichier.isEmpty()) {
        return;
    }
    const data::Test test = source::toTest(lu.source, fichier);
    enregistrerImporte(test, fichier);
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
    QString cible = services_.dialogs->chooseFileToSave(
        QStringLiteral("Exporter le test"), propose,
        QStringLiteral("Sources de test (*.csv);;Banque Moodle XML (*.xml);;Banque GIFT (*.gift)"));
    if (cible.isEmpty()) {
        return;
    }
    if (QFileInfo(cible).suffix().isEmpty()) {
        cible += QStringLiteral(".csv");
    }
    reglages.setValue(kCleExport, QFileInfo(cible).absolutePath());
    QStringList notes;
    try {
        const std::optional<banques::FormatExport> banque = banques::formatExport(cible);
        const QStringList erreurs =
            banque ? exporterBanque(chemin(fichier), cible, *banque, notes) : exporterTest(chemin(fichier), cible);
        if (!erreurs.isEmpty()) {
            avertir(QStringLiteral("« %1 » n'a pas été exporté :\n%2").arg(nomAffiche(fichier), lignes(erreurs)));
            return;
        }
    } catch (const Error& e) {
        avertissements::afficherErreur(*services_.messages, e, cible);
        return;
    }
    if (!notes.isEmpty()) {
        avertir(QStringLiteral("« %1 » exporté dans « %2 », avec ces remarques :\n%3")
                    .arg(nomAffiche(fichier), QDir::toNativeSeparators(cible), lignes(notes)));
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
