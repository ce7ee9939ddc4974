#include "atelier/fenetreatelier.h"

#include "atelier/actionstests.h"
#include "atelier/dossiersrecents.h"
#include "atelier/listetests.h"
#include "atelier/noms.h"
#include "atelier/placeediteur.h"
#include "atelier/titre.h"
#include "classe/fenetreclasse.h"
#include "data/format.h"
#include "editeur/editeurtest.h"
#include "widgets/ecran.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QUndoGroup>
#include <QVBoxLayout>

namespace kelvane::atelier {

namespace {

const QString kCleGeometrie = QStringLiteral("fenetre/geometrie");
const QString kCleSeparation = QStringLiteral("fenetre/separation");

QAction* action(QObject* parent, const QString& nom, const QString& texte, const QList<QKeySequence>& touches,
                const QString& aide) {
    auto* a = new QAction(texte, parent);
    a->setObjectName(nom);
    a->setShortcuts(touches);
    a->setStatusTip(aide);
    return a;
}

// A push button for an action: its text without the mnemonic, its shortcut in the tool tip, enabled with it.
QPushButton* bouton(QAction* a, const QString& nom, QWidget* parent) {
    QString texte = a->text();
    texte.remove(QLatin1Char('&'));
    auto* b = new QPushButton(texte, parent);
    b->setObjectName(nom);
    b->setAccessibleName(texte);
    b->setAutoDefault(false);
    const QString touche = a->shortcut().toString(QKeySequence::NativeText);
    b->setToolTip(touche.isEmpty() ? a->statusTip() : QStringLiteral("%1 (%2)").arg(a->statusTip(), touche));
    b->setEnabled(a->isEnabled());
    QObject::connect(b, &QPushButton::clicked, a, &QAction::trigger);
    QObject::connect(a, &QAction::changed, b, [a, b] { b->setEnabled(a->isEnabled()); });
    return b;
}

} // namespace

FenetreAtelier::FenetreAtelier(const services::Services& services, QWidget* parent)
    : QMainWindow(parent), services_(services) {
    setObjectName(QStringLiteral("FenetreAtelier"));
    setWindowTitle(kTitreAtelier);
    annulations_ = new QUndoGroup(this);
    creerActions();
    creerMenus();

    separation_ = new QSplitter(Qt::Horizontal, this);
    separation_->setObjectName(QStringLiteral("separation"));
    separation_->setChildrenCollapsible(false);
    separation_->addWidget(creerPanneauTests());
    place_ = new PlaceEditeur(services_, *annulations_, separation_);
    separation_->addWidget(place_);
    separation_->setStretchFactor(1, 1);
    setCentralWidget(separation_);
    actions_ = new ActionsTests(services_, *liste_, *place_, this);
    relierActions();

    etatDossier_ = new QLabel(this);
    etatDossier_->setObjectName(QStringLiteral("etatDossier"));
    statusBar()->addPermanentWidget(etatDossier_, 1);

    QSettings reglages;
    if (restoreGeometry(reglages.value(kCleGeometrie).toByteArray())) {
        widgets::ramenerDansLEcran(this);
    } else {
        widgets::ouvrirDansLEcran(this, QSize(1200, 800));
    }
    if (!separation_->restoreState(reglages.value(kCleSeparation).toByteArray())) {
        separation_->setSizes({230, 970});
    }
    majActions();
}

FenetreAtelier::~FenetreAtelier() = default;

editeur::EditeurTest* FenetreAtelier::editeur() const {
    return place_->editeur();
}

QString FenetreAtelier::dossierEssai() const {
    return actions_->dossierEssai();
}

void FenetreAtelier::creerActions() {
    actOuvrirDossier_ = action(this, QStringLiteral("actionOuvrirDossier"), QStringLiteral("&Ouvrir un dossier…"),
                               {QKeySequence::Open}, QStringLiteral("Ouvrir le dossier d'une classe"));
    actNouveau_ = action(this, QStringLiteral("actionNouveau"), QStringLiteral("&Nouveau test…"), {QKeySequence::New},
                         QStringLiteral("Créer un test dans le dossier"));
    actDupliquer_ = action(this, QStringLiteral("actionDupliquer"), QStringLiteral("&Dupliquer…"),
                           {QKeySequence(Qt::CTRL | Qt::Key_D)}, QStringLiteral("Copier le test sous un autre nom"));
    actRenommer_ = action(this, QStringLiteral("actionRenommer"), QStringLiteral("Re&nommer…"),
                          {QKeySequence(Qt::Key_F2)}, QStringLiteral("Changer le nom du test"));
    actSupprimer_ = action(this, QStringLiteral("actionSupprimer"), QStringLiteral("&Supprimer…"),
                           {QKeySequence::Delete}, QStringLiteral("Supprimer le test du dossier"));
    actImporter_ = action(this, QStringLiteral("actionImporter"), QStringLiteral("&Importer…"),
                          {QKeySequence(Qt::CTRL | Qt::Key_I)},
                          QStringLiteral("Faire un test d'une source CSV ou d'un fichier Access"));
    actExporter_ = action(this, QStringLiteral("actionExporter"), QStringLiteral("E&xporter…"),
                          {QKeySequence(Qt::CTRL | Qt::Key_E)}, QStringLiteral("Écrire la source CSV du test"));
    actEssayer_ =
        action(this, QStringLiteral("actionEssayer"), QStringLiteral("&Essayer le test"), {QKeySequence(Qt::Key_F5)},
               QStringLiteral("Passer le test comme un élève, sans laisser de résultats dans le dossier"));
    actEnregistrer_ = action(this, QStringLiteral("actionEnregistrer"), QStringLiteral("&Enregistrer"),
                             {QKeySequence::Save}, QStringLiteral("Enregistrer le test ouvert"));
    actQuitter_ = action(this, QStringLiteral("actionQuitter"), QStringLiteral("&Quitter"),
                         {QKeySequence(Qt::CTRL | Qt::Key_Q)}, QStringLiteral("Fermer l'atelier"));
    actClasse_ = action(this, QStringLiteral("actionResultatsClasse"), QStringLiteral("&Résultats de la classe…"),
                        {QKeySequence(Qt::CTRL | Qt::Key_R)},
                        QStringLiteral("Voir les résultats d'un dossier : élèves, questions, niveaux et chapitres"));
    actAnnuler_ = annulations_->createUndoAction(this, QStringLiteral("&Annuler"));
    actAnnuler_->setObjectName(QStringLiteral("actionAnnuler"));
    actAnnuler_->setShortcuts(QKeySequence::Undo);
    actRetablir_ = annulations_->createRedoAction(this, QStringLiteral("&Rétablir"));
    actRetablir_->setObjectName(QStringLiteral("actionRetablir"));
    actRetablir_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});

    // Delete acts on the list only: in the editor the key belongs to the texts.
    actSupprimer_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
}

