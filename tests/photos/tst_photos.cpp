#include "atelier/fenetreatelier.h"
#include "data/fichierresultats.h"
#include "data/test.h"
#include "desktop/printerqt.h"
#include "forms/motpasse.h"
#include "forms/visualisation.h"
#include "support/programme.h"
#include "support/scenarios.h"

#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <set>

using namespace kelvane;
using namespace scenario;

namespace {

// A class folder holding the demo folder's tests and pictures and a settings file with that code: /tmp/Kelvane when
// that name is free, so that the folder lists of the pictures show a short path that stays the same, otherwise a
// fresh temporary folder. It is the current folder while it lives.
class DossierClasse {
public:
    DossierClasse(const QString& demo, const QString& code) : ancien_(QDir::currentPath()) {
        const QString fixe = QDir::temp().filePath(QStringLiteral("Kelvane"));
        if (QDir().mkdir(fixe)) {
            chemin_ = fixe;
        } else {
            repli_.emplace();
            chemin_ = repli_->path();
        }
        QDir::setCurrent(chemin_);
        for (const QFileInfo& f : QDir(demo).entryInfoList({QStringLiteral("*.mdb")}, QDir::Files)) {
            if (f.fileName() != QStringLiteral("habilitation.mdb")) {
                QFile::copy(f.filePath(), chemin(f.fileName()));
            }
        }
        QDir(chemin_).mkdir(QStringLiteral("Images"));
        for (const QFileInfo& f : QDir(demo + QStringLiteral("/Images")).entryInfoList(QDir::Files)) {
            QFile::copy(f.filePath(), chemin(QStringLiteral("Images/") + f.fileName()));
        }
        fixtures::creerHabilitation(chemin(QStringLiteral("habilitation.mdb")), code);
    }
    ~DossierClasse() {
        QDir::setCurrent(ancien_);
        if (!repli_) {
            QDir(chemin_).removeRecursively();
        }
    }
    DossierClasse(const DossierClasse&) = delete;
    DossierClasse& operator=(const DossierClasse&) = delete;

    const QString& racine() const { return chemin_; }
    QString chemin(const QString& nom) const { return QDir(chemin_).filePath(nom); }
    forms::Lieux lieux() const { return {chemin_, chemin_}; }

private:
    QString ancien_;
    QString chemin_;
    std::optional<QTemporaryDir> repli_;
};

// The printed page cut below its last line of text, with a white margin.
QImage hautDePage(const QImage& page) {
    int bas = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            if (page.pixelColor(x, y).lightness() < 200) {
                bas = y;
                break;
            }
        }
    }
    return page.copy(0, 0, page.width(), std::min(page.height(), bas + 50));
}

// The question of that number, as the test file holds it.
const data::QuestionTest& question(const data::Test& test, int numero) {
    for (const data::QuestionTest& q : test.questions) {
        if (q[data::champ::Numero].toInt() == numero) {
            return q;
        }
    }
    return test.questions.front();
}

// Answers the question on screen as the file expects it, or wrong: the answers not to tick ticked, or the first
// two ranks swapped.
void repondre(const ecrans::EcranTest& e, const data::QuestionTest& q, bool juste) {
    const int n = q[data::champ::NbreReponse].toInt();
    for (int i = 0; i < n; ++i) {
        const auto place = static_cast<std::size_t>(i);
        if (q[data::champ::Qcm].toBool()) {
            if ((q[data::champ::S1 + i].toInt() != 0) == juste) {
                e->Check[place]->click();
            }
        } else {
            const int echange = juste || i > 1 ? i : 1 - i;
            e->Combo[place]->setCurrentIndex(q[data::champ::S1 + echange].toInt() - 1);
        }
    }
}

} // namespace

// The pictures of the README and of the teachers' guide, taken on the demo folder's tests as a teacher and a pupil
// see them: the menu and its code box, the code change, the choice of a test, the candidate, the class II question
// in training, the results screen, the first page of the printed report, and the same results in the viewer.
class TestPhotos : public QObject {
    Q_OBJECT

