// The question runner (Frame3): showing a question, recording its answer, moving, the countdown.
#include "app/avertissements.h"
#include "app/commun.h"
#include "app/erreurs.h"
#include "data/fichierresultats.h"
#include "data/valeurs.h"
#include "platform/services/services.h"
#include "platform/services/timer.h"
#include "results/cadreresultats.h"
#include "session/correction.h"
#include "session/formetest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kelvane::session {

using namespace kelvane::services;

namespace {
const QString kQuestionClasseII = QStringLiteral("A quel sigle se reconnait un outil électrique de classe II?");

int entierChamp(const QVariant& v) {
    return v.isNull() ? 0 : v.toInt();
}
} // namespace

void FormeTest::MettreAJourBoutons() {
    Precedent->setEnabled(etat.IndiceQuestion != 0);
    Suivant->setText(etat.IndiceQuestion == etat.NbQuestions - 1 ? QStringLiteral("Terminer") : QStringLiteral(">>"));
}

void FormeTest::AfficherQuestion() {
    db::Recordset& rs = Commun::RsQuestion;
    try {
        // A null where a value is expected is shown as the empty text or 0.
        NbReponses = static_cast<std::int16_t>(entierChamp(rs.Fields(QStringLiteral("nbrereponse"))));
        EstQcm = rs.Fields(QStringLiteral("qcm")).toBool();
        PreparerReponses();

        const QVariant chapitre = rs.Fields(QStringLiteral("chapitre"));
        db::Recordset& chapitres = Commun::RsChapitreEleve;
        for (chapitres.MoveFirst(); !chapitres.Eof(); chapitres.MoveNext()) {
            const QVariant numero = chapitres.Fields(QStringLiteral("numero"));
            if (!chapitre.isNull() && !numero.isNull() && numero.toInt() == chapitre.toInt()) {
                Label8->setText(texteChamp(chapitres.Fields(QStringLiteral("nom"))));
            }
        }

        const QString question = texteChamp(rs.Fields(QStringLiteral("question")));
        Label22->setText(question);
        Label31->setText(QStringLiteral("Question n° ") + QString::number(etat.IndiceQuestion + 1));
        const bool symboles = question == kQuestionClasseII;
        for (QLabel* image : {Condo, Terre, ClasseII}) {
            image->setVisible(symboles);
        }
        Label21->setText(EstQcm ? QStringLiteral("Cochez les bonnes réponses")
                                : QStringLiteral("Remettez les réponses dans l'ordre"));
        for (std::size_t i = 0; i < 5; ++i) {
            const int position = champ::R1 + static_cast<int>(i);
            LabelsReponses[i]->setText(texteChamp(rs.Fields(position)));
            // Each answer's controls carry its text for screen readers.
            Check[i]->setAccessibleName(LabelsReponses[i]->text());
            Combo[i]->setAccessibleName(LabelsReponses[i]->text());
        }
        for (std::size_t i = 0; i < 5; ++i) {
            const int valeur = entierChamp(rs.Fields(champ::RE1 + static_cast<int>(i)));
            if (EstQcm) {
                Check[i]->setChecked(valeur != 0);
            } else if (valeur != 0) {
                Combo[i]->setEditText(QString::number(valeur));
            }
        }
    } catch (const kelvane::Error& e) {
        app::afficherErreur(e, Commun::FichierEleve);
    }
}

void FormeTest::PreparerReponses() {
    for (QComboBox* c : Combo) {
        c->clear();
    }
    for (int n = 1; n <= NbReponses; ++n) {
        for (QComboBox* c : Combo) {
            c->addItem(QString::number(n));
        }
    }
    for (std::size_t i = 0; i < 5; ++i) {
        Combo[i]->setCurrentIndex(-1);
        Combo[i]->setEditText(QString());
        Check[i]->setChecked(false);
    }
    if (NbReponses < 1 || NbReponses > 5) {
        return;
    }
    for (std::size_t i = 0; i < 5; ++i) {
        const bool utilisee = static_cast<int>(i) < NbReponses;
        Check[i]->setVisible(utilisee && EstQcm);
        Combo[i]->setVisible(utilisee && !EstQcm);
    }
}

void FormeTest::EnregistrerReponse() {
    enregistrerOuSignaler();
}

bool FormeTest::enregistrerOuSignaler() {
    std::array<int, 5> cases{};
    std::array<QString, 5> combos;
    for (std::size_t i = 0; i < 5; ++i) {
        cases[i] = Check[i]->isChecked() ? 1 : 0;
        combos[i] = Combo[i]->currentText();
    }
    try {
        enregistrerReponse(Commun::RsQuestion, EstQcm, cases, combos);
    } catch (const kelvane::Error& e) {
        // The answer could not be written (folder made read-only, disk full, file locked): the candidate is told
        // and stays on the question; what was recorded before is kept.
        app::afficherErreur(e, Commun::FichierEleve);
        return false;
    }
    return true;
}

void FormeTest::Suivant_Click() {
    if (!enregistrerOuSignaler()) {
        return;
    }
    if (etat.IndiceQuestion == etat.NbQuestions - 1) {
        terminer();
        return;
    }
    etat.IndiceQuestion += 1;
    try {
        Commun::RsQuestion.setAbsolutePosition(etat.Ordre.at(static_cast<std::size_t>(etat.IndiceQuestion)));
    } catch (const kelvane::Error& e) {
        app::afficherErreur(e, Commun::FichierEleve);
    }
    MettreAJourBoutons();
    AfficherQuestion();
}

void FormeTest::Precedent_Click() {
    if (etat.IndiceQuestion == 0 || !enregistrerOuSignaler()) {
        return;
    }
    etat.IndiceQuestion -= 1;
    try {
        Commun::RsQuestion.setAbsolutePosition(etat.Ordre.at(static_cast<std::size_t>(etat.IndiceQuestion)));
    } catch (const kelvane::Error& e) {
        app::afficherErreur(e, Commun::FichierEleve);
    }
    MettreAJourBoutons();
    AfficherQuestion();
}

void FormeTest::AnnulerQuestion_Click() {
    const bool quitter = app::confirmerQuitter();
    // The countdown may have ended the session while the box was open: the Yes then has nothing left to do.
    if (!quitter || termine_) {
        return;
    }
    if (!enregistrerOuSignaler()) {
        return;
    }
    terminer();
}

void FormeTest::terminer() {
    termine_ = true;
    Timer1->setEnabled(false);
    Frame3->hide();
    Frame5->show();
    AfficherResultats();
}

void FormeTest::Timer1_Timer() {
    etat.TempsRestant -= 1;
    const int minutes = etat.TempsRestant / 60;
    const int secondes = etat.TempsRestant - minutes * 60;
    Text4->setText(QString::number(minutes) + QStringLiteral(" mn ") + QString::number(secondes) +
                   QStringLiteral(" s"));
    if (etat.TempsRestant > 0) {
        return;
    }
    Timer1->setEnabled(false);
    services::installed().messages->MsgBox(mode_.messageTempsEcoule, services::Buttons::OkOnly, app::kAvertissement);
    if (!mode_.finAuTempsEcoule) {
        Text4->setText(QStringLiteral("0 mn 0 s"));
        return;
    }
    if (termine_) {
        return;
    }
    // The time is over: the answer on screen is recorded if it can be, and the session ends either way.
    enregistrerOuSignaler();
    terminer();
}

} // namespace kelvane::session
