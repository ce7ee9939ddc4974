#include "support/fixtures.h"

#include "platform/db/database.h"

using namespace kelvane::db;

namespace fixtures {

void creerHabilitation(const QString& path, const QVariant& code) {
    Database db = CreateDatabase(path);
    TableDef t = db.CreateTableDef(QStringLiteral("habilitation"));
    Field f = t.CreateField(QStringLiteral("code"), FieldType::Text, 20);
    f.setAllowZeroLength(true);
    t.Fields().Append(f);
    db.TableDefs().Append(t);
    Recordset rs = db.OpenRecordset(QStringLiteral("habilitation"));
    rs.AddNew();
    rs.SetField(0, code);
    rs.Update();
    db.Close();
}

namespace {
void ajouter(TableDef& t, const QString& nom, FieldType type, int taille = 0) {
    Field f = t.CreateField(nom, type, taille);
    f.setAllowZeroLength(true);
    t.Fields().Append(f);
}
} // namespace

void creerTest(const QString& path, int temps, int tolerance, const std::vector<Chapitre>& chapitres,
               const std::vector<Question>& questions) {
    Database db = CreateDatabase(path);
    TableDef tc = db.CreateTableDef(QStringLiteral("chapitre"));
    ajouter(tc, QStringLiteral("nom"), FieldType::Text, 80);
    ajouter(tc, QStringLiteral("numero"), FieldType::Integer);
    db.TableDefs().Append(tc);
    TableDef tn = db.CreateTableDef(QStringLiteral("numero"));
    ajouter(tn, QStringLiteral("temps"), FieldType::Integer);
    ajouter(tn, QStringLiteral("tolerance"), FieldType::Integer);
    db.TableDefs().Append(tn);
    TableDef tt = db.CreateTableDef(QStringLiteral("test"));
    for (const char* n : {"B0", "B1", "B2", "BR", "BC"}) {
        ajouter(tt, QString::fromLatin1(n), FieldType::Boolean);
    }
    ajouter(tt, QStringLiteral("question"), FieldType::Text, 200);
    ajouter(tt, QStringLiteral("nbrereponse"), FieldType::Integer);
    for (int i = 1; i <= 5; ++i) {
        ajouter(tt, QStringLiteral("R%1").arg(i), FieldType::Text, 100);
    }
    for (int i = 1; i <= 5; ++i) {
        ajouter(tt, QStringLiteral("S%1").arg(i), FieldType::Integer);
    }
    ajouter(tt, QStringLiteral("temps"), FieldType::Integer);
    ajouter(tt, QStringLiteral("qcm"), FieldType::Boolean);
    ajouter(tt, QStringLiteral("chapitre"), FieldType::Integer);
    ajouter(tt, QStringLiteral("numero"), FieldType::Integer);
    db.TableDefs().Append(tt);

    db.BeginTrans();
    Recordset rn = db.OpenRecordset(QStringLiteral("numero"));
    rn.AddNew();
    rn.SetField(QStringLiteral("temps"), temps);
    rn.SetField(QStringLiteral("tolerance"), tolerance);
    rn.Update();
    Recordset rc = db.OpenRecordset(QStringLiteral("chapitre"));
    for (const Chapitre& c : chapitres) {
        rc.AddNew();
        rc.SetField(QStringLiteral("nom"), c.nom);
        rc.SetField(QStringLiteral("numero"), c.numero);
        rc.Update();
    }
    Recordset rt = db.OpenRecordset(QStringLiteral("test"));
    for (const Question& q : questions) {
        rt.AddNew();
        for (int i = 0; i < 5; ++i) {
            rt.SetField(i, q.niveaux[static_cast<std::size_t>(i)]);
            rt.SetField(7 + i, q.reponses[static_cast<std::size_t>(i)]);
            rt.SetField(12 + i, q.attendu[static_cast<std::size_t>(i)]);
        }
        rt.SetField(5, q.texte);
        rt.SetField(6, q.nbReponses);
        rt.SetField(17, 0);
        rt.SetField(18, q.qcm);
        rt.SetField(19, q.chapitre);
        rt.SetField(20, q.numero);
        rt.Update();
    }
    db.CommitTrans();
    db.Close();
}

std::vector<Question> questionsSimples(int n) {
    std::vector<Question> qs;
    qs.reserve(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i) {
        Question q;
        q.niveaux = {true, false, false, false, false};
        q.texte = QStringLiteral("Question numéro %1 ?").arg(i);
        q.nbReponses = 2;
        q.reponses = {QStringLiteral("Bonne réponse"), QStringLiteral("Mauvaise réponse"), {}, {}, {}};
        q.attendu = {1, 0, 0, 0, 0};
        q.numero = i;
        qs.push_back(q);
    }
    return qs;
}

} // namespace fixtures
