#include "support/fixtures.h"

#include "data/fichierresultats.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/db/tabledef.h"

using namespace kelvane::db;
namespace champ = kelvane::data::champ;

namespace fixtures {

namespace {

void ajouter(TableDef& t, const QString& nom, FieldType type, int taille = 0) {
    Field f = t.CreateField(nom, type, taille);
    f.setAllowZeroLength(true);
    t.Fields().Append(f);
}

void ajouterTable(Database& base, const QString& nom, const std::vector<std::pair<QString, FieldType>>& champs) {
    TableDef t = base.CreateTableDef(nom);
    for (const auto& [champ, type] : champs) {
        ajouter(t, champ, type, type == FieldType::Text ? 80 : 0);
    }
    base.TableDefs().Append(t);
}

void ajouterChapitres(Database& base, const std::vector<Chapitre>& chapitres) {
    Recordset rs = base.OpenRecordset(QStringLiteral("chapitre"));
    for (const Chapitre& c : chapitres) {
        rs.AddNew();
        rs.SetField(QStringLiteral("nom"), c.nom);
        rs.SetField(QStringLiteral("numero"), c.numero);
        rs.Update();
    }
}

// The 21 fields a test and a results file share, in their order.
QList<QVariant> valeurs(const Question& q) {
    QList<QVariant> v;
    for (bool niveau : q.niveaux) {
        v << niveau;
    }
    v << q.texte << q.nbReponses;
    for (const QString& r : q.reponses) {
        v << r;
    }
    for (int s : q.attendu) {
        v << s;
    }
    v << q.temps << q.qcm << q.chapitre << q.numero;
    return v;
}

} // namespace

void creerHabilitation(const QString& path, const QVariant& code) {
    Database db = CreateDatabase(path);
    TableDef t = db.CreateTableDef(QStringLiteral("habilitation"));
    ajouter(t, QStringLiteral("code"), FieldType::Text, 20);
    db.TableDefs().Append(t);
    Recordset rs = db.OpenRecordset(QStringLiteral("habilitation"));
    rs.AddNew();
    rs.SetField(0, code);
    rs.Update();
    db.Close();
}

QString creerTest(const QString& path, const Test& test) {
    Database base = CreateDatabase(path);
    ajouterTable(base, QStringLiteral("chapitre"), {{"nom", FieldType::Text}, {"numero", FieldType::Integer}});
    ajouterTable(base, QStringLiteral("numero"), {{"temps", FieldType::Integer}, {"tolerance", FieldType::Integer}});

    TableDef questions = base.CreateTableDef(QStringLiteral("test"));
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
        ajouterTable(base, nom, {{"texte", FieldType::Text}});
    }

    // One transaction: a file of 2000 questions is written in one go instead of one sync per record.
    base.BeginTrans();
    ajouterChapitres(base, test.chapitres);
    Recordset rs = base.OpenRecordset(QStringLiteral("numero"));
    for (const auto& [temps, tolerance] : test.parametres) {
        rs.AddNew();
        rs.SetField(QStringLiteral("temps"), temps);
        rs.SetField(QStringLiteral("tolerance"), tolerance);
        rs.Update();
    }
    rs = base.OpenRecordset(QStringLiteral("test"));
    for (const Question& q : test.questions) {
        rs.AddNew();
        const QList<QVariant> v = valeurs(q);
        for (int i = 0; i < qMin(test.nbChamps, 21); ++i) {
            rs.SetField(i, v.at(i));
        }
        for (int i = 21; i < test.nbChamps; ++i) {
            rs.SetField(i, 1000 + i);
        }
        rs.Update();
    }
    base.CommitTrans();
    base.Close();
    return path;
}

void creerTest(const QString& path, int temps, int tolerance, const std::vector<Chapitre>& chapitres,
               const std::vector<Question>& questions) {
    Test test;
    test.parametres = {{temps, tolerance}};
    test.chapitres = chapitres;
    test.questions = questions;
    test.tailleTexteQuestion = 200;
    creerTest(path, test);
}

std::vector<Question> questionsSimples(int n) {
    std::vector<Question> qs;
    qs.reserve(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i) {
        Question q;
        q.niveaux = {true, false, false, false, false};
        q.texte = QStringLiteral("Question numéro %1 ?").arg(i);
        q.reponses = {QStringLiteral("Bonne réponse"), QStringLiteral("Mauvaise réponse"), {}, {}, {}};
        q.attendu = {1, 0, 0, 0, 0};
        q.numero = i;
        qs.push_back(q);
    }
    return qs;
}

Database creerFichierResultats(const QString& path) {
    Database base = CreateDatabase(path, kelvane::data::LocaleNouveauxFichiers);
    Transaction transaction(base);
    kelvane::data::creerTablesResultats(base);
    transaction.Commit();
    return base;
}

void remplirFichierResultats(Database& base, const kelvane::data::Test& test,
                             const kelvane::data::DonneesCandidat& candidat, bool examen, const QDate& jour) {
    Transaction transaction(base); // on failure the rollback keeps the first error, the one to show
    Recordset eleves = base.OpenRecordset(kelvane::data::kTableEleves);
    Recordset chapitres = base.OpenRecordset(kelvane::data::kTableChapitre);
    Recordset questions = base.OpenRecordset(kelvane::data::kTableQuestion);
    kelvane::data::remplirTablesResultats({eleves, chapitres, questions}, test, candidat, examen, jour);
    transaction.Commit();
}

QString creerResultats(const QString& path, const Resultats& resultats) {
    Database base = creerFichierResultats(path);
    base.BeginTrans();
    if (resultats.avecEleve) {
        Recordset rs = base.OpenRecordset(QStringLiteral("eleves"));
        rs.AddNew();
        const QList<QVariant> eleve{resultats.nom,  resultats.prenom, resultats.classe, resultats.nomTest,
                                    resultats.date, resultats.examen, resultats.temps,  resultats.tolerance};
        for (int i = 0; i < eleve.size(); ++i) {
            rs.SetField(i, eleve.at(i));
        }
        rs.Update();
    }
    ajouterChapitres(base, resultats.chapitres);
    Recordset rs = base.OpenRecordset(QStringLiteral("question"));
    for (const Question& q : resultats.questions) {
        rs.AddNew();
        const QList<QVariant> v = valeurs(q);
        for (int i = 0; i < v.size(); ++i) {
            rs.SetField(i, v.at(i));
        }
        for (int i = 0; i < 5; ++i) {
            rs.SetField(champ::RE1 + i, 0);
        }
        rs.SetField(champ::Reussi, q.reussi);
        rs.Update();
    }
    base.CommitTrans();
    base.Close();
    return path;
}

QString creerBase(const QString& path, const QStringList& tables) {
    Database base = CreateDatabase(path);
    for (const QString& nom : tables) {
        ajouterTable(base, nom, {{QStringLiteral("texte"), FieldType::Text}});
    }
    base.Close();
    return path;
}

} // namespace fixtures
