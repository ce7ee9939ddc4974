#pragma once

#include "data/fichierresultats.h"
#include "results/resultats.h"

namespace kelvane::session {

// What the viewer counts from an open results file: the file's own test, mode and pass mark, and its questions in
// the order of their numbers (a number that no record carries stands for the first record). The pass mark must be a
// 16-bit whole number (error 6 beyond, 13 when not a number).
results::Seance seanceDuFichier(data::FichierResultats& fichier);

// The results screen of a results file as the viewer shows it, the verdict spoken about the candidate.
results::TextesResultats resultatsDuFichier(data::FichierResultats& fichier);

} // namespace kelvane::session
