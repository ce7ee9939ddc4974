#include "frames/choixfichier.h"

#include "avertissements/erreurs.h"
#include "data/format.h"
#include "data/reglesfichiers.h"
#include "platform/services/files.h"
#include "session/dossiertravail.h"
#include "session/modetest.h"
#include "widgets/colours.h"
#include "widgets/controls.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/listes.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace kelvane::frames {

using namespace kelvane::widgets;

namespace {
// Every frame of a test form fills the same place of the window, one at a time.
constexpr int kCadreGauche = 120;
constexpr int kCadreHaut = 120;
constexpr int kCadreLargeur = 10575;
constexpr int kCadreHauteur = 6975;

template <typename T> T* nomme(T* w, const QString& bulle) {
    w->setToolTip(bulle);
    w->setAccessibleName(bulle);
    return w;
}
} // namespace

ChoixFichier::ChoixFichier(QWidget* parent, Filtre filtre, session::DossierTravail& dossier,
                           services::MessageService& messages)
    : QGroupBox(parent), filtre_(filtre), dossier_(dossier), messages_(messages) {}

ChoixFichier::~ChoixFichier() = default;

ChoixFichier* ChoixFichier::pourTests(QWidget* parent, const session::ModeTest& mode, session::DossierTravail& dossier,
                                      services::MessageService& messages) {
    auto* c = new ChoixFichier(parent, mode.reprise ? Filtre::TestsEtCommences : Filtre::Tests, dossier, messages);
    c->setObjectName(QStringLiteral("Frame2"));
    c->setTitle(QStringLiteral("Ouverture du Test"));
    placer(c, kCadreGauche, kCadreHaut, kCadreLargeur, kCadreHauteur);
    styliserCadre(c, kBleuClair, kMarine);
    setPolice(c, 8.25, true);

    c->legendeNom_ = creerLegende(c, QStringLiteral("Label4"), QStringLiteral("Nom du Test"), 240, 360, 2040, 375);
    setPolice(c->legendeNom_, 12, true);
    c->nombase_ = creerTexte(c, QStringLiteral("nombase"), 2400, 360, 6000, 375);
    c->nombase_->setToolTip(QStringLiteral("Nom de la base"));
    c->lecteur_ =
        nomme(nommerControle(new DriveListBox(dossier.fichiers(), c), QStringLiteral("Drive2"), 240, 960, 3000, 315),
              QStringLiteral("Lecteur courant"));
    c->dossiers_ = nomme(nommerControle(new DirListBox(dossier.fichiers(), c), QStringLiteral("listerepertoire2"), 240,
                                        1440, 3000, 4440),
                         QStringLiteral("Répertoire courant"));
    const int largeurTests = mode.reprise ? 3360 : 6840;
    c->legendeListe_ = creerLegende(c, QStringLiteral("Label29"), mode.titreListeTests, 3480, 960, largeurTests, 315);
    c->liste_ = creerListe(c, QStringLiteral("listefichier"), 3480, 1320, largeurTests, 4560);
    if (mode.reprise) {
        c->legendeCommences_ = creerLegende(c, QStringLiteral("Label30"),
                                            QStringLiteral("Liste des Tests déjà commencés"), 7080, 960, 3240, 315);
        c->commences_ = creerListe(c, QStringLiteral("List3"), 7080, 1320, 3240, 4560);
        nommer(c->legendeCommences_, c->commences_);
    }
    c->ok_ = creerBouton(c, QStringLiteral("OkTest"), QStringLiteral("Ok"), 2400, 6240, 1575, 495);
    c->annuler_ = creerBouton(c, QStringLiteral("Annuler"), QStringLiteral("Annuler"), 6120, 6240, 1575, 495);
    c->relier();
    return c;
}

ChoixFichier* ChoixFichier::pourResultats(QWidget* parent, session::DossierTravail& dossier,
                                          services::MessageService& messages) {
    auto* c = new ChoixFichier(parent, Filtre::Resultats, dossier, messages);
    c->setObjectName(QStringLiteral("Frame1"));
    c->setTitle(QStringLiteral("Ouverture d'un test"));
    placer(c, 480, 600, 9855, 5175);
    styliserCadre(c, kBleuClair, kMarine);
    setPolice(c, 8.25, true);

    c->legendeNom_ =
        creerLegende(c, QStringLiteral("Label2"), QStringLiteral("Nom du fichier"), 120, 240, 9495, 375, 12);
    c->legendeNom_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    c->nombase_ = nommerControle(new QLineEdit(c), QStringLiteral("nombase"), 120, 600, 9495, 375);
    c->nombase_->setToolTip(QStringLiteral("Nom de la base"));
    auto* legendeDossier =
        creerLegende(c, QStringLiteral("Label1"), QStringLiteral("Répertoire de travail"), 240, 1080, 2895, 495, 12);
    c->lecteur_ =
        nomme(nommerControle(new DriveListBox(dossier.fichiers(), c), QStringLiteral("Drive1"), 240, 1560, 2175, 315),
              QStringLiteral("Lecteur courant"));
    c->dossiers_ =
        nommerControle(new DirListBox(dossier.fichiers(), c), QStringLiteral("listerepertoire"), 120, 2040, 2775, 2250);
    c->dossiers_->setToolTip(QStringLiteral("Répertoire courant"));
    setFondGris(c->dossiers_);
    nommer(legendeDossier, c->dossiers_);
    c->liste_ = creerListe(c, QStringLiteral("listefichier"), 3120, 2040, 6615, 2205);
    c->liste_->setAccessibleName(QStringLiteral("Fichiers de résultats"));
    setFondGris(c->liste_);
    c->ok_ = creerBouton(c, QStringLiteral("Valider"), QStringLiteral("Valider"), 480, 4440, 1455, 495);
    c->ok_->setToolTip(QStringLiteral("Valide le choix de la base"));
    c->annuler_ = creerBouton(c, QStringLiteral("Annuler"), QStringLiteral("Annuler"), 3480, 4440, 1575, 495);
    c->annuler_->setToolTip(QStringLiteral("Retour au menu principal"));
    c->relier();
    return c;
}

