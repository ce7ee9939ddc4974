#include "demarrage/copiedossier.h"
#include "demarrage/dossierdepart.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvane;
using demarrage::Programme;

namespace {

// A machine in a temporary folder: a current folder, a class folder with its settings, a folder without them, a
// demo folder (settings, a test, a picture), a home, and the school's file at ecole.
class Machine {
public:
    Machine() {
        for (const char* dossier : {"courant", "classe", "vide", "demo/Images", "maison"}) {
            racine_.mkpath(QString::fromLatin1(dossier));
        }
        ecrire(QStringLiteral("classe/habilitation.mdb"), "classe");
        ecrire(QStringLiteral("demo/habilitation.mdb"), "demo");
        ecrire(QStringLiteral("demo/B0.mdb"), "test");
        ecrire(QStringLiteral("demo/Images/Terre.jpg"), "image");
    }

    QString chemin(const QString& nom) const { return racine_.filePath(nom); }

    void ecrire(const QString& nom, const QByteArray& contenu) const {
        QFile f(chemin(nom));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(contenu);
    }

    QByteArray lire(const QString& nom) const {
        QFile f(chemin(nom));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    demarrage::Environnement environnement(const QStringList& arguments) const {
        return {arguments, chemin(QStringLiteral("courant")), chemin(QStringLiteral("ecole")),
                chemin(QStringLiteral("maison")), chemin(QStringLiteral("demo"))};
    }

private:
    QTemporaryDir dossier_;
    QDir racine_{dossier_.path()};
};

} // namespace

class TestDemarrage : public QObject {
    Q_OBJECT

private slots:
    // Each row: the command line, what the machine holds (settings in the current folder, the school's file with
    // "@" for the machine's folder, the home's Kelvane folder with or without settings, the demo), the program, the
    // folder chosen (or named by the message), whether the home's folder is made, and a part of the message.
    void leDossierSuitLaRegle_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("courantAppli");
        QTest::addColumn<QString>("ecole");  // null: no file
        QTest::addColumn<QString>("maison"); // null: no Kelvane folder; else the content of its settings
        QTest::addColumn<bool>("demo");
        QTest::addColumn<bool>("atelier");
        QTest::addColumn<QString>("attendu");
        QTest::addColumn<bool>("cree");
        QTest::addColumn<QString>("erreur"); // empty: the folder is used

        const QString aucun;
        const QStringList rien;
        QTest::newRow("argument, avant le dossier courant")
            << QStringList{"../classe"} << true << "@/vide" << aucun << true << false << "classe" << false << "";
        QTest::newRow("argument sans réglages") << QStringList{"../vide"} << true << aucun << aucun << true << false
                                                << "vide" << false << "ne contient pas de fichier habilitation.mdb";
        QTest::newRow("argument sans réglages, atelier")
            << QStringList{"../vide"} << false << aucun << aucun << true << true << "vide" << false << "";
        QTest::newRow("argument vers nulle part")
            << QStringList{"../nulle"} << false << aucun << aucun << true << true << "nulle" << false << "n'existe pas";
        QTest::newRow("argument qui est un fichier") << QStringList{"../demo/B0.mdb"} << false << aucun << aucun << true
                                                     << false << "demo/B0.mdb" << false << "pas un dossier";
        QTest::newRow("deux arguments") << QStringList{"../classe", "../vide"} << true << aucun << aucun << true
                                        << false << "" << false << "au plus un argument";
        QTest::newRow("dossier courant avec réglages")
            << rien << true << "@/classe" << aucun << true << false << "courant" << false << "";
        QTest::newRow("fichier de l'école") << rien << false << "\n# la classe\n   @/classe  \n@/vide\n"
                                            << aucun << true << false << "classe" << false << "";
        QTest::newRow("fichier de l'école vide") << rien << false << " \n\n"
                                                 << aucun << true << false << "maison/Kelvane" << true << "";
        QTest::newRow("fichier de l'école vers nulle part")
            << rien << false << "@/partage" << aucun << true << false << "partage" << false << "ecole";
        QTest::newRow("fichier de l'école vers un dossier sans réglages")
            << rien << false << "@/vide" << aucun << true << false << "vide" << false << "habilitation.mdb";
        QTest::newRow("Kelvane existant")
            << rien << false << aucun << "mien" << false << false << "maison/Kelvane" << false << "";
        QTest::newRow("Kelvane existant sans réglages")
            << rien << false << aucun << "" << true << false << "maison/Kelvane" << false << "Renommez-le";
        QTest::newRow("Kelvane existant sans réglages, atelier")
            << rien << false << aucun << "" << true << true << "maison/Kelvane" << false << "";
        QTest::newRow("Kelvane fait depuis la démo")
            << rien << false << aucun << aucun << true << false << "maison/Kelvane" << true << "";
        QTest::newRow("démo absente") << rien << false << aucun << aucun << false << false << "maison/Kelvane" << false
                                      << "dossier de démonstration qui sert à le créer est introuvable";
    }

