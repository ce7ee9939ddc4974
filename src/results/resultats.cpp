#include "results/resultats.h"

#include "platform/error.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace kelvane::results {

namespace {

constexpr int LongueurLigneQuestion = 110;

// A share as the screen shows it: the whole part, never rounded up. Counts are ints, so a session of any size
// works, and an empty one shows 0 rather than dividing by zero.
int pourcentageCoupe(int bonnes, int total) {
    return total == 0 ? 0 : static_cast<int>(std::floor(bonnes * 100.0 / total));
}

QString nombre(int valeur) {
    return QString::number(valeur);
}

// A chapter number as the file holds it; nothing when it is not a number.
std::optional<double> numeroChapitre(const QVariant& valeur) {
    bool ok = false;
    const double numero = valeur.isNull() ? 0.0 : valeur.toDouble(&ok);
    return ok ? std::optional<double>(numero) : std::nullopt;
}

} // namespace

Scores calculerScores(const std::vector<data::QuestionResultats>& questions,
                      const std::vector<data::Chapitre>& chapitres, const Seance& seance) {
    Scores scores;
    scores.total = static_cast<int>(questions.size());
    scores.positions.reserve(static_cast<std::size_t>(std::max(seance.nbQuestions, 0)));
    for (int i = 0; i < seance.nbQuestions; ++i) {
        const auto place = static_cast<std::size_t>(i);
        const int position = place < seance.ordre.size() ? seance.ordre[place] : 0;
        if (position < 0 || position >= scores.total) {
            throw Error(errc::InvalidArgument,
                        QStringLiteral("Argument non valide: aucune question n'est à la position %1").arg(position));
        }
        const data::QuestionResultats& q = questions[static_cast<std::size_t>(position)];
        for (std::size_t j = 0; j < scores.questionsNiveau.size(); ++j) {
            if (q.niveaux[j]) {
                ++scores.questionsNiveau[j];
                scores.bonnesNiveau[j] += q.reussi ? 1 : 0;
            }
        }
        scores.bonnes += q.reussi ? 1 : 0;
        scores.positions.push_back(position);
    }
    scores.pourcentage = scores.total == 0 ? 0.0 : scores.bonnes * 100.0 / scores.total;
    scores.reussi = estReussi(scores.pourcentage, seance.tolerance);

    // Per chapter, over every question record in stored order, whatever the session's order.
    std::map<double, std::pair<int, int>> parChapitre; // number -> questions, right answers
    for (const data::QuestionResultats& q : questions) {
        if (const auto numero = numeroChapitre(q.chapitre)) {
            auto& compte = parChapitre[*numero];
            ++compte.first;
            compte.second += q.reussi ? 1 : 0;
        }
    }
    for (const data::Chapitre& chapitre : chapitres) {
        const auto numero = numeroChapitre(chapitre.numero);
        const auto trouve = numero ? parChapitre.find(*numero) : parChapitre.end();
        if (trouve != parChapitre.end()) {
            scores.chapitres.push_back({chapitre.nom, *numero, trouve->second.first, trouve->second.second});
        }
    }
    return scores;
}

TextesResultats calculerResultats(const data::Eleve& eleve, const std::vector<data::QuestionResultats>& questions,
                                  const std::vector<data::Chapitre>& chapitres, const Seance& seance,
                                  const Verdicts& mots) {
    const Scores scores = calculerScores(questions, chapitres, seance);
    TextesResultats textes;
    textes.candidat = eleve.prenom + QLatin1Char(' ') + eleve.nom.toUpper() + QLatin1Char(' ') + eleve.classe;
    textes.entete = seance.nomTest + seance.libelleMode + QLatin1StringView(" du ") + eleve.date;
    for (const int position : scores.positions) {
        const data::QuestionResultats& q = questions[static_cast<std::size_t>(position)];
        textes.lignesQuestions.append(q.texte.left(LongueurLigneQuestion) + QLatin1StringView("      :") +
                                      marqueQuestion(q.reussi));
    }
    textes.nbBonnes = scores.bonnes;
    textes.pourcentage = scores.pourcentage;
    textes.reussi = scores.reussi;

    textes.nombreBonnes = QStringLiteral("Nombre de Bonnes Réponses: ") + nombre(scores.bonnes) +
                          QLatin1StringView(" sur ") + nombre(scores.total) + QLatin1StringView(" questions");
    const QString verdict =
        textes.reussi ? mots.reussite + QLatin1StringView(" (>=") + nombre(seance.tolerance) + QLatin1StringView("%)")
                      : mots.echec + QLatin1StringView(" (<") + nombre(seance.tolerance) + QLatin1StringView("%)");
    textes.verdict =
        nombre(pourcentageCoupe(scores.bonnes, scores.total)) + QStringLiteral("% de bonnes réponses, ") + verdict;

    for (std::size_t j = 0; j < data::kNiveaux.size(); ++j) {
        const QString etiquette = data::kNiveaux[j] + QLatin1Char(':');
        const int nb = scores.questionsNiveau[j];
        const int bonnes = scores.bonnesNiveau[j];
        textes.niveaux[j] = nb != 0 ? etiquette + nombre(bonnes) + QLatin1StringView(" sur ") + nombre(nb) +
                                          QLatin1StringView(" soit ") + nombre(pourcentageCoupe(bonnes, nb)) +
                                          QLatin1Char('%')
                                    : etiquette + QLatin1StringView(" Pas de questions pour ce niveau");
    }
    for (const Scores::Chapitre& chapitre : scores.chapitres) {
        textes.lignesChapitres.append(chapitre.nom + QLatin1StringView(":   ") +
                                      nombre(pourcentageCoupe(chapitre.bonnes, chapitre.questions)) + QLatin1Char('%'));
    }
    return textes;
}

} // namespace kelvane::results
