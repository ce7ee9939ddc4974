#include "viewer/visualisation.h"

#include "app/avertissements.h"
#include "app/commun.h"
#include "app/erreurs.h"
#include "data/reglesfichiers.h"
#include "data/valeurs.h"
#include "platform/services/services.h"
#include "results/cadreresultats.h"
#include "results/impression.h"
#include "results/resultats.h"
#include "session/ordre.h"
#include "setup/navigation.h"
#include "widgets/colours.h"
#include "widgets/controls.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/twips.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace kelvane::viewer {

using namespace kelvane::services;
using namespace kelvane::widgets;

Visualisation::Visualisation(QWidget* parent) : widgets::Forme(parent) {
    setObjectName(QStringLiteral("Visualisation"));
    setWindowTitle(QStringLiteral("Visualisation"));
    setCouleurs(this, kBleuClair);
    setFixedSize(twipsSize(10680, 7050, this));
    setPolice(this, 8.25);

    Frame1 = creerCadre(this, QStringLiteral("Frame1"), QStringLiteral("Ouverture d'un test"), 480, 600, 9855, 5175,
                        kBleuClair, kMarine);
    setPolice(Frame1, 8.25, true);
    Label2 = creerLegende(Frame1, QStringLiteral("Label2"), QStringLiteral("Nom du fichier"), 120, 240, 9495, 375, 12);
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    nombase = nommerControle(new QLineEdit(Frame1), QStringLiteral("nombase"), 120, 600, 9495, 375);
    nombase->setToolTip(QStringLiteral("Nom de la base"));
    setFondGris(nombase);
    nommer(Label2, nombase);
    Label1 = creerLegende(Frame1, QStringLiteral("Label1"), QStringLiteral("Répertoire de travail"), 240, 1080, 2895,
                          495, 12);

    Drive1 = nommerControle(new DriveListBox(Frame1), QStringLiteral("Drive1"), 240, 1560, 2175, 315);
    Drive1->setToolTip(QStringLiteral("Lecteur courant"));
    Drive1->setAccessibleName(QStringLiteral("Lecteur courant"));
    listerepertoire = nommerControle(new DirListBox(Frame1), QStringLiteral("listerepertoire"), 120, 2040, 2775, 2250);
    listerepertoire->setToolTip(QStringLiteral("Répertoire courant"));
    setFondGris(listerepertoire);
    nommer(Label1, listerepertoire);
    listefichier = creerListe(Frame1, QStringLiteral("listefichier"), 3120, 2040, 6615, 2205);
    setPolice(listefichier, 8.25);
    listefichier->setAccessibleName(QStringLiteral("Fichiers de résultats"));
    setFondGris(listefichier);

    Valider = creerBouton(Frame1, QStringLiteral("Valider"), QStringLiteral("Valider"), 480, 4440, 1455, 495);
    Valider->setToolTip(QStringLiteral("Valide le choix de la base"));
    Annuler = creerBouton(Frame1, QStringLiteral("Annuler"), QStringLiteral("Annuler"), 3480, 4440, 1575, 495);
    Annuler->setToolTip(QStringLiteral("Retour au menu principal"));
    for (QPushButton* b : {Valider, Annuler}) {
        setPolice(b, 8.25);
    }
    paintButton(Valider, false);

    Frame5 = new results::CadreResultats(this, {.retourner = false, .label27Left = 240});
    placer(Frame5, 0, 0, 10575, 6975);
    Frame5->hide();

    connect(Drive1, &DriveListBox::Change, this, &Visualisation::Drive1_Change);
    connect(listerepertoire, &DirListBox::Change, this, &Visualisation::listerepertoire_Change);
    connect(listefichier, &QListWidget::itemClicked, this, &Visualisation::listefichier_Click);
    connect(Valider, &QPushButton::clicked, this, &Visualisation::Valider_Click);
    connect(Annuler, &QPushButton::clicked, this, &Visualisation::Annuler_Click);
    connect(Frame5->Fermer, &QPushButton::clicked, this, &Visualisation::Fermer_Click);
    connect(Frame5->ImprimerResultat, &QPushButton::clicked, this, &Visualisation::ImprimerResultat_Click);
    connect(Frame5->List1, &QListWidget::itemClicked, this, &Visualisation::List1_Click);
}

