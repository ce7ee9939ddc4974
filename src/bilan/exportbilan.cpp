#include "bilan/exportbilan.h"

namespace kelvane::bilan {

Tableau tableauEleves(const Classe&, const Selection&) {
    return {};
}
Tableau tableauQuestions(const Classe&, const Selection&) {
    return {};
}
Tableau tableauNiveauxChapitres(const Classe&, const Selection&) {
    return {};
}
QByteArray csv(const Tableau&) {
    return {};
}
void ecrireCsv(const QString&, const Classe&, const Selection&) {}

} // namespace kelvane::bilan
