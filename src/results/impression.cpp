#include "results/impression.h"

#include "avertissements/avertissements.h"
#include "avertissements/erreurs.h"
#include "platform/error.h"
#include "platform/services/printer.h"
#include "platform/services/services.h"

#include <QFileInfo>

namespace kelvane::results {

bool imprimerResultats(const services::Services& s, const Rapport& rapport, const QString& fichierResultats) {
    if (s.printer == nullptr) {
        avertissements::afficherErreur(
            *s.messages, Error(services::ErreurImprimante, QStringLiteral("Aucune imprimante n'est disponible")));
        return false;
    }
    services::PrintOutcome sortie;
    try {
        s.printer->setDocumentName(QFileInfo(fichierResultats).fileName());
        sortie = imprimerRapport(*s.printer, rapport);
    } catch (const Error& e) {
        s.printer->abortDoc();
        avertissements::afficherErreur(*s.messages, e);
        return false;
    }
    if (sortie.toPdf) {
        avertissements::avertir(
            *s.messages,
            QStringLiteral("Aucune imprimante n'est installée: le rapport a été enregistré dans le fichier ") +
                sortie.path);
    }
    return true;
}

} // namespace kelvane::results
