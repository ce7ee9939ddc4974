// Answers recorded while the results file cannot be written: a folder made read-only during the session, a full
// disk, the file locked by another program. Each time the candidate gets the program's French message, stays on the
// question with the answer on screen, the answers recorded before stay in the file, and once the fault is gone the
// session goes on to a correct results screen.
//
// Directory permissions mean nothing to root, and CI runs as root: the suite then becomes the unprivileged user
// "nobody" before anything else starts, so that a folder made read-only really is read-only.
#include "platform/db/database.h"
#include "support/formefixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <grp.h>
#include <poll.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kelvane;
using namespace kelvane::doubles;

namespace {

constexpr uid_t kNobody = 65534;
// The other program: a child process that takes the results file's write lock and keeps it until its pipe closes.
// It is forked rather than started from the build folder, which "nobody" may not be allowed to run from.
class Verrou {
public:
    Verrou() = default;
    Verrou(const Verrou&) = delete;
    Verrou& operator=(const Verrou&) = delete;
    ~Verrou() { lacher(); }

    bool prendre(const QString& chemin) {
        const QByteArray nom = QFile::encodeName(chemin);
        int versEnfant[2];
        int versParent[2];
        if (pipe(versEnfant) != 0 || pipe(versParent) != 0) {
            return false;
        }
        pid_ = fork();
        if (pid_ == 0) {
            close(versEnfant[1]);
            close(versParent[0]);
            sqlite3* base = nullptr;
            if (sqlite3_open_v2(nom.constData(), &base, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
                sqlite3_exec(base, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK) {
                _exit(1);
            }
            if (write(versParent[1], "v", 1) != 1) {
                _exit(1);
            }
            char c = 0;
            while (read(versEnfant[0], &c, 1) > 0) {
            }
            _exit(0); // the lock goes with the process
        }
        close(versEnfant[0]);
        close(versParent[1]);
        ecriture_ = versEnfant[1];
        pollfd attente{versParent[0], POLLIN, 0};
        char c = 0;
        const bool pris = pid_ > 0 && poll(&attente, 1, 10000) == 1 && read(versParent[0], &c, 1) == 1 && c == 'v';
        close(versParent[0]);
        return pris;
    }

    void lacher() {
        if (ecriture_ >= 0) {
            close(ecriture_);
            ecriture_ = -1;
        }
        if (pid_ > 0) {
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

private:
    pid_t pid_ = -1;
    int ecriture_ = -1;
};

// Root writes into read-only folders; "nobody" does not. Everything the suite makes afterwards is nobody's.
bool quitterRoot() {
    if (geteuid() != 0) {
        return true;
    }
    if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) {
        std::perror("setgid/setuid nobody");
        return false;
    }
    // Root's runtime and temporary folders are not ours any more.
    unsetenv("XDG_RUNTIME_DIR");
    const char* tmp = std::getenv("TMPDIR");
    if (tmp != nullptr && access(tmp, W_OK | X_OK) != 0) {
        setenv("TMPDIR", "/tmp", 1);
    }
    return true;
}

enum class Faute { DossierLectureSeule, DisqueSature, FichierVerrouille };

QString natif(const QString& chemin) {
    return QDir::toNativeSeparators(QFileInfo(chemin).absoluteFilePath());
}

struct Reponse {
    std::array<int, 5> re{};
    bool reussi = false;
};

// What the file holds for the question numbered `numero`, read as the viewer would, without writing.
Reponse lireReponse(const QString& chemin, int numero) {
    db::Database base = db::OpenDatabase(chemin, db::OpenMode::ReadOnly);
    db::Recordset q = base.OpenRecordset(QStringLiteral("question"));
    for (q.MoveFirst(); !q.Eof(); q.MoveNext()) {
        if (q.Fields(QStringLiteral("numero")).toInt() == numero) {
            Reponse r;
            for (int i = 0; i < 5; ++i) {
                r.re[static_cast<std::size_t>(i)] = q.Fields(21 + i).toInt();
            }
            r.reussi = q.Fields(QStringLiteral("reussi")).toBool();
            return r;
        }
    }
    return {};
}

} // namespace

class TestFautesEcriture : public QObject {
    Q_OBJECT

    std::unique_ptr<FormeFixture> fx_;

    ecrans::EcranTest commencer(bool examen) {
        ecrans::EcranTest f = fx_->ouvrir(examen);
        gui::cliquerLigne(f->listefichier, gui::ligne(f->listefichier, QStringLiteral("B1V.mdb")));
        f->OkTest->click();
        f->Text1->setFocus();
        QTest::keyClicks(f->Text1, QStringLiteral("Dupont"));
        QTest::keyClicks(f->Text2, QStringLiteral("Jean"));
        fx_->services->messages.expectMessage(QStringLiteral("Pour réussir ce test il faut 50% de bonnes réponses"));
        f->OkNom->click();
        return f;
    }

    // Applies the fault; the function returned takes it away.
    std::function<void()> provoquer(Faute faute, const QString& fichier, Verrou& autre) {
        switch (faute) {
        case Faute::DossierLectureSeule: {
            const QString dossier = fx_->dossier->path();
            QFile::setPermissions(dossier, QFile::ReadOwner | QFile::ExeOwner);
            return
                [dossier] { QFile::setPermissions(dossier, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); };
        }
        case Faute::DisqueSature: {
            // No room left for anything new: the rollback journal that every change writes first cannot be
            // written. Write then fails with EFBIG (SIGXFSZ is ignored), as it fails on a quota or a full disk.
            rlimit avant{};
            getrlimit(RLIMIT_FSIZE, &avant);
            rlimit plein = avant;
            plein.rlim_cur = 512;
            setrlimit(RLIMIT_FSIZE, &plein);
            return [avant] { setrlimit(RLIMIT_FSIZE, &avant); };
        }
        case Faute::FichierVerrouille: {
            if (!autre.prendre(fichier)) {
                return {};
            }
            return [&autre] { autre.lacher(); };
        }
        }
        return {};
    }

private slots:
    void init() {
        fx_ = std::make_unique<FormeFixture>();
        fx_->services->clock.date = QDate(2001, 12, 6);
        fx_->services->clock.sec = 0; // an evaluation's draw at second 0 keeps the stored order
        fixtures::creerTest(fx_->chemin(QStringLiteral("B1V.mdb")), 600, 50, {{QStringLiteral("Généralités"), 1}},
                            fixtures::questionsSimples(3));
    }
    void cleanup() {
        QCOMPARE(fx_->services->messages.pending(), 0);
        fx_.reset();
    }

    void theSuiteCannotWriteIntoAReadOnlyFolder() {
        // Without this, the read-only folder below would prove nothing.
        const QString dossier = fx_->dossier->path();
        QFile::setPermissions(dossier, QFile::ReadOwner | QFile::ExeOwner);
        QFile essai(fx_->chemin(QStringLiteral("essai")));
        const bool ecrit = essai.open(QIODevice::WriteOnly);
        QFile::setPermissions(dossier, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY2(!ecrit, "the suite runs with a user who ignores folder permissions");
    }

    void aRecordingFailureLosesNothingAndTheSessionGoesOn_data() {
        QTest::addColumn<Faute>("faute");
        QTest::addColumn<bool>("examen");
        QTest::addColumn<QString>("message"); // %1: the results file's full path
        const QString lectureSeule = QStringLiteral(
            "Erreur 3027: Impossible de mettre à jour. Base de données ou objet en lecture seule : « %1 »");
        const QString sature = QStringLiteral("Erreur 3026: Espace disque insuffisant pour écrire dans « %1 »");
        const QString verrouille = QStringLiteral(
            "Erreur 3218: Impossible de mettre à jour : la base « %1 » est verrouillée par un autre utilisateur");
        QTest::newRow("dossier en lecture seule, entraînement") << Faute::DossierLectureSeule << false << lectureSeule;
        QTest::newRow("dossier en lecture seule, évaluation") << Faute::DossierLectureSeule << true << lectureSeule;
        QTest::newRow("disque saturé, entraînement") << Faute::DisqueSature << false << sature;
        QTest::newRow("disque saturé, évaluation") << Faute::DisqueSature << true << sature;
        QTest::newRow("fichier verrouillé, entraînement") << Faute::FichierVerrouille << false << verrouille;
        QTest::newRow("fichier verrouillé, évaluation") << Faute::FichierVerrouille << true << verrouille;
    }

    void aRecordingFailureLosesNothingAndTheSessionGoesOn() {
        QFETCH(Faute, faute);
        QFETCH(bool, examen);
        QFETCH(QString, message);
        const ecrans::EcranTest f = commencer(examen);
        const QString fichier = fx_->chemin(examen ? QStringLiteral("JDupont-B1V-Ex-061201.mdb")
                                                   : QStringLiteral("JDupont-B1V-061201.mdb"));
        QVERIFY(QFile::exists(fichier));

        // Question 1 right, recorded normally.
        QCOMPARE(f->Label22->text(), QStringLiteral("Question numéro 1 ?"));
        f->Check[0]->click();
        f->Suivant->click();
        QCOMPARE(f->Label31->text(), QStringLiteral("Question n° 2"));

        // Question 2 answered right, but its recording meets the fault.
        f->Check[0]->click();
        Verrou autre;
        const std::function<void()> lever = provoquer(faute, fichier, autre);
        QVERIFY(lever);
        fx_->services->messages.expectMessage(message.arg(natif(fichier)));
        f->Suivant->click();
        lever();
        QCOMPARE(fx_->services->messages.pending(), 0);
        QCOMPARE(fx_->services->messages.last().title, QStringLiteral("Kelvane"));
        QCOMPARE(fx_->services->messages.last().buttons, services::Buttons::OkOnly);

        // The candidate is still on question 2 with the answer on screen, the countdown still running.
        QVERIFY(f.forme->isVisible() && f->Frame3->isVisible());
        QCOMPARE(f->Label31->text(), QStringLiteral("Question n° 2"));
        QCOMPARE(f->Label22->text(), QStringLiteral("Question numéro 2 ?"));
        QVERIFY(f->Check[0]->isChecked());
        QVERIFY(fx_->minuterie(f)->isEnabled());
        // Question 1 is in the file as recorded; question 2 as the session started it.
        const Reponse q1 = lireReponse(fichier, 1);
        QCOMPARE(q1.re, (std::array<int, 5>{1, 0, 0, 0, 0}));
        QVERIFY(q1.reussi);
        const Reponse q2 = lireReponse(fichier, 2);
        QCOMPARE(q2.re, (std::array<int, 5>{}));
        QVERIFY(!q2.reussi);
        QVERIFY(!QFile::exists(fichier + QStringLiteral("-journal")));

        // The fault is gone: the same Suivant records question 2 and moves on.
        f->Suivant->click();
        QCOMPARE(f->Label31->text(), QStringLiteral("Question n° 3"));
        QVERIFY(lireReponse(fichier, 2).reussi);
        f->Check[1]->click(); // wrong
        f->Suivant->click();

        QVERIFY(f->Frame5->isVisible() && f->Frame3->isHidden());
        QCOMPARE(f->Label9->text(), QStringLiteral("Nombre de Bonnes Réponses: 2 sur 3 questions"));
        QCOMPARE(f->Label10->text(), QStringLiteral("66% de bonnes réponses, vous avez réussi le test (>=50%)"));
        const Reponse q3 = lireReponse(fichier, 3);
        QCOMPARE(q3.re, (std::array<int, 5>{0, 1, 0, 0, 0}));
        QVERIFY(!q3.reussi);
    }

    // In evaluation the end of the time finishes the session even when the last answer cannot be written: the
    // candidate is told, the results count what the file holds.
    void evaluationTimeOutOnALockedFileStillEnds() {
        fixtures::creerTest(fx_->chemin(QStringLiteral("court.mdb")), 2, 50, {{QStringLiteral("Généralités"), 1}},
                            fixtures::questionsSimples(3));
        const ecrans::EcranTest f = fx_->ouvrir(true);
        gui::cliquerLigne(f->listefichier, gui::ligne(f->listefichier, QStringLiteral("court.mdb")));
        f->OkTest->click();
        f->Text1->setFocus();
        QTest::keyClicks(f->Text1, QStringLiteral("Durand"));
        fx_->services->messages.expectMessage(QStringLiteral("Pour réussir ce test il faut 50% de bonnes réponses"));
        f->OkNom->click();
        const QString fichier = fx_->chemin(QStringLiteral("Durand-court-Ex-061201.mdb"));
        f->Check[0]->click();
        f->Suivant->click();
        f->Check[0]->click();

        Verrou autre;
        const std::function<void()> lever = provoquer(Faute::FichierVerrouille, fichier, autre);
        QVERIFY(lever);
        doubles::ManualTimer* t = fx_->minuterie(f);
        t->fire();
        fx_->services->messages.expectMessage(QStringLiteral("Le temps imparti est écoulé, le test est terminé"));
        fx_->services->messages.expectMessage(
            QStringLiteral(
                "Erreur 3218: Impossible de mettre à jour : la base « %1 » est verrouillée par un autre utilisateur")
                .arg(natif(fichier)));
        // The results stamp the date into the file, which is still locked: that is said too.
        fx_->services->messages.expectMessage(
            QStringLiteral(
                "Erreur 3218: Impossible de mettre à jour : la base « %1 » est verrouillée par un autre utilisateur")
                .arg(natif(fichier)));
        t->fire();
        lever();
        QVERIFY(f.forme->isVisible() && f->Frame5->isVisible());
        QCOMPARE(f->Label9->text(), QStringLiteral("Nombre de Bonnes Réponses: 1 sur 3 questions"));
        QVERIFY(lireReponse(fichier, 1).reussi);
        QVERIFY(!lireReponse(fichier, 2).reussi);
    }
};

int main(int argc, char** argv) {
    if (!quitterRoot()) {
        return 1;
    }
    // A write past the size limit must fail with EFBIG rather than end the process.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    TestFautesEcriture test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fautes_ecriture.moc"
