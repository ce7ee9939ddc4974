#include "classe.h"

#include "data/test.h"
#include "session/session.h"
#include "support/doubles/scriptedservices.h"
#include "support/fixtures.h"

#include <QDir>
#include <QList>

using namespace kelvane;

namespace classe {

namespace {

std::vector<fixtures::Question> questions() {
    std::vector<fixtures::Question> qs = fixtures::questionsSimples(6);
    const QList<std::array<bool, 5>> niveaux{{true, false, false, false, false}, {true, true, false, false, false},
                                             {false, true, false, false, false}, {false, true, false, true, false},
                                             {false, false, false, true, false}, {true, false, false, false, false}};
    const QList<int> chapitres{1, 1, 2, 2, 2, 1};
    for (std::size_t i = 0; i < qs.size(); ++i) {
        qs[i].niveaux = niveaux[static_cast<qsizetype>(i)];
        qs[i].chapitre = chapitres[static_cast<qsizetype>(i)];
        qs[i].nbReponses = 3;
        qs[i].reponses[2] = QStringLiteral("Réponse tentante");
    }
    return qs;
}

// The ticks given at places 1, 2...; an empty list stops the session there.
void passer(std::map<QString, results::TextesResultats>& ecrans, doubles::ScriptedServices& s, const data::Test& test,
            const session::ModeTest& mode, const session::Candidat& candidat, const QDate& jour, const QDir& dossier,
            const QList<QList<int>>& coches) {
    s.clock.date = jour;
    session::Session session(mode, s.files, s.clock, s.random);
    session.demarrer(test, candidat, dossier.path());
    session.tirerOrdreEvaluation();
    for (const QList<int>& c : coches) {
        if (c.isEmpty()) {
            break;
        }
        session::Reponse r;
        for (const int j : c) {
            r.cases[static_cast<std::size_t>(j - 1)] = true;
        }
        session.enregistrer(r);
        session.avancer();
    }
    session.tamponnerDate();
    ecrans[session.nomFichier()] = session.resultats(results::VerdictsVisualisation);
}

} // namespace

std::map<QString, results::TextesResultats> creer(const QString& chemin) {
    const QDir dossier(chemin);
    fixtures::creerHabilitation(dossier.filePath(QStringLiteral("habilitation.mdb")), QStringLiteral("CODE"));
    const QString cheminTest = dossier.filePath(QStringLiteral("B1V.mdb"));
    fixtures::creerTest(cheminTest, 600, 70, {{QStringLiteral("Généralités"), 1}, {QStringLiteral("Sécurité"), 2}},
                        questions());
    const data::Test test = std::get<data::Test>(data::lireTest(cheminTest));

    std::map<QString, results::TextesResultats> ecrans;
    doubles::ScriptedServices s;
    s.clock.sec = 0; // the evaluation keeps the stored order
    const QList<int> un{1};
    const QList<int> deux{2};
    passer(ecrans, s, test, session::modeEntrainement(),
           {QStringLiteral("Martin"), QStringLiteral("Alice"), QStringLiteral("1A")}, {2001, 12, 6}, dossier,
           {un, un, un, un, un, un});
    passer(ecrans, s, test, session::modeEntrainement(),
           {QStringLiteral("Durand"), QStringLiteral("Bruno"), QStringLiteral("1A")}, {2001, 12, 6}, dossier,
           {deux, deux, deux, un, un, un});
    passer(ecrans, s, test, session::modeEntrainement(),
           {QStringLiteral("Petit"), QStringLiteral("Chloé"), QStringLiteral("1B")}, {2001, 12, 6}, dossier,
           {un, {1, 2}, {}});
    passer(ecrans, s, test, session::modeEvaluation(),
           {QStringLiteral("Durand"), QStringLiteral("Bruno"), QStringLiteral("1A")}, {2001, 12, 8}, dossier,
           {un, un, un, un, {3}, un});
    return ecrans;
}

} // namespace classe