Visualisation::~Visualisation() = default;

void Visualisation::Form_Load() {
    Frame1->show();
    BaseOuverte = false;
    Frame5->hide();
    nombase->clear();
    // A fresh load: a question number that no record of the first file carries stands for the first record.
    etat.Ordre.clear();

    FileService& fichiers = *services::installed().files;
    try {
        Commun::LecteurCourant = fichiers.driveOf(Commun::RepertoireInitial);
        fichiers.setCurrentDrive(Commun::LecteurCourant);
        changerDossier(Commun::RepertoireInitial);
        const QSignalBlocker b1(Drive1);
        const QSignalBlocker b2(listerepertoire);
        Drive1->refresh();
        Drive1->setDrive(Commun::LecteurCourant);
        listerepertoire->setPath(fichiers.currentFolder());
    } catch (const kelvane::Error& e) {
        app::afficherErreur(e, Commun::RepertoireInitial);
    }
    ChercherResultats();

    paintButton(Valider, false);
    NomChoisi.clear();
}

void Visualisation::changerDossier(const QString& dossier) {
    etat.RepertoireEleve = dossier;
    services::installed().files->setCurrentFolder(dossier);
}

void Visualisation::Drive1_Change() {
    if (setup::suivreLecteur(Drive1, listerepertoire, etat.RepertoireEleve)) {
        ChercherResultats();
        nombase->setText(NomChoisi);
    }
}

void Visualisation::listerepertoire_Change() {
    if (setup::suivreDossier(listerepertoire, etat.RepertoireEleve)) {
        ChercherResultats();
        nombase->setText(NomChoisi);
    }
}

void Visualisation::ChercherResultats() {
    listefichier->clear();
    ListeResultats.clear();
    QStringList noms;
    try {
        noms = services::installed().files->listDatabases();
    } catch (const kelvane::Error& e) {
        app::afficherErreur(e, etat.RepertoireEleve);
    }
    for (const QString& nom : noms) {
        // Tests, the settings database, other programs' databases and unreadable files get no line.
        const SondageFichier sondage = sonderFichier(joinPath(etat.RepertoireEleve, nom));
        if (sondage.genre != GenreFichier::Resultats) {
            continue;
        }
        listefichier->addItem(nom + (sondage.examen ? QStringLiteral(" (Examen)") : QStringLiteral(" (Entrainement)")));
        ListeResultats.append(nom);
    }
    NbResultats = static_cast<int>(ListeResultats.size());
}

void Visualisation::listefichier_Click() {
    const int i = listefichier->currentRow();
    if (NbResultats == 0 || i < 0 || i >= ListeResultats.size()) {
        return;
    }
    NomChoisi = nomTestDeFichier(ListeResultats.at(i));
    nombase->setText(NomChoisi);
    paintButton(Valider, true);
}

QString Visualisation::fichierNomme(const QString& nom) const {
    const QString fichier = nom + QStringLiteral(".mdb");
    if (services::installed().files->fileExists(fichier)) {
        return fichier;
    }
    for (const QString& liste : ListeResultats) {
        if (nomTestDeFichier(liste) == nom && services::installed().files->fileExists(liste)) {
            return liste;
        }
    }
    return {};
}

