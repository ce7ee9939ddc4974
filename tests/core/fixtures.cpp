#include "fixtures.h"

#include "data/fichierresultats.h"
#include "platform/db/recordset.h"
#include "platform/db/tabledef.h"

using kelvane::db::FieldType;

namespace fixtures {

namespace {

void ajouter(kelvane::db::TableDef& table, const QString& nom, FieldType type, int taille = 0) {
    table.Fields().Append(table.CreateField(nom, type, taille));
}

} // namespace

QString creerTest(const QDir& dossier, const QString& fichier, const Test& test) {
    const QString chemin = dossier.filePath(fichier);
    kelvane::db::Database base = kelvane::db::CreateDatabase(chemin);

    kelvane::db::TableDef chapitre = base.CreateTableDef(QStringLiteral("chapitre"));
    ajouter(chapitre, QStringLiteral("nom"), FieldType::Text, 80);
    ajouter(chapitre, QStringLiteral("numero"), FieldType::Integer);
    base.TableDefs().Append(chapitre);

    kelvane::db::TableDef numero = base.CreateTableDef(QStringLiteral("numero"));
    ajouter(numero, QStringLiteral("temps"), FieldType::Integer);
    ajouter(numero, QStringLiteral("tolerance"), FieldType::Integer);
    base.TableDefs().Append(numero);

    // The test's own names differ from the results file's: the copy goes by position.
    kelvane::db::TableDef questions = base.CreateTableDef(QStringLiteral("test"));
    const std::array<std::pair<const char*, FieldType>, 21> colonnes{{
        {"niveauB0", FieldType::Boolean}, {"niveauB1", FieldType::Boolean}, {"niveauB2", FieldType::Boolean},
        {"niveauBR", FieldType::Boolean}, {"niveauBC", FieldType::Boolean}, {"intitule", FieldType::Text},
        {"nbre", FieldType::Integer},     {"rep1", FieldType::Text},        {"rep2", FieldType::Text},
        {"rep3", FieldType::Text},        {"rep4", FieldType::Text},        {"rep5", FieldType::Text},
        {"sol1", FieldType::Integer},     {"sol2", FieldType::Integer},     {"sol3", FieldType::Integer},
        {"sol4", FieldType::Integer},     {"sol5", FieldType::Integer},     {"duree", FieldType::Integer},
        {"choix", FieldType::Boolean},    {"chap", FieldType::Integer},     {"num", FieldType::Integer},
    }};
    for (int i = 0; i < test.nbChamps; ++i) {
        if (i < 21) {
            const auto& [nom, type] = colonnes[static_cast<std::size_t>(i)];
            ajouter(questions, QLatin1StringView(nom), type,
                    type == FieldType::Text ? (i == 5 ? test.tailleTexteQuestion : 255) : 0);
        } else {
            ajouter(questions, QStringLiteral("extra%1").arg(i), FieldType::Integer);
        }
    }
    base.TableDefs().Append(questions);

    for (const QString& nom : test.tablesEnPlus) {
        kelvane::db::TableDef table = base.CreateTableDef(nom);
        ajouter(table, QStringLiteral("texte"), FieldType::Text, 50);
        base.TableDefs().Append(table);
    }

    // One transaction: a file of 2000 questions is written in one go instead of one sync per record.
    base.BeginTrans();
    kelvane::db::Recordset rs = base.OpenRecordset(QStringLiteral("chapitre"));
    for (const auto& [nom, num] : test.chapitres) {
        rs.AddNew();
        rs.SetField(QStringLiteral("nom"), nom);
        rs.SetField(QStringLiteral("numero"), num);
        rs.Update();
    }
    rs = base.OpenRecordset(QStringLiteral("numero"));
    for (const auto& [temps, tolerance] : test.parametres) {
        rs.AddNew();
        rs.SetField(QStringLiteral("temps"), temps);
        rs.SetField(QStringLiteral("tolerance"), tolerance);
        rs.Update();
    }
    rs = base.OpenRecordset(QStringLiteral("test"));
    for (const Question& q : test.questions) {
        rs.AddNew();
        const int champs = qMin(test.nbChamps, 21);
        const QList<QVariant> valeurs{q.niveaux[0],   q.niveaux[1],   q.niveaux[2],   q.niveaux[3],   q.niveaux[4],
                                      q.texte,        q.nbReponses,   q.reponses[0],  q.reponses[1],  q.reponses[2],
                                      q.reponses[3],  q.reponses[4],  q.attendues[0], q.attendues[1], q.attendues[2],
                                      q.attendues[3], q.attendues[4], q.temps,        q.qcm,          q.chapitre,
                                      q.numero};
        for (int i = 0; i < champs; ++i) {
            rs.SetField(i, valeurs.at(i));
        }
        for (int i = 21; i < test.nbChamps; ++i) {
            rs.SetField(i, 1000 + i);
        }
        rs.Update();
    }
    base.CommitTrans();
    return chemin;
}

QString creerResultats(const QDir& dossier, const QString& fichier, const Resultats& resultats) {
    const QString chemin = dossier.filePath(fichier);
    kelvane::db::Database base = kelvane::creerFichierResultats(chemin);

    base.BeginTrans();
    kelvane::db::Recordset rs = base.OpenRecordset(QStringLiteral("eleves"));
    if (resultats.avecEleve) {
        rs.AddNew();
        rs.SetField(QStringLiteral("nom"), resultats.nom);
        rs.SetField(QStringLiteral("prenom"), resultats.prenom);
        rs.SetField(QStringLiteral("classe"), resultats.classe);
        rs.SetField(QStringLiteral("test"), resultats.nomTest);
        rs.SetField(QStringLiteral("date"), resultats.date);
        rs.SetField(QStringLiteral("examen"), resultats.examen);
        rs.SetField(QStringLiteral("temps"), resultats.temps);
        rs.SetField(QStringLiteral("tolerance"), resultats.tolerance);
        rs.Update();
    }
    rs = base.OpenRecordset(QStringLiteral("chapitre"));
    for (const auto& [nom, num] : resultats.chapitres) {
        rs.AddNew();
        rs.SetField(QStringLiteral("nom"), nom);
        rs.SetField(QStringLiteral("numero"), num);
        rs.Update();
    }
    rs = base.OpenRecordset(QStringLiteral("question"));
    for (const QuestionResultat& q : resultats.questions) {
        rs.AddNew();
        for (int j = 0; j < 5; ++j) {
            rs.SetField(j, q.niveaux[static_cast<std::size_t>(j)]);
            rs.SetField(kelvane::champ::R1 + j, QString());
            rs.SetField(kelvane::champ::S1 + j, q.attendues[static_cast<std::size_t>(j)]);
            rs.SetField(kelvane::champ::RE1 + j, 0);
        }
        rs.SetField(kelvane::champ::Question, q.texte);
        rs.SetField(kelvane::champ::NbreReponse, 2);
        rs.SetField(kelvane::champ::Temps, 0);
        rs.SetField(kelvane::champ::Qcm, q.qcm);
        rs.SetField(kelvane::champ::Chapitre, q.chapitre);
        rs.SetField(kelvane::champ::Numero, q.numero);
        rs.SetField(kelvane::champ::Reussi, q.reussi);
        rs.Update();
    }
    base.CommitTrans();
    return chemin;
}

QString creerBase(const QDir& dossier, const QString& fichier, const QStringList& tables) {
    const QString chemin = dossier.filePath(fichier);
    kelvane::db::Database base = kelvane::db::CreateDatabase(chemin);
    for (const QString& nom : tables) {
        kelvane::db::TableDef table = base.CreateTableDef(nom);
        ajouter(table, QStringLiteral("texte"), FieldType::Text, 50);
        base.TableDefs().Append(table);
    }
    return chemin;
}

} // namespace fixtures