void FenetreAtelier::relierActions() {
    connect(actOuvrirDossier_, &QAction::triggered, this, &FenetreAtelier::choisirDossier);
    // Each file action ends with the actions' states brought up to date.
    const std::pair<QAction*, void (ActionsTests::*)()> surTests[] = {
        {actNouveau_, &ActionsTests::nouveau},   {actDupliquer_, &ActionsTests::dupliquer},
        {actRenommer_, &ActionsTests::renommer}, {actSupprimer_, &ActionsTests::supprimer},
        {actImporter_, &ActionsTests::importer}, {actExporter_, &ActionsTests::exporter},
        {actEssayer_, &ActionsTests::essayer}};
    for (const auto& [action, methode] : surTests) {
        const auto faire = methode;
        connect(action, &QAction::triggered, this, [this, faire] {
            // What the lambda holds is read before the action: an action may end the window (a folder's third
            // wrong code) and its connection with it.
            const QPointer<FenetreAtelier> fenetre(this);
            ActionsTests* actions = actions_;
            (actions->*faire)();
            if (fenetre) {
                fenetre->majActions();
            }
        });
    }
    connect(actEnregistrer_, &QAction::triggered, this, [this] {
        if (editeur() != nullptr) {
            editeur()->enregistrer();
        }
    });
    connect(actQuitter_, &QAction::triggered, this, &QWidget::close);
    connect(actClasse_, &QAction::triggered, this, &FenetreAtelier::resultatsClasse);

    connect(actions_, &ActionsTests::dossierModifie, this, &FenetreAtelier::relire);
    connect(actions_, &ActionsTests::information, this,
            [this](const QString& texte) { statusBar()->showMessage(texte, 15000); });
    connect(place_, &PlaceEditeur::modificationChangee, this, &QWidget::setWindowModified);
    connect(place_, &PlaceEditeur::enregistre, this, &FenetreAtelier::surEnregistre);
    connect(place_, &PlaceEditeur::nouveauOublie, this, &FenetreAtelier::surNouveauOublie);
    connect(place_, &PlaceEditeur::editeurChange, this, [this] {
        setWindowModified(editeur() != nullptr && editeur()->estModifie());
        majActions();
    });
    connect(recents_, &DossiersRecents::dossierDemande, this, &FenetreAtelier::ouvrirDossierEtFermerSiRefuse);
}

