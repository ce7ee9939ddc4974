// Two pupils start the same test under the same name on the same day in the same folder, at the same moment:
// both children are held before OkNom and released together by one byte each. Every session must get a file of its
// own, and every file must hold its own session's answers.
//
// Environment: KELVANE_CONCURRENCE_NOMBRE rounds (50 by default).
#include "controle.h"
#include "support/fixtures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <memory>

class TestConcurrence : public QObject {
    Q_OBJECT

private slots:
    void twoSessionsStartedAtTheSameMoment() {
        const int tours = qEnvironmentVariableIsSet("KELVANE_CONCURRENCE_NOMBRE")
                              ? qEnvironmentVariableIntValue("KELVANE_CONCURRENCE_NOMBRE")
                              : 50;
        QElapsedTimer chrono;
        chrono.start();
        QTemporaryDir racine;
        const QString dossier = racine.filePath(QStringLiteral("classe"));
        QVERIFY(QDir().mkdir(dossier));
        const QString test = dossier + QLatin1Char('/') + scenario::kFichierTest;
        fixtures::creerTest(test, scenario::kTemps, scenario::kTolerance, scenario::chapitres(), scenario::questions());

        std::vector<scenario::Journal> journaux;
        QSet<QString> noms;
        int courses = 0; // rounds where both children saw the same name free when released
        for (int tour = 0; tour < tours; ++tour) {
            std::array<std::unique_ptr<controle::Enfant>, 2> enfants;
            std::array<scenario::Journal, 2> j;
            for (int k = 0; k < 2; ++k) {
                // Marks 0 and 1: the first answer right in one session and wrong in the other.
                const quint64 graine = static_cast<quint64>(tour * 2 + k + 1);
                enfants[k] = std::make_unique<controle::Enfant>(
                    QStringList{dossier, QString::number(graine), QStringLiteral("--attendre"),
                                QStringLiteral("--examen"), QStringLiteral("--reponses"), QStringLiteral("3"),
                                QStringLiteral("--marque"), QString::number(k)},
                    racine.filePath(QStringLiteral("enfant%1.err").arg(k)));
            }
            for (int k = 0; k < 2; ++k) {
                QVERIFY2(enfants[k]->attendrePret(j[k]), qPrintable(j[k].lignes.join(QLatin1Char('\n'))));
            }
            for (auto& e : enfants) {
                e->envoyer('!');
            }
            for (int k = 0; k < 2; ++k) {
                enfants[k]->lireTout(j[k]);
                const QString statut = controle::etat(enfants[k]->attendre());
                QVERIFY2(statut == QLatin1StringView("exit 0") && j[k].erreurs.isEmpty() && j[k].reponses.size() == 3,
                         qPrintable(QStringLiteral("tour %1, enfant %2: %3\n%4")
                                        .arg(tour)
                                        .arg(k)
                                        .arg(statut, j[k].lignes.join(QLatin1Char('\n')))));
                QVERIFY2(!noms.contains(j[k].fichier),
                         qPrintable(QStringLiteral("tour %1: %2 donné deux fois").arg(tour).arg(j[k].fichier)));
                noms.insert(j[k].fichier);
                journaux.push_back(j[k]);
            }
            courses += j[0].libre == j[1].libre ? 1 : 0;
        }

        // Every session's file, and nothing else but the test; each holds its own session's answers.
        QStringList fichiers = QDir(dossier).entryList({QStringLiteral("*.mdb")}, QDir::Files);
        fichiers.removeOne(scenario::kFichierTest);
        QCOMPARE(fichiers.size(), 2 * tours);
        QCOMPARE(QSet<QString>(fichiers.begin(), fichiers.end()), noms);
        for (const scenario::Journal& j : journaux) {
            const QStringList defauts =
                controle::defautsResultats(dossier + QLatin1Char('/') + j.fichier, test, true, j);
            QVERIFY2(defauts.isEmpty(), qPrintable(j.fichier + QStringLiteral(": ") + defauts.join(QLatin1Char('\n'))));
        }
        const controle::Listes l = controle::listes(dossier);
        QCOMPARE(QSet<QString>(l.resultats.begin(), l.resultats.end()), noms);
        qInfo("%d tours, %d fichiers distincts en %.1f s; %d tours où les deux sessions visaient le même nom", tours,
              static_cast<int>(noms.size()), static_cast<double>(chrono.elapsed()) / 1000.0, courses);
    }
};

QTEST_MAIN(TestConcurrence)
#include "tst_concurrence.moc"
