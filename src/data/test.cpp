#include "data/test.h"

#include "data/reglesfichiers.h"
#include "platform/db/database.h"

#include <QFileInfo>

namespace kelvane::data {

namespace {

std::vector<Test::Chapitre> lireChapitres(db::Recordset rs) {
    std::vector<Test::Chapitre> chapitres;
    chapitres.reserve(static_cast<std::size_t>(rs.RecordCount()));
    if (rs.RecordCount() == 0) {
        return chapitres;
    }
    const int nom = rs.FieldIndex(QStringLiteral("nom"));
    const int numero = rs.FieldIndex(QStringLiteral("numero"));
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        chapitres.push_back({rs.Fields(nom), rs.Fields(numero)});
    }
    return chapitres;
}

std::vector<Test::Question> lireQuestions(db::Recordset rs) {
    std::vector<Test::Question> questions;
    questions.reserve(static_cast<std::size_t>(rs.RecordCount()));
    if (rs.RecordCount() == 0) {
        return questions;
    }
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        Test::Question& q = questions.emplace_back();
        for (int i = 0; i < NbChampsQuestionTest; ++i) {
            q[static_cast<std::size_t>(i)] = rs.Fields(i);
        }
    }
    return questions;
}

} // namespace

std::variant<Test, TestRefuse> lireTest(const QString& chemin) {
    db::Database base = db::OpenDatabase(chemin, db::OpenMode::ReadOnly);
    if (!estTest(base)) {
        return TestRefuse{true, QStringLiteral("La base ") + QFileInfo(chemin).fileName() +
                                    QStringLiteral(" n'est pas un test d'habilitation électrique")};
    }
    if (auto refus = verifierTest(base)) {
        return TestRefuse{false, *refus};
    }
    Test test;
    test.fichier = QFileInfo(chemin).fileName();
    test.nom = nomTestDeFichier(test.fichier);
    db::Recordset numero = base.OpenRecordset(QStringLiteral("numero"));
    numero.setAbsolutePosition(0); // only the first settings record counts
    test.temps = numero.Fields(QStringLiteral("temps"));
    test.tolerance = numero.Fields(QStringLiteral("tolerance"));
    test.chapitres = lireChapitres(base.OpenRecordset(QStringLiteral("chapitre")));
    test.questions = lireQuestions(base.OpenRecordset(QStringLiteral("test")));
    return test;
}

} // namespace kelvane::data
