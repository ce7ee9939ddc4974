#include "bilan/bilan.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

namespace kelvane::bilan {

namespace {

// A candidate as the lines name one, without regard to case or surrounding blanks, with the test.
std::tuple<QString, QString, QString, QString> candidatEtTest(const Passage& p) {
    return {p.nom.trimmed().toCaseFolded(), p.prenom.trimmed().toCaseFolded(), p.classe.trimmed().toCaseFolded(),
            p.test};
}

// Whether `a` was taken after `b`: by day (an unreadable one first), then by the file's last change.
bool plusRecent(const Passage& a, const Passage& b) {
    if (a.jour != b.jour) {
        return !b.jour.isValid() || (a.jour.isValid() && a.jour > b.jour);
    }
    return a.modifie > b.modifie;
}

double part(int justes, int questions) {
    return justes * 100.0 / questions;
}

// A question number for ordering: numbers as numbers, then any other text.
bool avantParNumero(const QString& a, const QString& b) {
    bool okA = false;
    bool okB = false;
    const double na = a.toDouble(&okA);
    const double nb = b.toDouble(&okB);
    if (okA != okB) {
        return okA;
    }
    return okA ? na < nb : a < b;
}

struct Compte {
    int questions = 0;
    int justes = 0;
    void ajouter(bool juste) {
        ++questions;
        justes += juste ? 1 : 0;
    }
    std::optional<double> pourcentage() const {
        return questions == 0 ? std::nullopt : std::optional<double>(part(justes, questions));
    }
};

} // namespace

Selection tous(const Classe& classe) {
    Selection selection;
    selection.reserve(classe.passages.size());
    for (const Passage& p : classe.passages) {
        selection.push_back(&p);
    }
    return selection;
}

Selection filtrer(const Classe& classe, const Filtre& filtre) {
    Selection selection;
    for (const Passage& p : classe.passages) {
        const bool dates = filtre.du.isNull() && filtre.au.isNull();
        if ((!filtre.classe.isEmpty() && p.classe.compare(filtre.classe, Qt::CaseInsensitive) != 0) ||
            (!filtre.test.isEmpty() && p.test != filtre.test) || (filtre.examen && p.examen != *filtre.examen) ||
            (filtre.reussi && p.reussi != *filtre.reussi) || (!dates && !p.jour.isValid()) ||
            (!filtre.du.isNull() && p.jour < filtre.du) || (!filtre.au.isNull() && p.jour > filtre.au)) {
            continue;
        }
        selection.push_back(&p);
    }
    return filtre.dernierSeulement ? derniersPassages(selection) : selection;
}

Selection derniersPassages(const Selection& selection) {
    std::map<std::tuple<QString, QString, QString, QString>, const Passage*> derniers;
    for (const Passage* p : selection) {
        const Passage*& dernier = derniers[candidatEtTest(*p)];
        if (dernier == nullptr || !plusRecent(*dernier, *p)) {
            dernier = p; // on a tie, the later in the reading order
        }
    }
    Selection gardes;
    for (const Passage* p : selection) {
        if (derniers[candidatEtTest(*p)] == p) {
            gardes.push_back(p);
        }
    }
    return gardes;
}

std::vector<QString> tests(const Selection& selection) {
    std::set<QString> noms;
    for (const Passage* p : selection) {
        noms.insert(p->test);
    }
    return {noms.begin(), noms.end()};
}

std::vector<StatistiqueQuestion> statistiquesQuestions(const Classe& classe, const QString& test,
                                                       const Selection& selection) {
    const auto trouve = classe.questionsParTest.find(test);
    if (trouve == classe.questionsParTest.end()) {
        return {};
    }
    const std::vector<EnonceQuestion>& questions = trouve->second;
    std::vector<StatistiqueQuestion> stats(questions.size());
    for (std::size_t i = 0; i < questions.size(); ++i) {
        stats[i].index = static_cast<int>(i);
        stats[i].question = &questions[i];
    }
    for (const Passage* p : selection) {
        if (p->test != test) {
            continue;
        }
        for (const ReponseQuestion& r : p->questions) {
            StatistiqueQuestion& s = stats[static_cast<std::size_t>(r.question)];
            ++s.candidats;
            s.repondues += r.repondue ? 1 : 0;
            s.justes += r.juste ? 1 : 0;
            for (std::size_t j = 0; j < s.cochees.size(); ++j) {
                s.cochees[j] += (r.cases >> j) & 1U;
            }
        }
    }
    std::erase_if(stats, [](const StatistiqueQuestion& s) { return s.candidats == 0; });
    for (StatistiqueQuestion& s : stats) {
        s.pourcentage = part(s.justes, s.candidats);
    }
    std::stable_sort(stats.begin(), stats.end(), [](const StatistiqueQuestion& a, const StatistiqueQuestion& b) {
        if (*a.pourcentage != *b.pourcentage) {
            return *a.pourcentage < *b.pourcentage;
        }
        return avantParNumero(a.question->numero, b.question->numero);
    });
    return stats;
}

Croisement croiser(const Classe& classe, const QString& test, const Selection& selection) {
    Croisement croisement;
    const auto questions = classe.questionsParTest.find(test);
    if (questions == classe.questionsParTest.end()) {
        return croisement;
    }
    if (const auto chapitres = classe.chapitresParTest.find(test); chapitres != classe.chapitresParTest.end()) {
        croisement.chapitres = chapitres->second;
    }
    // A chapter that questions carry without a record of its own still gets its row.
    for (const EnonceQuestion& q : questions->second) {
        if (std::none_of(croisement.chapitres.begin(), croisement.chapitres.end(),
                         [&q](const PourcentageChapitre& c) { return c.numero == q.chapitre; })) {
            croisement.chapitres.push_back({q.chapitre, QStringLiteral("Chapitre %1").arg(q.chapitre), std::nullopt});
        }
    }
    std::map<int, std::size_t> ligne;
    for (std::size_t i = 0; i < croisement.chapitres.size(); ++i) {
        ligne.try_emplace(croisement.chapitres[i].numero, i);
    }
    std::vector<std::array<Compte, NbNiveaux>> cellules(croisement.chapitres.size());
    std::vector<Compte> parChapitre(croisement.chapitres.size());
    std::array<Compte, NbNiveaux> parNiveau{};
    Compte ensemble;
    for (const Passage* p : selection) {
        if (p->test != test) {
            continue;
        }
        for (const ReponseQuestion& r : p->questions) {
            const EnonceQuestion& q = questions->second[static_cast<std::size_t>(r.question)];
            const std::size_t l = ligne.at(q.chapitre);
            parChapitre[l].ajouter(r.juste);
            ensemble.ajouter(r.juste);
            for (std::size_t j = 0; j < NbNiveaux; ++j) {
                if (q.niveaux[j]) {
                    cellules[l][j].ajouter(r.juste);
                    parNiveau[j].ajouter(r.juste);
                }
            }
        }
    }
    croisement.cellules.resize(croisement.chapitres.size());
    for (std::size_t i = 0; i < croisement.chapitres.size(); ++i) {
        croisement.chapitres[i].pourcentage = parChapitre[i].pourcentage();
        for (std::size_t j = 0; j < NbNiveaux; ++j) {
            croisement.cellules[i][j] = cellules[i][j].pourcentage();
        }
    }
    for (std::size_t j = 0; j < NbNiveaux; ++j) {
        croisement.niveaux[j] = parNiveau[j].pourcentage();
    }
    croisement.ensemble = ensemble.pourcentage();
    return croisement;
}

int pourcentageCoupe(double pourcentage) {
    return static_cast<int>(std::floor(pourcentage));
}

std::array<int, 10> repartition(const Selection& selection, const QString& test) {
    std::array<int, 10> classes{};
    for (const Passage* p : selection) {
        if (p->test == test) {
            const int i = std::clamp(static_cast<int>(std::floor(p->pourcentage / 10.0)), 0, 9);
            ++classes[static_cast<std::size_t>(i)];
        }
    }
    return classes;
}

} // namespace kelvane::bilan
