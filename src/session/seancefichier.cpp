#include "session/seancefichier.h"

#include "data/valeurs.h"
#include "session/modetest.h"
#include "session/ordre.h"

namespace kelvane::session {

results::Seance seanceDuFichier(data::FichierResultats& fichier) {
    const data::Eleve eleve = fichier.eleve();
    results::Seance seance;
    seance.nomTest = eleve.test;
    seance.libelleMode = modeTest(data::estVrai(eleve.examen)).libelleMode;
    seance.tolerance = data::entier16(eleve.tolerance, QStringLiteral("tolerance"));
    seance.nbQuestions = fichier.nbQuestions();
    // Rebuilt from zeros for every file: a number missing from this file stands for its first record, never for a
    // place left by a file read before.
    seance.ordre = ordreParNumero(fichier.numeros(), seance.nbQuestions, {});
    return seance;
}

results::TextesResultats resultatsDuFichier(data::FichierResultats& fichier) {
    const results::Seance seance = seanceDuFichier(fichier);
    return results::calculerResultats(fichier.eleve(), fichier.bilan(), fichier.chapitres(), seance,
                                      results::VerdictsVisualisation);
}

} // namespace kelvane::session
