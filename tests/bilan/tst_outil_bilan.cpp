// kelvane-outil bilan: the summary on the standard output, the files set aside on the error output, the files
// asked for written, and an existing file or a wrong command line refused before anything is written.

#include "classe.h"
#include "support/outil.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Sortie {
    int code = -1;
    QString out;
    QString err;
};

Sortie outil(const QStringList& arguments) {
    const kelvane::support::SortieOutil s =
        kelvane::support::lancerOutil(QStringLiteral(KELVANE_OUTIL), QStringList{QStringLiteral("bilan")} + arguments);
    return {s.code, s.sortie, s.erreurs};
}

QByteArray somme(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                                       : QByteArray();
}

} // namespace

class TstOutilBilan : public QObject {
    Q_OBJECT

    QTemporaryDir racine_;
    QString classe_;

private slots:
    void initTestCase() {
        classe_ = racine_.filePath(QStringLiteral("1A"));
        QVERIFY(QDir().mkpath(classe_ + QStringLiteral("/groupe2")));
        classe::creer(classe_);
        QFile etranger(classe_ + QStringLiteral("/groupe2/copie.mdb"));
        QVERIFY(etranger.open(QIODevice::WriteOnly));
        etranger.write("pas une base");
    }

    void ligneDeCommande_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("sortie");
        QTest::addColumn<QString>("erreurs");

        QTest::newRow("résumé seul") << QStringList{} << 0
                                     << "B1V : 4 passage(s), 2 réussi(s), moyenne 62 %, "
                                        "question la plus difficile : n° 2 (50 %)"
                                     << "";
        QTest::newRow("sous-dossiers") << QStringList{"--sous-dossiers"} << 0 << "1 fichier(s) mis à part"
                                       << "copie.mdb : mis à part. Ce n'est pas une base lisible";
        QTest::newRow("option inconnue") << QStringList{"--tout"} << 1 << ""
                                         << "argument « --tout » inattendu";
        QTest::newRow("sans fichier") << QStringList{"--csv"} << 1 << ""
                                      << "--csv sans nom de fichier";
        QTest::newRow("option d'un format en majuscules")
            << QStringList{"--PDF", "x.pdf"} << 1 << ""
            << "(attendu : kelvane-outil bilan DOSSIER [--sous-dossiers] [--xlsx FICHIER] [--csv FICHIER] "
               "[--pdf FICHIER])";
    }

    void ligneDeCommande() {
        QFETCH(QStringList, arguments);
        const Sortie s = outil(QStringList{classe_} + arguments);
        QTEST(s.code, "code");
        QFETCH(QString, sortie);
        QFETCH(QString, erreurs);
        QVERIFY2(s.out.contains(sortie), qPrintable(s.out));
        QVERIFY2(s.err.contains(erreurs), qPrintable(s.err));
        QCOMPARE(s.err.isEmpty(), erreurs.isEmpty());
    }

    void fichiersEcrits() {
        QTemporaryDir sortie;
        const QString csv = sortie.filePath(QStringLiteral("classe.csv"));
        const QString xlsx = sortie.filePath(QStringLiteral("classe.xlsx"));
        const QString pdf = sortie.filePath(QStringLiteral("classe.pdf"));
        const QStringList arguments{classe_, QStringLiteral("--csv"), csv, QStringLiteral("--xlsx"),
                                    xlsx,    QStringLiteral("--pdf"), pdf};
        Sortie s = outil(arguments);
        QCOMPARE(s.code, 0);
        QVERIFY2(s.out.contains(QStringLiteral("classe.pdf écrit.")), qPrintable(s.out + s.err));
        QCOMPARE(QDir(sortie.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"classe.csv", "classe.pdf", "classe.xlsx"}));
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::ReadOnly) && f.read(5) == "%PDF-");
        if (!QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty()) {
            QProcess images; // the workbench's charts, drawn by the tool too
            images.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
            QVERIFY(images.waitForFinished());
            QVERIFY2(images.readAllStandardOutput().count('\n') > 2, "aucune image dans le PDF");
        }

        // Run again: the existing files are refused and left as they are.
        const QByteArray avant = somme(xlsx);
        s = outil(arguments);
        QCOMPARE(s.code, 1);
        QVERIFY2(s.err.contains(QStringLiteral("existe déjà")), qPrintable(s.err));
        QCOMPARE(somme(xlsx), avant);
    }
};

QTEST_GUILESS_MAIN(TstOutilBilan)
#include "tst_outil_bilan.moc"