void Visualisation::Valider_Click() {
    MessageService& messages = *services::installed().messages;
    const QString nom = nombase->text();
    // The name may have been typed, or kept from another folder: say what is wrong and let the choice be made
    // again, with whatever was open still open.
    const QString fichier = fichierNomme(nom);
    if (fichier.isEmpty()) {
        app::signalerIntrouvable(nom + QStringLiteral(".mdb"), etat.RepertoireEleve, QStringLiteral("un fichier"));
        return;
    }
    const QString chemin = joinPath(etat.RepertoireEleve, fichier);
    if (sonderFichier(chemin).genre != GenreFichier::Resultats) {
        messages.MsgBox(QStringLiteral("La base ") + fichier +
                            QStringLiteral(" n'est pas un fichier de résultats d'habilitation électrique"),
                        services::Buttons::OkOnly, app::kMauvaisType);
        return;
    }

    // Everything is read before anything shared is replaced, so that a file that fails half-way leaves the
    // viewer as it was. The file is opened read-only: viewing never writes to a pupil's results.
    db::Database base;
    db::Recordset eleves;
    db::Recordset chapitres;
    db::Recordset questions;
    QString nomTest;
    bool examen = false;
    std::int16_t tolerance = 0;
    int nbQuestions = 0;
    std::vector<int> ordre;
    try {
        base = db::OpenDatabase(chemin, db::OpenMode::ReadOnly);
        eleves = base.OpenRecordset(QStringLiteral("eleves"), 2);
        eleves.setAbsolutePosition(0);
        nomTest = texteChamp(eleves.Fields(QStringLiteral("test")));
        examen = estVrai(eleves.Fields(QStringLiteral("examen")));
        tolerance = entier16(eleves.Fields(QStringLiteral("tolerance")), QStringLiteral("tolerance"));
        chapitres = base.OpenRecordset(QStringLiteral("chapitre"), 2);
        questions = base.OpenRecordset(QStringLiteral("question"), 2);
        nbQuestions = questions.RecordCount();
        // Rebuilt from zeros for every file: a number missing from this file stands for its first record, never
        // for a place left by the file shown before.
        ordreParNumero(questions, nbQuestions, ordre);
    } catch (const kelvane::Error& e) {
        app::afficherErreur(e, chemin);
        return;
    }

    Commun::fermerBaseEleve();
    Commun::FichierEleve = fichier;
    Commun::BaseEleve = std::move(base);
    Commun::RsEleves = std::move(eleves);
    Commun::RsChapitreEleve = std::move(chapitres);
    Commun::RsQuestion = std::move(questions);
    etat.NomTest = nomTest;
    etat.ModeExamen = examen;
    etat.Tolerance = tolerance;
    etat.NbQuestions = nbQuestions;
    etat.Ordre = std::move(ordre);

    BaseOuverte = true;
    Frame1->hide();
    Frame5->show();
    AfficherResultats();
}

void Visualisation::AfficherResultats() {
    // The session's results step without its date stamp: the file shows the date it was last finished on.
    try {
        const TextesResultats textes = calculerResultats(Commun::RsEleves, Commun::RsQuestion, Commun::RsChapitreEleve,
                                                         etat, VerdictsVisualisation);
        etat.NbBonnes = textes.nbBonnes;
        Frame5->afficher(textes);
    } catch (const kelvane::Error& e) {
        app::afficherErreur(e, Commun::FichierEleve);
    }
}

void Visualisation::Fermer_Click() {
    Frame1->show();
    Frame5->hide();
}

void Visualisation::Annuler_Click() {
    if (BaseOuverte) {
        Commun::fermerBaseEleve();
        BaseOuverte = false;
    }
    Unload();
}

void Visualisation::ImprimerResultat_Click() {
    // The report of the file shown, from the count that AfficherResultats has just made; read only, as the screen.
    results::imprimerResultats(Commun::RsEleves, Commun::RsQuestion, etat, Commun::FichierEleve);
}

void Visualisation::List1_Click() {
    // The viewer only shows: a question line leads nowhere.
}

void Visualisation::closeEvent(QCloseEvent* event) {
    if (BaseOuverte) {
        Commun::fermerBaseEleve();
        BaseOuverte = false;
    }
    event->accept();
}

} // namespace kelvane::viewer
