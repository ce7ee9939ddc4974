#include "frames/cadrecandidat.h"

#include "avertissements/avertissements.h"
#include "avertissements/erreurs.h"
#include "data/fichierresultats.h"
#include "platform/services/files.h"
#include "platform/services/messages.h"
#include "session/dossiertravail.h"
#include "widgets/clavier.h"
#include "widgets/colours.h"
#include "widgets/controls.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace kelvane::frames {

using namespace kelvane::widgets;

CadreCandidat::CadreCandidat(QWidget* parent, session::DossierTravail& dossier, services::MessageService& messages)
    : QGroupBox(QStringLiteral("Données de sauvegarde"), parent), dossier_(dossier), messages_(messages) {
    setObjectName(QStringLiteral("Frame1"));
    placer(this, 120, 120, 10575, 6975);
    styliserCadre(this, kBleuClair, kMarine);
    setPolice(this, 8.25, true);

    auto* label1 = creerLegende(this, QStringLiteral("Label1"), QStringLiteral("Nom:"), 2160, 600, 1200, 315);
    Text1 = creerTexte(this, QStringLiteral("Text1"), 3480, 600, 4200, 315);
    auto* label2 = creerLegende(this, QStringLiteral("Label2"), QStringLiteral("Prénom:"), 2160, 1080, 1200, 315);
    Text2 = creerTexte(this, QStringLiteral("Text2"), 3480, 1080, 4200, 315);
    auto* label3 = creerLegende(this, QStringLiteral("Label3"), QStringLiteral("Classe:"), 2160, 1560, 1200, 315);
    Text3 = creerTexte(this, QStringLiteral("Text3"), 3480, 1560, 4200, 315);
    nommer(label1, Text1);
    nommer(label2, Text2);
    nommer(label3, Text3);
    for (QLineEdit* t : {Text1, Text2, Text3}) {
        setPolice(t, 8.25);
    }

    Drive1 =
        nommerControle(new DriveListBox(dossier.fichiers(), this), QStringLiteral("Drive1"), 3480, 2160, 3720, 315);
    Drive1->setToolTip(QStringLiteral("Lecteur courant"));
    Drive1->setAccessibleName(QStringLiteral("Lecteur courant"));
    newrepertoire = creerBouton(this, QStringLiteral("newrepertoire"), {}, 7320, 2145, 360, 345);
    newrepertoire->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    newrepertoire->setIconSize(QSize(18, 18));
    newrepertoire->setToolTip(QStringLiteral("Création d'un nouveau répertoire"));
    newrepertoire->setAccessibleName(QStringLiteral("Création d'un nouveau répertoire"));
    listerepertoire = nommerControle(new DirListBox(dossier.fichiers(), this), QStringLiteral("listerepertoire"), 3480,
                                     2640, 4200, 3000);
    listerepertoire->setToolTip(QStringLiteral("Répertoire courant"));
    listerepertoire->setAccessibleName(QStringLiteral("Répertoire courant"));
    OkNom = creerBouton(this, QStringLiteral("OkNom"), QStringLiteral("Ok"), 3480, 6000, 1575, 495);
    AnnulerNom = creerBouton(this, QStringLiteral("AnnulerNom"), QStringLiteral("Annuler"), 6120, 6000, 1575, 495);
    paintButton(AnnulerNom, true);
    navigation_ = std::make_unique<Navigation>(Drive1, listerepertoire, dossier_, messages_);

    // OK follows the surname box at key down, before the key changes the text.
    connect(new Clavier(Text1), &Clavier::enfoncee, this, [this] { paintButton(OkNom, !Text1->text().isEmpty()); });
    connect(Drive1, &DriveListBox::Change, this, [this] { navigation_->suivreLecteur(); });
    connect(listerepertoire, &DirListBox::Change, this, [this] { navigation_->suivreDossier(); });
    connect(newrepertoire, &QPushButton::clicked, this, &CadreCandidat::nouveauDossier);
    connect(OkNom, &QPushButton::clicked, this, &CadreCandidat::valide);
    connect(AnnulerNom, &QPushButton::clicked, this, &CadreCandidat::annule);
}

CadreCandidat::~CadreCandidat() = default;

void CadreCandidat::charger() {
    navigation_->placer(dossier_.fichiers().currentFolder(), false);
    for (QLineEdit* t : {Text1, Text2, Text3}) {
        t->clear();
    }
}

void CadreCandidat::preparer() {
    paintButton(OkNom, false);
    Text1->setFocus();
}

session::Candidat CadreCandidat::candidat() const {
    return {Text1->text(), Text2->text(), Text3->text()};
}

bool CadreCandidat::nomsAcceptables() {
    // What goes into the file name: the whole surname, and the first character of the first name.
    const std::array<std::pair<QLineEdit*, QString>, 2> parties{
        {{Text1, Text1->text()}, {Text2, Text2->text().left(1)}}};
    for (const auto& [boite, partie] : parties) {
        if (const auto refus = data::controlerNom(partie)) {
            avertissements::avertir(messages_, *refus);
            boite->setFocus();
            return false;
        }
    }
    return true;
}

void CadreCandidat::nouveauDossier() {
    const QString nom =
        messages_.InputBox(QStringLiteral("Nom du répertoire:"), QStringLiteral("Création d'un répertoire"));
    if (nom.isEmpty()) {
        return;
    }
    const QString dossier = dossier_.chemin();
    try {
        dossier_.fichiers().makeFolder(nom);
    } catch (const Error& e) {
        avertissements::avertir(messages_, e.text());
        return;
    }
    // The list passes through the new folder and comes back, so that it shows the working folder with the new
    // folder among its sub-folders; the working folder itself does not change.
    try {
        listerepertoire->setPath(services::joinPath(dossier, nom));
        listerepertoire->setPath(dossier);
        listerepertoire->refresh();
        dossier_.changer(dossier);
    } catch (const Error& e) {
        avertissements::afficherErreur(messages_, e, dossier);
    }
}

} // namespace kelvane::frames