void ChoixFichier::relier() {
    setFondGris(nombase_);
    nommer(legendeNom_, nombase_);
    if (legendeListe_ != nullptr) {
        nommer(legendeListe_, liste_);
    }
    setPolice(liste_, 8.25);
    if (commences_ != nullptr) {
        setPolice(commences_, 8.25);
    }
    for (QPushButton* b : {ok_, annuler_}) {
        setPolice(b, 8.25);
    }
    if (filtre_ != Filtre::Resultats) {
        paintButton(annuler_, true);
    }
    paintButton(ok_, false);
    navigation_ = std::make_unique<Navigation>(lecteur_, dossiers_, dossier_, messages_);

    connect(lecteur_, &DriveListBox::Change, this, &ChoixFichier::changerLecteur);
    connect(dossiers_, &DirListBox::Change, this, &ChoixFichier::changerDossier);
    suivreChoix(liste_, [this](int ligne) { choisir(fichiers_, ligne, true); });
    if (commences_ != nullptr) {
        suivreChoix(commences_, [this](int ligne) { choisir(fichiersCommences_, ligne, false); });
    }
    connect(ok_, &QPushButton::clicked, this, &ChoixFichier::valide);
    connect(annuler_, &QPushButton::clicked, this, &ChoixFichier::annule);
}

void ChoixFichier::charger(const QString& dossierInitial) {
    nombase_->clear();
    nomChoisi_.clear();
    // The lists follow without raising their change: the scan below is the only one.
    navigation_->placer(dossierInitial, true);
    chercher();
    paintButton(ok_, false);
}

QString ChoixFichier::nomChoisi() const {
    return nombase_->text();
}

QString ChoixFichier::dossierListe() const {
    return dossiers_->path();
}

QString ChoixFichier::fichierNomme(const QString& nom) const {
    const services::FileService& fichiers = dossier_.fichiers();
    const QString fichier = nom + data::kExtension;
    if (fichiers.fileExists(fichier)) {
        return fichier;
    }
    for (const QStringList* liste : {&fichiers_, &fichiersCommences_}) {
        for (const QString& listee : *liste) {
            if (data::nomTestDeFichier(listee) == nom && fichiers.fileExists(listee)) {
                return listee;
            }
        }
    }
    return {};
}

void ChoixFichier::chercher() {
    {
        // Emptying the lists is no choice.
        const QSignalBlocker b1(liste_);
        liste_->clear();
        if (commences_ != nullptr) {
            const QSignalBlocker b2(commences_);
            commences_->clear();
        }
    }
    fichiers_.clear();
    fichiersCommences_.clear();
    QStringList noms;
    try {
        noms = dossier_.fichiers().listDatabases();
    } catch (const Error& e) {
        avertissements::afficherErreur(messages_, e, dossier_.chemin());
    }
    trierNoms(noms);
    for (const QString& nom : noms) {
        // Other programs' databases, the settings database and unreadable files get no line.
        const data::SondageFichier sondage = data::sonderFichier(services::joinPath(dossier_.chemin(), nom));
        if (filtre_ == Filtre::Resultats) {
            if (sondage.genre == data::GenreFichier::Resultats) {
                liste_->addItem(QStringLiteral("%1 (%2)").arg(nom, session::modeTest(sondage.examen).nomMode));
                fichiers_.append(nom);
            }
            continue;
        }
        if (sondage.genre == data::GenreFichier::Test) {
            liste_->addItem(nom);
            fichiers_.append(nom);
        }
        if (commences_ != nullptr && sondage.genre == data::GenreFichier::Resultats && !sondage.examen) {
            commences_->addItem(nom);
            fichiersCommences_.append(nom);
        }
    }
}

void ChoixFichier::choisir(const QStringList& noms, int ligne, bool nouveauTest) {
    if (ligne < 0 || ligne >= noms.size()) {
        return;
    }
    nomChoisi_ = data::nomTestDeFichier(noms.at(ligne));
    nombase_->setText(nomChoisi_);
    paintButton(ok_, true);
    nouveauTest_ = nouveauTest;
}

void ChoixFichier::changerLecteur() {
    if (navigation_->suivreLecteur()) {
        chercher();
        nombase_->setText(nomChoisi_);
    }
}

void ChoixFichier::changerDossier() {
    if (navigation_->suivreDossier()) {
        chercher();
        nombase_->setText(nomChoisi_);
    }
}

} // namespace kelvane::frames
