#include "results/rapport.h"

#include "data/fichierresultats.h"
#include "platform/services/clock.h"

#include <cmath>

namespace kelvane {

namespace {

constexpr qsizetype LongueurLigneQuestion = 100;
constexpr int ColonneTexte = 5;
constexpr int ColonneMarque = 110;

QString texte(const QVariant& valeur) {
    return valeur.isNull() ? QString() : valeur.toString();
}

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

Rapport lireRapport(db::Recordset& rsEleves, db::Recordset& rsQuestion, const EtatSession& etat,
                    const QDate& aujourdhui) {
    Rapport r;
    rsEleves.setAbsolutePosition(0);
    r.prenom = texte(rsEleves.Fields(QStringLiteral("prenom")));
    r.nom = texte(rsEleves.Fields(QStringLiteral("Nom")));
    r.classe = texte(rsEleves.Fields(QStringLiteral("classe")));
    r.nomTest = etat.NomTest;
    r.date = aujourdhui;
    r.nbBonnes = etat.NbBonnes;
    r.tolerance = etat.Tolerance;
    r.nbQuestions = rsQuestion.RecordCount();
    if (r.nbQuestions > 0) {
        rsQuestion.MoveFirst();
        while (!rsQuestion.Eof()) {
            r.questions.append(
                Rapport::Ligne{texte(rsQuestion.Fields(champ::Question)), rsQuestion.Fields(champ::Reussi).toBool()});
            rsQuestion.MoveNext();
        }
    }
    return r;
}

services::PrintOutcome imprimerRapport(services::PrinterService& printer, const Rapport& r) {
    using services::Number;
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
    printer.printLine({Tab(ColonneTexte), QStringLiteral("Vous avez "), Number(r.nbBonnes),
                       QStringLiteral("bonnes réponses sur "), Number(r.nbQuestions),
                       QStringLiteral(" Questions soit "), Number(static_cast<qint64>(std::floor(part))),
                       QStringLiteral("%")});
    printer.printLine({Tab(ColonneTexte), part < r.tolerance ? QStringLiteral("Vous n'êtes pas Habilité(e)")
                                                             : QStringLiteral("Vous êtes Habilité(e)")});
    printer.printLine();

    for (const Rapport::Ligne& q : r.questions) {
        const QString marque = q.reussi ? QStringLiteral("Oui") : QStringLiteral("Non");
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

services::PrintOutcome ImprimerRapport(services::PrinterService& printer, db::Recordset& rsEleves,
                                       db::Recordset& rsQuestion, const EtatSession& etat, const QDate& aujourdhui) {
    return imprimerRapport(printer, lireRapport(rsEleves, rsQuestion, etat, aujourdhui));
}

} // namespace kelvane