    QString demo_ = qEnvironmentVariable("KELVANE_DEMO_DIR");
    QTemporaryDir reglages_;

private slots:
    void initTestCase() {
        if (!QFileInfo::exists(demo_ + QStringLiteral("/B0-Bases.mdb"))) {
            QSKIP("dossier de démonstration absent");
        }
        QCoreApplication::setOrganizationName(QStringLiteral("Kelvane"));
        QCoreApplication::setApplicationName(QStringLiteral("kelvane-photos-tests"));
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, reglages_.path());
    }

    void theStudentProgramOnTheDemoFolder() {
        const QString& demo = demo_;
        DossierClasse dossier(demo, QString());
        doubles::ScriptedServices scriptes;
        scriptes.clock.date = QDate(2025, 3, 14);
        scriptes.clock.sec = 42;
        data::FichierParametres parametres = data::FichierParametres::ouvrir(dossier.racine());
        app::Formes formes(scriptes.all(), dossier.lieux(), parametres);
        formes.menu().show();
        const ecrans::EcranCode menu(&formes.menu());
        QVERIFY(QTest::qWaitForWindowExposed(menu.fenetre));
        gui::photographier(menu.fenetre, QStringLiteral("photo-menu"), QStringLiteral("menu"));
        menu.Resultats->click();
        taper(menu.Text3, QStringLiteral("secret"));
        gui::photographier(menu.fenetre, QStringLiteral("photo-menu-code"), QStringLiteral("menu-code"));
        menu.AnnulerMotdePasse->click();

        // The code change, at its second step: the new code typed twice, then left unsaved.
        forms::MotPasse motPasse(parametres, scriptes.messages);
        motPasse.Form_Load();
        motPasse.show();
        const ecrans::EcranCode code(&motPasse);
        taper(code.Text3, {}, true);
        QVERIFY(code.Frame1->isVisible());
        taper(code.Text1, QStringLiteral("volta"));
        taper(code.Text2, QStringLiteral("volta"));
        gui::photographier(&motPasse, QStringLiteral("photo-motpasse"), QStringLiteral("motpasse"));
        code.Annuler->click();

        // A training session of B0-Bases, its report printed to a PDF file.
        const auto lu = data::lireTest(dossier.chemin(QStringLiteral("B0-Bases.mdb")));
        QVERIFY(std::holds_alternative<data::Test>(lu));
        const data::Test& test = std::get<data::Test>(lu);
        const QString pdf = dossier.chemin(QStringLiteral("rapport.pdf"));
        desktop::PdfPrinter imprimante(pdf);
        services::Services services = scriptes.all();
        services.printer = &imprimante;
        forms::FormeTest forme(session::modeEntrainement(), services, dossier.lieux());
        forme.Form_Load();
        forme.show();
        const ecrans::EcranTest e(&forme);
        choisir(e, e->listefichier, QStringLiteral("B0-Bases.mdb"));
        gui::photographier(&forme, QStringLiteral("photo-choix"), QStringLiteral("choix"));
        e->OkTest->click();
        saisir(e->Text1, QStringLiteral("Martin"));
        saisir(e->Text2, QStringLiteral("Léa"));
        saisir(e->Text3, QStringLiteral("1 MELEC"));
        gui::photographier(&forme, QStringLiteral("photo-candidat"), QStringLiteral("candidat"));
        scriptes.messages.expectMessage(annonce(test.tolerance.toInt()));
        e->OkNom->click();

        const std::set<int> fausses{2, 8, 12};
        const int n = static_cast<int>(test.questions.size());
        for (int numero = 1; numero <= n; ++numero) {
            QCOMPARE(e->Label31->text(), QStringLiteral("Question n° %1").arg(numero));
            for (int t = 0; t < 23; ++t) {
                forme.findChild<doubles::ManualTimer*>(QStringLiteral("Timer1"))->fire();
            }
            repondre(e, question(test, numero), !fausses.contains(numero));
            if (e->Label22->text() == QStringLiteral("A quel sigle se reconnait un outil électrique de classe II?")) {
                QVERIFY(e->ClasseII->isVisible());
                gui::photographier(&forme, QStringLiteral("photo-question"), QStringLiteral("question"));
            }
            e->Suivant->click();
        }
        QVERIFY(e->Frame5->isVisible());
        QCOMPARE(e->Label9->text(), QStringLiteral("Nombre de Bonnes Réponses: %1 sur %2 questions").arg(n - 3).arg(n));
        gui::photographier(&forme, QStringLiteral("photo-resultats"), QStringLiteral("resultats"));

        scriptes.messages.expectMessage({});
        e->ImprimerResultat->click();
        QVERIFY(scriptes.messages.allAnswered());
        gui::garderFichier(pdf);
        for (const QFileInfo& resultats :
             QDir(dossier.racine()).entryInfoList({QStringLiteral("*Martin*")}, QDir::Files)) {
            gui::garderFichier(resultats.filePath()); // the results file the session wrote
        }
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()) {
            QSKIP("pdftoppm n'est pas installé");
        }
        const QString page = dossier.chemin(QStringLiteral("rapport"));
        QCOMPARE(QProcess::execute(QStringLiteral("pdftoppm"),
                                   {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("80"),
                                    QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                    QStringLiteral("1"), QStringLiteral("-singlefile"), pdf, page}),
                 0);
        const QImage rapport(page + QStringLiteral(".png"));
        QVERIFY(!rapport.isNull());
        gui::garderImage(hautDePage(rapport), QStringLiteral("photo-rapport"), QStringLiteral("rapport"));

        // The same results in the viewer, as a teacher opens them behind the code.
        const QString fichier = e->Label6->text();
        forme.close();
        forms::Visualisation visualisation(scriptes.all(), dossier.lieux());
        visualisation.Form_Load();
        visualisation.show();
        const ecrans::EcranVisualisation v(&visualisation);
        const int ligne = gui::ligne(v.listefichier, fichier + QStringLiteral(" (Entrainement)"));
        QVERIFY(ligne >= 0);
        gui::cliquerLigne(v.listefichier, ligne);
        gui::photographier(&visualisation, QStringLiteral("photo-visualisation-liste"),
                           QStringLiteral("visualisation-liste"));
        v.Valider->click();
        QVERIFY(v.Frame5->isVisible());
        gui::photographier(&visualisation, QStringLiteral("photo-visualisation"), QStringLiteral("visualisation"));
        QVERIFY(scriptes.messages.allAnswered());
    }

    // The workbench opening a folder whose settings hold a code: the code box, the code typed.
    void theWorkbenchAsksForTheFolderCode() {
        DossierClasse dossier(demo_, QStringLiteral("VOLTA"));
        doubles::ScriptedServices scriptes;
        Modales modales;
        modales.action = [&](QWidget* porte) {
            [&] {
                QVERIFY(QTest::qWaitForWindowActive(porte));
                auto* boite = porte->findChild<QLineEdit*>(QStringLiteral("Text3"));
                taper(boite, QStringLiteral("volta"));
                gui::photographier(porte, QStringLiteral("photo-atelier-code"), QStringLiteral("atelier-code"));
                QTest::keyClick(boite, Qt::Key_Return);
            }();
            porte->close(); // already closed unless something above failed
        };
        atelier::FenetreAtelier fenetre(scriptes.all());
        QCOMPARE(fenetre.ouvrirDossier(dossier.racine()), atelier::Acces::Ouvert);
        QCOMPARE(modales.ouvertes, QStringList{QStringLiteral("PorteCode")});
    }
};

QTEST_MAIN(TestPhotos)
#include "tst_photos.moc"
