#include "bilan/bilan.h"

namespace kelvane::bilan {

const std::array<QString, NbNiveaux>& nomsNiveaux() {
    static const std::array<QString, NbNiveaux> noms = {
        QStringLiteral("B0"), QStringLiteral("B1"), QStringLiteral("B2"), QStringLiteral("BR"), QStringLiteral("BC")};
    return noms;
}

Classe lireDossier(const QString& dossier, const Options&, const Progression&) {
    Classe classe;
    classe.dossier = dossier;
    return classe;
}

Selection tous(const Classe& classe) {
    Selection selection;
    for (const Passage& p : classe.passages) {
        selection.push_back(&p);
    }
    return selection;
}

Selection filtrer(const Classe& classe, const Filtre&) {
    return tous(classe);
}

Selection derniersPassages(const Selection& selection) {
    return selection;
}

std::vector<QString> tests(const Selection&) {
    return {};
}

std::vector<StatistiqueQuestion> statistiquesQuestions(const Classe&, const QString&, const Selection&) {
    return {};
}

Croisement croiser(const Classe&, const QString&, const Selection&) {
    return {};
}

std::array<int, 10> repartition(const Selection&, const QString&) {
    return {};
}

} // namespace kelvane::bilan