    void leDossierSuitLaRegle() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, courantAppli);
        QFETCH(QString, ecole);
        QFETCH(QString, maison);
        QFETCH(bool, demo);
        QFETCH(bool, atelier);
        QFETCH(QString, attendu);
        QFETCH(bool, cree);
        QFETCH(QString, erreur);
        Machine m;
        if (courantAppli) {
            m.ecrire(QStringLiteral("courant/habilitation.mdb"), "courant");
        }
        if (!ecole.isNull()) {
            m.ecrire(QStringLiteral("ecole"), ecole.replace(QLatin1Char('@'), m.chemin({})).toUtf8());
        }
        if (!maison.isNull()) {
            QDir().mkpath(m.chemin(QStringLiteral("maison/Kelvane")));
            if (!maison.isEmpty()) {
                m.ecrire(QStringLiteral("maison/Kelvane/habilitation.mdb"), maison.toUtf8());
            }
        }
        demarrage::Environnement e = m.environnement(arguments);
        if (!demo) {
            e.demo = m.chemin(QStringLiteral("sans-demo"));
        }

        const demarrage::Depart d = demarrage::dossierDeDepart(e, atelier ? Programme::Atelier : Programme::Eleve);
        QCOMPARE(d.erreur.isEmpty(), erreur.isEmpty());
        QVERIFY2(d.erreur.contains(erreur), qPrintable(d.erreur));
        QCOMPARE(d.dossier, attendu.isEmpty() ? QString() : QDir::cleanPath(m.chemin(attendu)));
        if (!d.reussi() && !d.dossier.isEmpty()) {
            QVERIFY2(d.erreur.contains(QDir::toNativeSeparators(d.dossier)), qPrintable(d.erreur));
        }
        QCOMPARE(d.cree, cree);
        if (cree) {
            QCOMPARE(m.lire(QStringLiteral("maison/Kelvane/habilitation.mdb")), QByteArray("demo"));
            QCOMPARE(m.lire(QStringLiteral("maison/Kelvane/B0.mdb")), QByteArray("test"));
            QCOMPARE(m.lire(QStringLiteral("maison/Kelvane/Images/Terre.jpg")), QByteArray("image"));
        }
        // Nothing is written anywhere but the home's Kelvane folder, and there only when it is made.
        QCOMPARE(
            QDir(m.chemin(QStringLiteral("maison"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            cree || !maison.isNull() ? QStringList{"Kelvane"} : QStringList{});
        QCOMPARE(QDir(m.chemin(QStringLiteral("vide"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{});
    }

    // The school's file as the Windows installer (UTF-16 with its mark, CRLF) or an editor (UTF-8 with or without
    // its mark, the 8-bit "ANSI" page) saved it names the same class folder, accents included.
    void leFichierDeLEcoleSeLitDansSonCodage_data() {
        QTest::addColumn<QByteArray>("marque");
        QTest::addColumn<QString>("codage");
        QTest::newRow("UTF-16 de l'installateur") << QByteArray("\xff\xfe") << "UTF-16LE";
        QTest::newRow("UTF-8 avec sa marque") << QByteArray("\xef\xbb\xbf") << "UTF-8";
        QTest::newRow("UTF-8") << QByteArray() << "UTF-8";
        QTest::newRow("page 8 bits") << QByteArray() << "ISO-8859-1";
    }

    void leFichierDeLEcoleSeLitDansSonCodage() {
        QFETCH(QByteArray, marque);
        QFETCH(QString, codage);
        Machine m;
        QDir().mkpath(m.chemin(QStringLiteral("Électricité")));
        m.ecrire(QStringLiteral("Électricité/habilitation.mdb"), "classe");
        const QString texte =
            QStringLiteral("# écrit par l'installation\r\n%1\r\n").arg(m.chemin(QStringLiteral("Électricité")));
        QStringEncoder encodeur(qPrintable(codage));
        m.ecrire(QStringLiteral("ecole"), marque + QByteArray(encodeur(texte)));
        if (codage == QLatin1String("ISO-8859-1") && QString::fromLocal8Bit("\xc9") != QStringLiteral("É")) {
            QSKIP("la page 8 bits du système n'est pas Latin-1");
        }
        const demarrage::Depart d = demarrage::dossierDeDepart(m.environnement({}), Programme::Eleve);
        QVERIFY2(d.reussi(), qPrintable(d.erreur));
        QCOMPARE(d.dossier, QDir::cleanPath(m.chemin(QStringLiteral("Électricité"))));
    }

    // A copy into a folder that already holds some of the files keeps them as they are and adds the others.
    void laCopieNEcraseRien() {
        Machine m;
        m.ecrire(QStringLiteral("vide/habilitation.mdb"), "mien");
        QDir().mkpath(m.chemin(QStringLiteral("vide/Images")));
        m.ecrire(QStringLiteral("vide/Images/Terre.jpg"), "ma terre");
        demarrage::copierDossier(m.chemin(QStringLiteral("demo")), m.chemin(QStringLiteral("vide")));
        QCOMPARE(m.lire(QStringLiteral("vide/habilitation.mdb")), QByteArray("mien"));
        QCOMPARE(m.lire(QStringLiteral("vide/Images/Terre.jpg")), QByteArray("ma terre"));
        QCOMPARE(m.lire(QStringLiteral("vide/B0.mdb")), QByteArray("test"));
        // A folder already there is never made again over it.
        QVERIFY(!demarrage::creerCopie(m.chemin(QStringLiteral("demo")), m.chemin(QStringLiteral("vide"))));
        QCOMPARE(m.lire(QStringLiteral("vide/habilitation.mdb")), QByteArray("mien"));
        QCOMPARE(QDir(m.chemin({})).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"classe", "courant", "demo", "maison", "vide"}));
    }

    // The real program, started with no one to click on a folder without settings: it ends at once with a
    // non-zero status, its message on the standard error naming the folder.
    void leProgrammeRefuseUnDossierSansReglages() {
        Machine m;
        QProcess kelvane;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("KELVANE_SANS_FENETRE"), QStringLiteral("1"));
        env.insert(QStringLiteral("KELVANE_FICHIER_ECOLE"), m.chemin(QStringLiteral("ecole")));
        env.insert(QStringLiteral("HOME"), m.chemin(QStringLiteral("maison")));
        kelvane.setProcessEnvironment(env);
        kelvane.setWorkingDirectory(m.chemin(QStringLiteral("courant")));
        kelvane.start(QStringLiteral(KELVANE_PROGRAMME), {m.chemin(QStringLiteral("vide"))});
        QVERIFY(kelvane.waitForFinished(30000));
        QCOMPARE(kelvane.exitStatus(), QProcess::NormalExit);
        QVERIFY(kelvane.exitCode() != 0);
        const QString sortie = QString::fromUtf8(kelvane.readAllStandardError());
        QVERIFY2(sortie.contains(QStringLiteral("Le dossier « %1 » ne contient pas de fichier habilitation.mdb")
                                     .arg(QDir::toNativeSeparators(m.chemin(QStringLiteral("vide"))))),
                 qPrintable(sortie));
        QCOMPARE(QDir(m.chemin(QStringLiteral("maison"))).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{});
    }
};

QTEST_GUILESS_MAIN(TestDemarrage)
#include "tst_demarrage.moc"
