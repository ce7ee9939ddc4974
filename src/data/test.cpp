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

std::vector<QuestionTest> lireQuestions(db::Recordset& rs) {
    std::vector<QuestionTest> questions(static_cast<std::size_t>(rs.RecordCount()));
    for (std::size_t i = 0; i < questions.size(); ++i) {
        rs.setAbsolutePosition(static_cast<int>(i));
        std::vector<QVariant> champs = rs.GetRow();
        std::move(champs.begin(), champs.begin() + NbChampsQuestionTest, questions[i].begin());
    }
    return questions;
}

} // namespace

std::variant<Test, TestRefuse> lireTest(const QString& chemin, LectureImages images) {
    db::Database base = db::OpenDatabase(chemin, db::OpenMode::ReadOnly);
    const QString fichier = QFileInfo(chemin).fileName();
    if (!estTest(base)) {
        return TestRefuse{true, QStringLiteral("La base ") + fichier +
                                    QStringLiteral(" n'est pas un test d'habilitation électrique")};
    }
    // A test that cannot give a session is refused before any results file is made from it.
    Test test;
    test.fichier = fichier;
    test.nom = nomTestDeFichier(fichier);
    db::Recordset numero = base.OpenRecordset(kTableNumero);
    if (numero.RecordCount() == 0) {
        return TestRefuse{false, QStringLiteral("Le test %1 n'a pas de paramètres (table numero vide)").arg(test.nom)};
    }
    db::Recordset questions = base.OpenRecordset(kTableTest);
    if (questions.FieldCount() < NbChampsQuestionTest) {
        return TestRefuse{
            false,
            QStringLiteral("Le test %1 n'a pas le format attendu: sa table test a %2 champs au lieu d'au moins %3")
                .arg(test.nom)
                .arg(questions.FieldCount())
                .arg(NbChampsQuestionTest)};
    }
    if (questions.RecordCount() == 0) {
        return TestRefuse{false, QStringLiteral("Le test %1 ne contient aucune question").arg(test.nom)};
    }
    numero.setAbsolutePosition(0); // only the first settings record counts
    test.temps = numero.Fields(QStringLiteral("temps"));
    test.tolerance = numero.Fields(QStringLiteral("tolerance"));
    test.chapitres = lireChapitres(base.OpenRecordset(kTableChapitre));
    test.questions = lireQuestions(questions);
    if (images == LectureImages::Avec) {
        test.images = lireImagesSiLisibles(base);
    }
    return test;
}

} // namespace kelvane::data
