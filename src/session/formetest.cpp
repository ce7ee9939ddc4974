#include "session/formetest.h"

#include "app/avertissements.h"
#include "app/commun.h"
#include "platform/services/services.h"
#include "results/cadreresultats.h"
#include "widgets/colours.h"
#include "widgets/controls.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

namespace kelvane::session {

using namespace kelvane::services;
using namespace kelvane::widgets;

namespace {

// Every frame fills the same place of the window, one at a time.
constexpr int kCadreGauche = 120;
constexpr int kCadreHaut = 120;
constexpr int kCadreLargeur = 10575;
constexpr int kCadreHauteur = 6975;

QGroupBox* cadre(QWidget* parent, const QString& nom, const QString& titre) {
    QGroupBox* g =
        creerCadre(parent, nom, titre, kCadreGauche, kCadreHaut, kCadreLargeur, kCadreHauteur, kBleuClair, kMarine);
    setPolice(g, 8.25, true);
    return g;
}

} // namespace

FormeTest::FormeTest(const ModeTest& mode, QWidget* parent) : widgets::Forme(parent), mode_(mode) {
    setObjectName(mode.nomForme);
    setWindowTitle(mode.titre);
    setCouleurs(this, kBleuClair);
    setFixedSize(twipsSize(kCadreLargeur + 2 * kCadreGauche, kCadreHauteur + 2 * kCadreHaut, this));
    setPolice(this, 8.25);

    construireChoix();
    construireCandidat();
    construireQuestions();
    construireResultats();

    Timer1 = services::installed().timers->createTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &Timer::tick, this, &FormeTest::Timer1_Timer);
}

FormeTest::~FormeTest() = default;

void FormeTest::construireChoix() {
    Frame2 = cadre(this, QStringLiteral("Frame2"), QStringLiteral("Ouverture du Test"));
    Label4 = creerLegende(Frame2, QStringLiteral("Label4"), QStringLiteral("Nom du Test"), 240, 360, 2040, 375);
    setPolice(Label4, 12, true);
    nombase = creerTexte(Frame2, QStringLiteral("nombase"), 2400, 360, 6000, 375);
    nombase->setToolTip(QStringLiteral("Nom de la base"));
    setFondGris(nombase);
    nommer(Label4, nombase);

    Drive2 = nommerControle(new DriveListBox(Frame2), QStringLiteral("Drive2"), 240, 960, 3000, 315);
    Drive2->setToolTip(QStringLiteral("Lecteur courant"));
    Drive2->setAccessibleName(QStringLiteral("Lecteur courant"));
    listerepertoire2 =
        nommerControle(new DirListBox(Frame2), QStringLiteral("listerepertoire2"), 240, 1440, 3000, 4440);
    listerepertoire2->setToolTip(QStringLiteral("Répertoire courant"));
    listerepertoire2->setAccessibleName(QStringLiteral("Répertoire courant"));

    const int largeurTests = mode_.reprise ? 3360 : 6840;
    Label29 = creerLegende(Frame2, QStringLiteral("Label29"), mode_.titreListeTests, 3480, 960, largeurTests, 315);
    listefichier = creerListe(Frame2, QStringLiteral("listefichier"), 3480, 1320, largeurTests, 4560);
    nommer(Label29, listefichier);
    if (mode_.reprise) {
        Label30 = creerLegende(Frame2, QStringLiteral("Label30"), QStringLiteral("Liste des Tests déjà commencés"),
                               7080, 960, 3240, 315);
        List3 = creerListe(Frame2, QStringLiteral("List3"), 7080, 1320, 3240, 4560);
        nommer(Label30, List3);
    }
    OkTest = creerBouton(Frame2, QStringLiteral("OkTest"), QStringLiteral("Ok"), 2400, 6240, 1575, 495);
    Annuler = creerBouton(Frame2, QStringLiteral("Annuler"), QStringLiteral("Annuler"), 6120, 6240, 1575, 495);
    paintButton(Annuler, true);

    connect(Drive2, &DriveListBox::Change, this, &FormeTest::Drive2_Change);
    connect(listerepertoire2, &DirListBox::Change, this, &FormeTest::listerepertoire2_Change);
    connect(listefichier, &QListWidget::itemClicked, this, &FormeTest::listefichier_Click);
    if (List3 != nullptr) {
        connect(List3, &QListWidget::itemClicked, this, &FormeTest::List3_Click);
    }
    connect(OkTest, &QPushButton::clicked, this, &FormeTest::OkTest_Click);
    connect(Annuler, &QPushButton::clicked, this, &FormeTest::Annuler_Click);
}