void FenetreAtelier::creerMenus() {
    QMenu* fichier = menuBar()->addMenu(QStringLiteral("&Fichier"));
    fichier->addAction(actOuvrirDossier_);
    QMenu* menuRecents = fichier->addMenu(QStringLiteral("Dossiers &récents"));
    menuRecents->setObjectName(QStringLiteral("menuRecents"));
    recents_ = new DossiersRecents(menuRecents, this);
    fichier->addSeparator();
    fichier->addAction(actNouveau_);
    fichier->addAction(actImporter_);
    fichier->addAction(actExporter_);
    fichier->addSeparator();
    fichier->addAction(actEnregistrer_);
    fichier->addSeparator();
    fichier->addAction(actQuitter_);

    QMenu* edition = menuBar()->addMenu(QStringLiteral("É&dition"));
    edition->addAction(actAnnuler_);
    edition->addAction(actRetablir_);

    QMenu* test = menuBar()->addMenu(QStringLiteral("&Test"));
    test->addAction(actDupliquer_);
    test->addAction(actRenommer_);
    test->addAction(actSupprimer_);
    test->addSeparator();
    test->addAction(actEssayer_);

    QMenu* classe = menuBar()->addMenu(QStringLiteral("&Classe"));
    classe->addAction(actClasse_);
}

QWidget* FenetreAtelier::creerPanneauTests() {
    auto* panneau = new QWidget(this);
    panneau->setObjectName(QStringLiteral("panneauTests"));
    auto* disposition = new QVBoxLayout(panneau);
    auto* titre = new QLabel(QStringLiteral("Te&sts du dossier"), panneau);
    liste_ = new ListeTests(panneau);
    titre->setBuddy(liste_);
    liste_->addAction(actSupprimer_);
    disposition->addWidget(titre);
    disposition->addWidget(liste_, 1);

    auto* boutons = new QGridLayout;
    const std::pair<QAction*, const char*> actions[] = {
        {actNouveau_, "boutonNouveau"},     {actDupliquer_, "boutonDupliquer"}, {actRenommer_, "boutonRenommer"},
        {actSupprimer_, "boutonSupprimer"}, {actImporter_, "boutonImporter"},   {actExporter_, "boutonExporter"}};
    int place = 0;
    for (const auto& [action, nom] : actions) {
        boutons->addWidget(bouton(action, QLatin1String(nom), panneau), place / 2, place % 2);
        ++place;
    }
    boutons->addWidget(bouton(actEssayer_, QStringLiteral("boutonEssayer"), panneau), 3, 0, 1, 2);
    disposition->addLayout(boutons);

    connect(liste_, &ListeTests::testChoisi, this, &FenetreAtelier::surTestChoisi, Qt::QueuedConnection);
    return panneau;
}

Acces FenetreAtelier::ouvrirDossier(const QString& dossier) {
    const QFileInfo info(dossier);
    if (!info.isDir()) {
        avertir(QStringLiteral("Le dossier « %1 » n'existe pas.").arg(QDir::toNativeSeparators(dossier)));
        return Acces::Annule;
    }
    if (!place_->fermer()) {
        return Acces::Annule;
    }
    const QString absolu = info.absoluteFilePath();
    const Acces acces = demanderCode(absolu, *services_.messages, isVisible() ? this : nullptr);
    if (acces != Acces::Ouvert) {
        return acces;
    }
    dossier_ = absolu;
    actions_->setDossier(absolu);
    recents_->retenir(absolu);
    majTitre();
    liste_->remplir({});
    relire();
    return Acces::Ouvert;
}

void FenetreAtelier::choisirDossier() {
    const QString depart = recents_->dernier().isEmpty() ? dossier_ : recents_->dernier();
    const QString choisi = services_.dialogs->chooseFolder(QStringLiteral("Ouvrir un dossier"), depart);
    if (!choisi.isEmpty()) {
        ouvrirDossierEtFermerSiRefuse(choisi);
    }
}

void FenetreAtelier::ouvrirDossierEtFermerSiRefuse(const QString& dossier) {
    if (ouvrirDossier(dossier) == Acces::Ferme) {
        close();
    }
}

