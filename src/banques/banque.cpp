#include "banques/banque.h"

namespace kelvane::banques {

QStringList lignesRapport(const Rapport& rapport) {
    QStringList lignes;
    for (const QuestionEcartee& e : rapport.ecartees) {
        lignes << QStringLiteral("ligne %1, « %2 » : %3").arg(e.ligne).arg(e.titre, e.raison);
    }
    return lignes + rapport.notes;
}

} // namespace kelvane::banques
