#include "results/rapport.h"

#include "platform/services/clock.h"
#include "results/verdict.h"

#include <cmath>

namespace kelvane::results {

namespace {

constexpr qsizetype LongueurLigneQuestion = 100;
constexpr int ColonneTexte = 5;
constexpr int ColonneMarque = 110;

} // namespace

qsizetype coupureQuestion(const QString& texte) {
    if (texte.size() <= LongueurLigneQuestion) {
        return texte.size();
    }
    for (qsizetype c = LongueurLigneQuestion; c >= 1; --c) {
        if (texte.at(c - 1) == QLatin1Char(' ')) {
            return c;
        }
    }
    return LongueurLigneQuestion; // one long word: cut where the line ends
}

Rapport lireRapport(const data::Eleve& eleve, const std::vector<data::QuestionResultats>& questions,
                    const QString& nomTest, int nbBonnes, int tolerance, const QDate& aujourdhui) {
    Rapport r;
    r.prenom = eleve.prenom;
    r.nom = eleve.nom;
    r.classe = eleve.classe;
    r.nomTest = nomTest;
    r.date = aujourdhui;
    r.nbBonnes = nbBonnes;
    r.tolerance = tolerance;
    r.nbQuestions = static_cast<int>(questions.size());
    r.questions.reserve(r.nbQuestions);
    for (const data::QuestionResultats& q : questions) {
        r.questions.append(Rapport::Ligne{q.texte, q.reussi});
    }
    return r;
}

services::PrintOutcome imprimerRapport(services::PrinterService& printer, const Rapport& r) {
    using services::NumberPiece;
    using services::Tab;

    printer.setFontName(QStringLiteral("Arial"));
    printer.setFontSize(10);
    printer.setBold(true);
    printer.printLine({Tab(2), r.prenom, QStringLiteral(" "), r.nom.toUpper(), QStringLiteral(" - "), r.classe,
                       QStringLiteral(" - Habilitation: "), r.nomTest, QStringLiteral(" - Le "),
                       services::shortDate(r.date)});
    printer.printLine();

    printer.setFontSize(8);
    printer.setBold(false);
    const double part = r.nbQuestions > 0 ? static_cast<double>(r.nbBonnes) * 100.0 / r.nbQuestions : 0.0;
    printer.printLine({Tab(ColonneTexte), QStringLiteral("Vous avez "), NumberPiece(r.nbBonnes),
                       QStringLiteral("bonnes réponses sur "), NumberPiece(r.nbQuestions),
                       QStringLiteral(" Questions soit "), NumberPiece(static_cast<qint64>(std::floor(part))),
                       QStringLiteral("%")});
    printer.printLine({Tab(ColonneTexte), estReussi(part, r.tolerance)
                                              ? QStringLiteral("Vous êtes Habilité(e)")
                                              : QStringLiteral("Vous n'êtes pas Habilité(e)")});
    printer.printLine();

    for (const Rapport::Ligne& q : r.questions) {
        const QString marque = marqueQuestion(q.reussi);
        const qsizetype c = coupureQuestion(q.question);
        if (c == q.question.size()) {
            printer.printLine({Tab(ColonneTexte), q.question, Tab(ColonneMarque), marque});
        } else {
            printer.printLine({Tab(ColonneTexte), q.question.left(c)});
            printer.printLine({Tab(ColonneTexte), q.question.mid(c), Tab(ColonneMarque), marque});
        }
    }
    return printer.endDoc();
}

} // namespace kelvane::results