void FenetreAtelier::relire() {
    liste_->remplir(lireTestsDuDossier(dossier_));
    if (editeur() != nullptr) {
        const QString fichier = QFileInfo(editeur()->chemin()).fileName();
        if (!QFileInfo::exists(editeur()->chemin())) {
            liste_->ajouterNouveau(fichier);
        } else {
            liste_->choisirSansSignal(fichier);
        }
    }
    const int n = liste_->nombreTests();
    QString etat = n == 0 ? QStringLiteral("Aucun test dans ce dossier")
                          : (n == 1 ? QStringLiteral("1 test") : QStringLiteral("%1 tests").arg(n));
    if (!QFileInfo::exists(QDir(dossier_).filePath(data::kFichierParametres))) {
        etat += QStringLiteral(" — ce dossier n'a pas de fichier %1 : les tests s'y préparent, mais le programme des "
                               "élèves a besoin de ce fichier pour y démarrer.")
                    .arg(data::kFichierParametres);
    }
    etatDossier_->setText(etat);
    majActions();
}

void FenetreAtelier::majActions() {
    const bool dossierOuvert = !dossier_.isEmpty();
    const bool test = !testCourant().isEmpty();
    actNouveau_->setEnabled(dossierOuvert);
    actImporter_->setEnabled(dossierOuvert);
    for (QAction* a : {actDupliquer_, actRenommer_, actSupprimer_, actExporter_, actEssayer_}) {
        a->setEnabled(test);
    }
    actEnregistrer_->setEnabled(editeur() != nullptr);
}

void FenetreAtelier::majTitre() {
    setWindowTitle(QStringLiteral("Kelvane — Atelier — %1[*]").arg(QDir::toNativeSeparators(dossier_)));
}

void FenetreAtelier::surNouveauOublie() {
    if (!dossier_.isEmpty()) {
        // The line of a new test never saved goes with its editor.
        const QString courant = liste_->fichierCourant();
        relire();
        liste_->choisirSansSignal(courant);
    }
}

void FenetreAtelier::surTestChoisi(const QString& fichier, const QString& precedent) {
    if (fichier != liste_->fichierCourant() || liste_->courantEstNouveau()) {
        return; // a choice made before another one of the window's own (a new test, an import)
    }
    if (editeur() != nullptr && QFileInfo(editeur()->chemin()).fileName() == fichier) {
        majActions();
        return;
    }
    if (!place_->fermer()) {
        liste_->choisirSansSignal(precedent);
        return;
    }
    liste_->choisirSansSignal(fichier);
    place_->ouvrir(QDir(dossier_).filePath(fichier));
    majActions();
}

void FenetreAtelier::surEnregistre(const QString& cheminTest) {
    if (auto ligne = lireLigne(cheminTest)) {
        liste_->mettreAJour(*ligne);
    }
    liste_->choisirSansSignal(QFileInfo(cheminTest).fileName());
    statusBar()->showMessage(QStringLiteral("« %1 » enregistré").arg(nomAffiche(QFileInfo(cheminTest).fileName())),
                             15000);
    majActions();
}

void FenetreAtelier::closeEvent(QCloseEvent* event) {
    if (!place_->fermer()) {
        event->ignore();
        return;
    }
    QSettings reglages;
    reglages.setValue(kCleGeometrie, saveGeometry());
    reglages.setValue(kCleSeparation, separation_->saveState());
    event->accept();
}

void FenetreAtelier::resultatsClasse() {
    const QString depart = classe_ != nullptr && !classe_->dossier().isEmpty() ? classe_->dossier() : dossier_;
    const QString choisi = services_.dialogs->chooseFolder(QStringLiteral("Dossier des résultats"), depart);
    if (choisi.isEmpty()) {
        return;
    }
    if (classe_ == nullptr) {
        classe_ = new classe::FenetreClasse(services_, this);
    }
    if (classe_->ouvrir(choisi)) {
        classe_->show();
        classe_->raise();
        classe_->activateWindow();
    }
}

void FenetreAtelier::avertir(const QString& texte) {
    services_.messages->MsgBox(texte, services::Buttons::OkOnly, kTitreAtelier);
}

QString FenetreAtelier::testCourant() const {
    const QString fichier = liste_->fichierCourant();
    return !fichier.isEmpty() && !liste_->courantEstNouveau() ? fichier : QString();
}

} // namespace kelvane::atelier
