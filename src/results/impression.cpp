#include "results/impression.h"

#include "avertissements/avertissements.h"
#include "avertissements/erreurs.h"
#include "platform/error.h"
#include "platform/services/printer.h"
#include "platform/services/services.h"

#include <QDir>
#include <QFileInfo>

namespace kelvane::results {

bool imprimerAvecAvis(const services::Services& s, const QString& nomDocument, const QString& avisPdf,
                      const std::function<services::PrintOutcome(services::PrinterService&)>& imprimer) {
    if (s.printer == nullptr) {
        avertissements::afficherErreur(
            *s.messages, Error(services::ErreurImprimante, QStringLiteral("Aucune imprimante n'est disponible")));
        return false;
    }
    services::PrintOutcome sortie;
    try {
        s.printer->setDocumentName(nomDocument);
        sortie = imprimer(*s.printer);
    } catch (const Error& e) {
        s.printer->abortDoc();
        avertissements::afficherErreur(*s.messages, e);
        return false;
    }
    if (sortie.toPdf) {
        avertissements::avertir(*s.messages, avisPdf + QDir::toNativeSeparators(sortie.path));
    }
    return true;
}

bool imprimerResultats(const services::Services& s, const Rapport& rapport, const QString& fichierResultats) {
    return imprimerAvecAvis(
        s, QFileInfo(fichierResultats).fileName(),
        QStringLiteral("Aucune imprimante n'est installée: le rapport a été enregistré dans le fichier "),
        [&](services::PrinterService& imprimante) { return imprimerRapport(imprimante, rapport); });
}

} // namespace kelvane::results
