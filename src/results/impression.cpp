#include "results/impression.h"

#include "app/avertissements.h"
#include "app/erreurs.h"
#include "platform/error.h"
#include "platform/services/printer.h"
#include "platform/services/services.h"
#include "results/rapport.h"

#include <QFileInfo>

namespace kelvane::results {

bool imprimerResultats(db::Recordset& rsEleves, db::Recordset& rsQuestion, const EtatSession& etat,
                       const QString& fichierResultats) {
    services::Services& s = services::installed();
    Rapport rapport;
    try {
        rapport = lireRapport(rsEleves, rsQuestion, etat, s.clock->today());
    } catch (const kelvane::Error& e) {
        app::afficherErreur(e, fichierResultats);
        return false;
    }
    if (s.printer == nullptr) {
        app::afficherErreur(
            kelvane::Error(services::ErreurImprimante, QStringLiteral("Aucune imprimante n'est disponible")));
        return false;
    }

    services::PrintOutcome sortie;
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
            services::Buttons::OkOnly, app::kAvertissement);
    }
    return true;
}

} // namespace kelvane::results
