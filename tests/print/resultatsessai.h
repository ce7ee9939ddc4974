#pragma once

#include "results/rapport.h"

#include <QDate>
#include <QList>
#include <QString>

// The report of a finished session, as the session reads it from its results file: the candidate, every question
// in stored order with its mark, the count of right answers and the pass mark.
namespace essai {

struct Question {
    QString texte;
    bool reussi = false;
};

struct Candidat {
    QString nom = QStringLiteral("Dupont");
    QString prenom = QStringLiteral("Jean");
    QString classe = QStringLiteral("1ELEC");
};

inline const QDate Aujourdhui(2001, 12, 6);

inline QList<Question> questions(int total, int justes) {
    QList<Question> out;
    for (int i = 0; i < total; ++i) {
        out.append(Question{QStringLiteral("Question %1").arg(i + 1), i < justes});
    }
    return out;
}

inline kelvane::results::Rapport rapport(const QList<Question>& qs, int tolerance = 70, const Candidat& c = {}) {
    kelvane::data::Eleve eleve;
    eleve.nom = c.nom;
    eleve.prenom = c.prenom;
    eleve.classe = c.classe;
    eleve.test = QStringLiteral("B1V");
    eleve.date = QStringLiteral("01/01/01"); // the report prints the day of printing, not the stored date
    std::vector<kelvane::data::QuestionResultats> questions;
    int bonnes = 0;
    for (const Question& q : qs) {
        kelvane::data::QuestionResultats question;
        question.texte = q.texte;
        question.reussi = q.reussi;
        questions.push_back(question);
        bonnes += q.reussi ? 1 : 0;
    }
    return kelvane::results::lireRapport(eleve, questions, QStringLiteral("B1V"), bonnes, tolerance, Aujourdhui);
}

} // namespace essai
