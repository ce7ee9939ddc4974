// The child of the crash and concurrency checks: one scripted session with the real forms on the offscreen platform,
// every step reported on standard output once it has returned (see scenario.h).
//
//   kelvane_crash_enfant FOLDER SEED [--attendre] [--examen] [--reponses N] [--marque K]
//
// FOLDER holds the test. SEED chooses the mode (unless --examen) and the answers. --attendre waits for one byte on
// standard input before OkNom, so that several children start their sessions at the same moment. --reponses stops
// after N answers. --marque K answers the first question right (K even) or wrong (K odd), so that two children
// given different marks never record the same answers.
#include "data/fichierresultats.h"
#include "forms/formetest.h"
#include "scenario.h"
#include "session/modetest.h"
#include "support/doubles/scriptedservices.h"
#include "support/ecrans.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <memory>
#include <random>
#include <unistd.h>

using namespace kelvane;
using namespace kelvane::doubles;

namespace {

// Straight to the pipe: once write() has returned the line is the parent's, whatever becomes of this process.
void ecrire(const QString& ligne) {
    const QByteArray octets = (ligne + QLatin1Char('\n')).toUtf8();
    qsizetype fait = 0;
    while (fait < octets.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, octets.constData() + fait, static_cast<size_t>(octets.size() - fait));
        if (n <= 0) {
            std::_Exit(3);
        }
        fait += n;
    }
}

[[noreturn]] void echouer(const QString& pourquoi) {
    ecrire(QStringLiteral("ERREUR ") + pourquoi);
    std::_Exit(2);
}

// The answer to give: right, or one value changed; the mark is decided first and the values follow from it.
scenario::Reponse choisir(const fixtures::Question& q, bool juste, std::mt19937_64& rng) {
    scenario::Reponse r;
    r.numero = q.numero;
    r.juste = juste;
    for (std::size_t i = 0; i < 5; ++i) {
        r.valeurs[i] = q.attendu[i];
    }
    if (!juste) {
        const auto n = static_cast<std::size_t>(q.nbReponses);
        const std::size_t i = rng() % n;
        if (q.qcm) {
            r.valeurs[i] = 1 - r.valeurs[i];
        } else {
            // Two ranks swapped; ranks are all different, so the order is wrong.
            std::swap(r.valeurs[i], r.valeurs[(i + 1 + rng() % (n - 1)) % n]);
        }
    }
    return r;
}