void FormeTest::construireCandidat() {
    Frame1 = cadre(this, QStringLiteral("Frame1"), QStringLiteral("Données de sauvegarde"));
    Label1 = creerLegende(Frame1, QStringLiteral("Label1"), QStringLiteral("Nom:"), 2160, 600, 1200, 315);
    Text1 = creerTexte(Frame1, QStringLiteral("Text1"), 3480, 600, 4200, 315);
    Label2 = creerLegende(Frame1, QStringLiteral("Label2"), QStringLiteral("Prénom:"), 2160, 1080, 1200, 315);
    Text2 = creerTexte(Frame1, QStringLiteral("Text2"), 3480, 1080, 4200, 315);
    Label3 = creerLegende(Frame1, QStringLiteral("Label3"), QStringLiteral("Classe:"), 2160, 1560, 1200, 315);
    Text3 = creerTexte(Frame1, QStringLiteral("Text3"), 3480, 1560, 4200, 315);
    nommer(Label1, Text1);
    nommer(Label2, Text2);
    nommer(Label3, Text3);
    for (QLineEdit* t : {Text1, Text2, Text3}) {
        setPolice(t, 8.25);
    }
    Text1->installEventFilter(this);

    Drive1 = nommerControle(new DriveListBox(Frame1), QStringLiteral("Drive1"), 3480, 2160, 3720, 315);
    Drive1->setToolTip(QStringLiteral("Lecteur courant"));
    Drive1->setAccessibleName(QStringLiteral("Lecteur courant"));
    newrepertoire = creerBouton(Frame1, QStringLiteral("newrepertoire"), {}, 7320, 2145, 360, 345);
    newrepertoire->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    newrepertoire->setIconSize(QSize(18, 18));
    newrepertoire->setToolTip(QStringLiteral("Création d'un nouveau répertoire"));
    newrepertoire->setAccessibleName(QStringLiteral("Création d'un nouveau répertoire"));
    listerepertoire = nommerControle(new DirListBox(Frame1), QStringLiteral("listerepertoire"), 3480, 2640, 4200, 3000);
    listerepertoire->setToolTip(QStringLiteral("Répertoire courant"));
    listerepertoire->setAccessibleName(QStringLiteral("Répertoire courant"));
    OkNom = creerBouton(Frame1, QStringLiteral("OkNom"), QStringLiteral("Ok"), 3480, 6000, 1575, 495);
    AnnulerNom = creerBouton(Frame1, QStringLiteral("AnnulerNom"), QStringLiteral("Annuler"), 6120, 6000, 1575, 495);
    paintButton(AnnulerNom, true);

    connect(Drive1, &DriveListBox::Change, this, &FormeTest::Drive1_Change);
    connect(listerepertoire, &DirListBox::Change, this, &FormeTest::listerepertoire_Change);
    connect(newrepertoire, &QPushButton::clicked, this, &FormeTest::newrepertoire_Click);
    connect(OkNom, &QPushButton::clicked, this, &FormeTest::OkNom_Click);
    connect(AnnulerNom, &QPushButton::clicked, this, &FormeTest::AnnulerNom_Click);
}

