#include "results/impression.h"

#include "app/avertissements.h"
#include "app/erreurs.h"
#include "platform/error.h"
#include "platform/ui/printer.h"
#include "platform/ui/services.h"
#include "results/rapport.h"

#include <QFileInfo>

namespace kelvane::results {

bool imprimerResultats(db::Recordset& rsEleves, db::Recordset& rsQuestion, const EtatSession& etat,
                       const QString& fichierResultats) {
    ui::Services& s = ui::services();
    Rapport rapport;
    try {
        rapport = lireRapport(rsEleves, rsQuestion, etat, s.clock->today());
    } catch (const kelvane::Error& e) {
        app::afficherErreur(e, fichierResultats);
        return false;
    }
    if (s.printer == nullptr) {
        app::afficherErreur(kelvane::Error(ui::ErreurImprimante, QStringLiteral("Aucune imprimante n'est disponible")));
        return false;
    }

    ui::PrintOutcome sortie;
    try {
        s.printer->setDocumentName(QFileInfo(fichierResultats).fileName());
        sortie = imprimerRapport(*s.printer, rapport);
    } catch (const kelvane::Error& e) {
        s.printer->abortDoc();
        app::afficherErreur(e);
        return false;
    }
    if (sortie.toPdf) {
        s.messages->MsgBox(
            QStringLiteral("Aucune imprimante n'est installée: le rapport a été enregistré dans le fichier ") +
                sortie.path,
            ui::vbOKOnly, app::kAvertissement);
    }
    return true;
}

} // namespace kelvane::results