void saisir(const ecrans::EcranTest& f, const fixtures::Question& q, const scenario::Reponse& r) {
    for (std::size_t i = 0; i < static_cast<std::size_t>(q.nbReponses); ++i) {
        if (q.qcm) {
            if (f->Check[i]->isChecked() != (r.valeurs[i] != 0)) {
                f->Check[i]->click();
            }
        } else {
            f->Combo[i]->setCurrentIndex(r.valeurs[i] - 1);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        echouer(QStringLiteral("usage: kelvane_crash_enfant DOSSIER GRAINE [--attendre] [--examen] [--reponses N] "
                               "[--marque K]"));
    }
    const QString dossier = args.at(1);
    const quint64 graine = args.at(2).toULongLong();
    std::mt19937_64 rng(graine);
    bool examen = rng() % 2 == 1;
    bool attendre = false;
    int limite = scenario::kNbQuestions;
    int marque = -1;
    for (qsizetype i = 3; i < args.size(); ++i) {
        if (args.at(i) == QLatin1StringView("--attendre")) {
            attendre = true;
        } else if (args.at(i) == QLatin1StringView("--examen")) {
            examen = true;
        } else if (args.at(i) == QLatin1StringView("--reponses") && i + 1 < args.size()) {
            limite = args.at(++i).toInt();
        } else if (args.at(i) == QLatin1StringView("--marque") && i + 1 < args.size()) {
            marque = args.at(++i).toInt();
        } else {
            echouer(QStringLiteral("argument inconnu: ") + args.at(i));
        }
    }

    doubles::ScriptedServices services;
    services.clock.date = scenario::kJour;
    services.clock.sec = static_cast<int>(graine % 60);
    if (!QDir::setCurrent(dossier)) {
        echouer(QStringLiteral("dossier introuvable: ") + dossier);
    }
    const forms::Lieux lieux{QDir::currentPath(), QDir::currentPath()};
    auto forme = std::make_unique<forms::FormeTest>(examen ? session::modeEvaluation() : session::modeEntrainement(),
                                                    services.all(), lieux);
    forme->Form_Load();
    forme->show();
    const ecrans::EcranTest f(forme.get());

    // The test is picked in the list with the mouse, as a pupil does.
    const QList<QListWidgetItem*> lignes = f->listefichier->findItems(scenario::kFichierTest, Qt::MatchExactly);
    if (lignes.size() != 1) {
        echouer(QStringLiteral("le test n'est pas dans la liste"));
    }
    f->listefichier->scrollToItem(lignes.first());
    QTest::mouseClick(f->listefichier->viewport(), Qt::LeftButton, {},
                      f->listefichier->visualItemRect(lignes.first()).center());
    f->OkTest->click();
    if (!f->Frame1->isVisible()) {
        echouer(QStringLiteral("le test n'a pas été accepté"));
    }
    f->Text1->setFocus();
    QTest::keyClicks(f->Text1, scenario::kNom);
    QTest::keyClicks(f->Text2, scenario::kPrenom);
    QTest::keyClicks(f->Text3, scenario::kClasse);
    services.messages.expectMessage(
        QStringLiteral("Pour réussir ce test il faut %1% de bonnes réponses").arg(scenario::kTolerance));

    ecrire(examen ? QStringLiteral("PRET examen") : QStringLiteral("PRET entrainement"));
    if (attendre) {
        char octet = 0;
        if (::read(STDIN_FILENO, &octet, 1) != 1) {
            echouer(QStringLiteral("pas de signal de départ"));
        }
        // The name that looks free at the moment of the click: when two children see the same one, their starts
        // really raced for it.
        ecrire(QStringLiteral("LIBRE ") +
               data::premierNomLibre(data::nomFichierResultats(scenario::kPrenom, scenario::kNom, scenario::kTest,
                                                               session::modeTest(examen).separateurNom,
                                                               scenario::kJourCourt),
                                     [](const QString& n) { return QFile::exists(n); }));
    }
    f->OkNom->click();
    if (!f->Frame3->isVisible() || !services.messages.allAnswered() || services.messages.shown().size() != 1) {
        echouer(QStringLiteral("la session n'a pas commencé: ") +
                (services.messages.shown().isEmpty() ? QString() : services.messages.last().prompt));
    }
    ecrire(QStringLiteral("DEBUT ") + f->Label6->text());

    auto* minuterie = forme->findChild<doubles::ManualTimer*>(QStringLiteral("Timer1"));
    if (minuterie == nullptr) {
        echouer(QStringLiteral("pas de minuterie"));
    }
    for (int n = 0; n < limite && f->Frame3->isVisible(); ++n) {
        const auto q = scenario::questionDeTexte(f->Label22->text());
        if (!q) {
            echouer(QStringLiteral("question inconnue: ") + f->Label22->text());
        }
        const bool juste = n == 0 && marque >= 0 ? marque % 2 == 0 : rng() % 2 == 0;
        const scenario::Reponse r = choisir(*q, juste, rng);
        saisir(f, *q, r);
        minuterie->fire();
        ecrire(scenario::ligneReponse("ENVOI", r));
        f->Suivant->click();
        if (services.messages.shown().size() != 1) {
            echouer(QStringLiteral("message pendant les questions: ") + services.messages.last().prompt);
        }
        ecrire(scenario::ligneReponse("REPONSE", r));
    }
    if (f->Frame5->isVisible()) {
        ecrire(QStringLiteral("FIN"));
    }
    forme.reset();
    return 0;
}
