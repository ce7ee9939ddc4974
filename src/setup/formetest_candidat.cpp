// The candidate and the save folder (Frame1).
#include "app/avertissements.h"
#include "app/commun.h"
#include "app/erreurs.h"
#include "platform/services/services.h"
#include "session/formetest.h"
#include "setup/navigation.h"
#include "widgets/colours.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"

#include <QLineEdit>
#include <QPushButton>

namespace kelvane::session {

using namespace kelvane::services;
using namespace kelvane::widgets;

void FormeTest::Text1_KeyDown() {
    // Runs before the key changes the text: the first character typed in an empty box leaves OK disabled.
    paintButton(OkNom, !Text1->text().isEmpty());
}

void FormeTest::Drive1_Change() {
    setup::suivreLecteur(Drive1, listerepertoire, etat.RepertoireEleve);
}

void FormeTest::listerepertoire_Change() {
    setup::suivreDossier(listerepertoire, etat.RepertoireEleve);
}

void FormeTest::newrepertoire_Click() {
    const QString nom = services::installed().messages->InputBox(QStringLiteral("Nom du répertoire:"),
                                                                 QStringLiteral("Création d'un répertoire"));
    if (nom.isEmpty()) {
        return;
    }
    const QString dossier = etat.RepertoireEleve;
    try {
        services::installed().files->makeFolder(nom);
    } catch (const kelvane::Error& e) {
        services::installed().messages->MsgBox(e.text(), services::Buttons::OkOnly, app::kAvertissement);
        return;
    }
    // The list passes through the new folder and comes back, so that it shows the working folder with the new
    // folder among its sub-folders; the working folder itself does not change.
    try {
        listerepertoire->setPath(joinPath(dossier, nom));
        listerepertoire->setPath(dossier);
        listerepertoire->refresh();
        changerDossier(dossier);
    } catch (const kelvane::Error& e) {
        app::afficherErreur(e, dossier);
    }
}

void FormeTest::AnnulerNom_Click() {
    if (app::confirmerQuitter()) {
        Commun::fermerBaseTest();
        Unload();
    }
}

} // namespace kelvane::session