void FormeTest::construireQuestions() {
    Frame3 = cadre(this, QStringLiteral("Frame3"), {});
    Label5 = creerLegende(Frame3, QStringLiteral("Label5"), {}, 240, 240, 3600, 300);
    Label7 = creerLegende(Frame3, QStringLiteral("Label7"), {}, 3960, 240, 3360, 300);
    Label6 = creerLegende(Frame3, QStringLiteral("Label6"), {}, 7440, 240, 2900, 300);
    Label6->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Label31 = creerLegende(Frame3, QStringLiteral("Label31"), {}, 240, 720, 2400, 375);
    setPolice(Label31, 12, true);
    Label15 = creerLegende(Frame3, QStringLiteral("Label15"), QStringLiteral("Chapitre"), 2760, 780, 1000, 315);
    Label8 = creerLegende(Frame3, QStringLiteral("Label8"), {}, 3840, 780, 6480, 315);
    setCouleurs(Label8, QColor(), QColor(128, 0, 0));
    Label22 = creerLegende(Frame3, QStringLiteral("Label22"), {}, 240, 1200, 10080, 975);
    setPolice(Label22, 10, true);
    Label21 = creerLegende(Frame3, QStringLiteral("Label21"), {}, 240, 2280, 8400, 300);
    setPolice(Label21, 8.25, true, true);

    const std::array<const char*, 5> nomsLabels{"Label20", "Label19", "Label18", "Label17", "Label16"};
    for (std::size_t i = 0; i < 5; ++i) {
        const int haut = 2700 + 600 * static_cast<int>(i);
        const QString n = QString::number(i + 1);
        // The answer's text is centred on its row's box, on one or two lines.
        LabelsReponses[i] = creerLegende(Frame3, QString::fromLatin1(nomsLabels[i]), {}, 1440, haut - 90, 7200, 555);
        setPolice(LabelsReponses[i], 8.25, false);
        LabelsReponses[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        Check[i] = nommerControle(new QCheckBox(Frame3), QStringLiteral("Check") + n, 480, haut, 600, 375);
        Combo[i] = nommerControle(new QComboBox(Frame3), QStringLiteral("Combo") + n, 360, haut, 900, 375);
        Combo[i]->setEditable(true);
        Combo[i]->setInsertPolicy(QComboBox::NoInsert);
        Check[i]->hide();
        Combo[i]->hide();
    }

    Condo = creerLabel(Frame3, QStringLiteral("Condo"), {}, 8760, 2640, 1200, 1000);
    Terre = creerLabel(Frame3, QStringLiteral("Terre"), {}, 8760, 3720, 1200, 1000);
    ClasseII = creerLabel(Frame3, QStringLiteral("ClasseII"), {}, 8760, 4800, 1200, 1000);
    Condo->setAccessibleName(QStringLiteral("Symbole du condensateur"));
    Terre->setAccessibleName(QStringLiteral("Symbole de la terre"));
    ClasseII->setAccessibleName(QStringLiteral("Symbole de la classe II"));
    for (QLabel* image : {Condo, Terre, ClasseII}) {
        image->setAlignment(Qt::AlignCenter);
        image->hide();
    }

    Label13 = creerLegende(Frame3, QStringLiteral("Label13"), mode_.libelleTemps, 240, 6000, 3600, 375);
    Text4 = creerTexte(Frame3, QStringLiteral("Text4"), 3960, 6000, 1800, 375);
    Text4->setReadOnly(true);
    nommer(Label13, Text4);
    Precedent = creerBouton(Frame3, QStringLiteral("Precedent"), QStringLiteral("<<"), 3000, 6480, 1335, 375);
    Precedent->setAccessibleName(QStringLiteral("Question précédente"));
    Suivant = creerBouton(Frame3, QStringLiteral("Suivant"), QStringLiteral(">>"), 4560, 6480, 1335, 375);
    AnnulerQuestion =
        creerBouton(Frame3, QStringLiteral("AnnulerQuestion"), QStringLiteral("Abandonner"), 8400, 6480, 1695, 375);
    for (QPushButton* b : {Precedent, Suivant, AnnulerQuestion}) {
        setPolice(b, 8.25, true);
    }

    connect(Suivant, &QPushButton::clicked, this, &FormeTest::Suivant_Click);
    connect(Precedent, &QPushButton::clicked, this, &FormeTest::Precedent_Click);
    connect(AnnulerQuestion, &QPushButton::clicked, this, &FormeTest::AnnulerQuestion_Click);
}

void FormeTest::construireResultats() {
    Frame5 = new results::CadreResultats(this, {.retourner = mode_.retourQuestions, .label27Left = 360});
    placer(Frame5, kCadreGauche, kCadreHaut, kCadreLargeur, kCadreHauteur);
    connect(Frame5->Fermer, &QPushButton::clicked, this, &FormeTest::Fermer_Click);
    connect(Frame5->ImprimerResultat, &QPushButton::clicked, this, &FormeTest::ImprimerResultat_Click);
    connect(Frame5->List1, &QListWidget::itemClicked, this, &FormeTest::List1_Click);
    if (Frame5->Retourner != nullptr) {
        connect(Frame5->Retourner, &QPushButton::clicked, this, &FormeTest::Retourner_Click);
    }
}

bool FormeTest::eventFilter(QObject* watched, QEvent* event) {
    // OK follows the surname box at key down, before the key changes the text.
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        Text1_KeyDown();
    }
    return widgets::Forme::eventFilter(watched, event);
}

void FormeTest::closeEvent(QCloseEvent* event) {
    // The title bar's close button leaves the test as Annuler and Abandonner do: after a confirmation, with the
    // answer on screen recorded.
    if (Frame5->isVisible()) {
        event->accept();
        return;
    }
    if (!app::confirmerQuitter()) {
        event->ignore();
        return;
    }
    if (Frame3->isVisible() && !termine_) {
        EnregistrerReponse();
        termine_ = true;
    }
    Timer1->setEnabled(false);
    Commun::fermerBaseTest();
    event->accept();
}

FormeTest* creerEssayerTest(QWidget* parent) {
    return new FormeTest(modeEntrainement(), parent);
}
FormeTest* creerEvaluation(QWidget* parent) {
    return new FormeTest(modeEvaluation(), parent);
}

} // namespace kelvane::session
