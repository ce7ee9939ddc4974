#include "results/resultats.h"

#include "data/valeurs.h"
#include "platform/error.h"
#include "platform/services/clock.h"

#include <cmath>
#include <map>
#include <utility>

namespace kelvane {

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

} // namespace

void tamponnerDate(db::Recordset& rsEleves, const QDate& aujourdhui) {
    rsEleves.setAbsolutePosition(0);
    rsEleves.Edit();
    try {
        rsEleves.SetField(QStringLiteral("date"), services::shortDate(aujourdhui));
        rsEleves.Update();
    } catch (...) {
        try {
            rsEleves.CancelUpdate();
        } catch (const Error&) {
            // The first failure is the one to show.
        }
        throw;
    }
}

TextesResultats calculerResultats(db::Recordset& rsEleves, db::Recordset& rsQuestion, db::Recordset& rsChapitreEleve,
                                  const EtatSession& etat, const Verdicts& mots) {
    TextesResultats textes;

    rsEleves.setAbsolutePosition(0);
    const QString date = texteChamp(rsEleves.Fields(QStringLiteral("date")));
    textes.label27 = texteChamp(rsEleves.Fields(QStringLiteral("prenom"))) + QLatin1Char(' ') +
                     texteChamp(rsEleves.Fields(QStringLiteral("nom"))).toUpper() + QLatin1Char(' ') +
                     texteChamp(rsEleves.Fields(QStringLiteral("classe")));
    textes.label28 =
        etat.NomTest +
        (etat.ModeExamen ? QLatin1StringView(" (Evaluation) du ") : QLatin1StringView(" (Entrainement) du ")) + date;

    std::array<int, 5> questionsNiveau{};
    std::array<int, 5> bonnesNiveau{};
    const int champReussi = rsQuestion.FieldIndex(QStringLiteral("reussi"));
    const int champQuestion = rsQuestion.FieldIndex(QStringLiteral("question"));
    const int champChapitre = rsQuestion.FieldIndex(QStringLiteral("chapitre"));
    for (int i = 0; i < etat.NbQuestions; ++i) {
        // A place the order never filled stands for the first stored question, as a fresh form's zeros do.
        const auto place = static_cast<std::size_t>(i);
        rsQuestion.setAbsolutePosition(place < etat.Ordre.size() ? etat.Ordre[place] : 0);
        const bool reussi = estVrai(rsQuestion.Fields(champReussi));
        for (std::size_t j = 0; j < questionsNiveau.size(); ++j) {
            if (estVrai(rsQuestion.Fields(static_cast<int>(j)))) {
                ++questionsNiveau[j];
                if (reussi) {
                    ++bonnesNiveau[j];
                }
            }
        }
        if (reussi) {
            ++textes.nbBonnes;
        }
        textes.list1.append(texteChamp(rsQuestion.Fields(champQuestion)).left(LongueurLigneQuestion) +
                            QLatin1StringView("      :") +
                            (reussi ? QLatin1StringView("Oui") : QLatin1StringView("Non")));
    }

    // The total is every record of the results file, which in a session is the number of places.
    const int total = rsQuestion.RecordCount();
    textes.label9 = QStringLiteral("Nombre de Bonnes Réponses: ") + nombre(textes.nbBonnes) +
                    QLatin1StringView(" sur ") + nombre(total) + QLatin1StringView(" questions");
    textes.pourcentage = total == 0 ? 0.0 : textes.nbBonnes * 100.0 / total;
    textes.reussi = !(textes.pourcentage < etat.Tolerance);
    const QString verdict =
        textes.reussi ? mots.reussite + QLatin1StringView(" (>=") + nombre(etat.Tolerance) + QLatin1StringView("%)")
                      : mots.echec + QLatin1StringView(" (<") + nombre(etat.Tolerance) + QLatin1StringView("%)");
    textes.label10 =
        nombre(pourcentageCoupe(textes.nbBonnes, total)) + QStringLiteral("% de bonnes réponses, ") + verdict;

    static const std::array<QLatin1StringView, 5> etiquettes = {QLatin1StringView("B0:"), QLatin1StringView("B1:"),
                                                                QLatin1StringView("B2:"), QLatin1StringView("BR:"),
                                                                QLatin1StringView("BC:")};
    for (std::size_t j = 0; j < etiquettes.size(); ++j) {
        textes.niveaux[j] = questionsNiveau[j] != 0
                                ? etiquettes[j] + nombre(bonnesNiveau[j]) + QLatin1StringView(" sur ") +
                                      nombre(questionsNiveau[j]) + QLatin1StringView(" soit ") +
                                      nombre(pourcentageCoupe(bonnesNiveau[j], questionsNiveau[j])) + QLatin1Char('%')
                                : etiquettes[j] + QLatin1StringView(" Pas de questions pour ce niveau");
    }

    // Per chapter, over every question record in stored order, whatever the session's order. One walk of the
    // questions gathers the counts of each chapter number; a chapter then reads its own.
    std::map<double, std::pair<int, int>> parChapitre; // number -> questions, right answers
    if (rsQuestion.RecordCount() > 0) {
        rsQuestion.MoveFirst();
        while (!rsQuestion.Eof()) {
            bool ok = false;
            const QVariant chapitre = rsQuestion.Fields(champChapitre);
            const double numero = chapitre.isNull() ? 0.0 : chapitre.toDouble(&ok);
            if (ok) {
                auto& compte = parChapitre[numero];
                ++compte.first;
                if (estVrai(rsQuestion.Fields(champReussi))) {
                    ++compte.second;
                }
            }
            rsQuestion.MoveNext();
        }
    }
    if (rsChapitreEleve.RecordCount() > 0) {
        const int champNumero = rsChapitreEleve.FieldIndex(QStringLiteral("numero"));
        const int champNom = rsChapitreEleve.FieldIndex(QStringLiteral("nom"));
        rsChapitreEleve.MoveFirst();
        while (!rsChapitreEleve.Eof()) {
            bool ok = false;
            const QVariant numero = rsChapitreEleve.Fields(champNumero);
            const double valeur = numero.isNull() ? 0.0 : numero.toDouble(&ok);
            const auto trouve = ok ? parChapitre.find(valeur) : parChapitre.end();
            if (trouve != parChapitre.end()) {
                const auto [questions, bonnes] = trouve->second;
                textes.list2.append(texteChamp(rsChapitreEleve.Fields(champNom)) + QLatin1StringView(":   ") +
                                    nombre(pourcentageCoupe(bonnes, questions)) + QLatin1Char('%'));
            }
            rsChapitreEleve.MoveNext();
        }
    }

    rsEleves.setAbsolutePosition(0);
    return textes;
}

} // namespace kelvane
