#include "classeur/classeur.h"

namespace kelvane::classeur {

void ecrireClasseur(const QString&, const bilan::Classe&, const bilan::Selection&) {}

} // namespace kelvane::classeur
