#pragma once

#include "data/etatsession.h"
#include "data/fichierresultats.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"

#include <QDir>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <utility>

// A results file as a finished session leaves it, opened with the tables the report reads.
namespace essai {

struct Question {
    QVariant texte; // null allowed
    bool reussi = false;
};

struct Candidat {
    QVariant nom = QStringLiteral("Dupont");
    QVariant prenom = QStringLiteral("Jean");
    QVariant classe = QStringLiteral("1ELEC");
};

inline QList<Question> questions(int total, int justes) {
    QList<Question> out;
    for (int i = 0; i < total; ++i) {
        out.append(Question{QStringLiteral("Question %1").arg(i + 1), i < justes});
    }
    return out;
}

struct Resultats {
    QTemporaryDir dossier;
    QString chemin;
    kelvane::db::Database base;
    kelvane::db::Recordset eleves;
    kelvane::db::Recordset question;
    kelvane::EtatSession etat;

    explicit Resultats(const QList<Question>& qs, int tolerance = 70, const Candidat& c = {}, bool avecEleve = true,
                       const QString& fichier = QStringLiteral("JDupont-B1V-Ex-061201.mdb")) {
        chemin = QDir(dossier.path()).filePath(fichier);
        base = kelvane::creerFichierResultats(chemin);
        base.BeginTrans();
        eleves = base.OpenRecordset(QStringLiteral("eleves"));
        if (avecEleve) {
            eleves.AddNew();
            eleves.SetField(QStringLiteral("nom"), c.nom);
            eleves.SetField(QStringLiteral("prenom"), c.prenom);
            eleves.SetField(QStringLiteral("classe"), c.classe);
            eleves.SetField(QStringLiteral("test"), QStringLiteral("B1V"));
            eleves.SetField(QStringLiteral("date"), QStringLiteral("01/01/01"));
            eleves.SetField(QStringLiteral("examen"), true);
            eleves.SetField(QStringLiteral("tolerance"), tolerance);
            eleves.Update();
        }
        question = base.OpenRecordset(QStringLiteral("question"));
        int numero = 0;
        for (const Question& q : qs) {
            question.AddNew();
            question.SetField(kelvane::champ::Question, q.texte);
            question.SetField(kelvane::champ::Reussi, q.reussi);
            question.SetField(kelvane::champ::Numero, ++numero);
            question.SetField(kelvane::champ::Chapitre, 1);
            question.Update();
        }
        base.CommitTrans();
        eleves = base.OpenRecordset(QStringLiteral("eleves"));
        question = base.OpenRecordset(QStringLiteral("question"));

        etat.NomTest = QStringLiteral("B1V");
        etat.ModeExamen = true;
        etat.Tolerance = static_cast<std::int16_t>(tolerance);
        etat.NbQuestions = static_cast<int>(qs.size());
        for (const Question& q : qs) {
            etat.NbBonnes += q.reussi ? 1 : 0;
        }
        etat.dimensionnerOrdre(etat.NbQuestions);
        for (int i = 0; i < etat.NbQuestions; ++i) {
            etat.Ordre[static_cast<std::size_t>(i)] = etat.NbQuestions - 1 - i; // shown last to first
        }
    }
};

} // namespace essai
