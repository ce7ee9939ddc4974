// Writing beside a target and moving into place: what stands at the target afterwards, and that nothing is left
// beside it, whatever the reservation, the rule for an existing target, or a writer that gives up half-way.

#include "platform/temporaryname.h"
#include "support/erreurs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvane;
using platform::IfExists;
using platform::Placement;
using Reserve = platform::TemporaryName::Reserve;

Q_DECLARE_METATYPE(Reserve)
Q_DECLARE_METATYPE(IfExists)
Q_DECLARE_METATYPE(Placement::Outcome)

namespace {

// A file holds its text, a folder the text of its one file "dedans".
void ecrire(const QString& chemin, const QByteArray& texte, bool dossier) {
    if (dossier) {
        QVERIFY(QDir().mkpath(chemin));
    }
    QFile f(dossier ? QDir(chemin).filePath(QStringLiteral("dedans")) : chemin);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(texte);
}

QByteArray lire(const QString& chemin) {
    QFile f(QFileInfo(chemin).isDir() ? QDir(chemin).filePath(QStringLiteral("dedans")) : chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(rien)");
}

QStringList contenu(const QTemporaryDir& dossier) {
    return QDir(dossier.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TstTemporaryName : public QObject {
    Q_OBJECT

private slots:
    void deplacement_data() {
        QTest::addColumn<Reserve>("reserve");
        QTest::addColumn<QByteArray>("avant"); // at the target beforehand; empty: nothing there
        QTest::addColumn<IfExists>("siExistant");
        QTest::addColumn<Placement::Outcome>("fin");
        QTest::addColumn<QByteArray>("apres");

        QTest::newRow("fichier nouveau") << Reserve::File << QByteArray() << IfExists::Refuse << Placement::Placed
                                         << QByteArray("neuf");
        QTest::newRow("fichier remplacé")
            << Reserve::File << QByteArray("ancien") << IfExists::Replace << Placement::Placed << QByteArray("neuf");
        QTest::newRow("fichier refusé, l'ancien reste")
            << Reserve::File << QByteArray("ancien") << IfExists::Refuse << Placement::Taken << QByteArray("ancien");
        QTest::newRow("fait par son écrivain")
            << Reserve::Nothing << QByteArray() << IfExists::Replace << Placement::Placed << QByteArray("neuf");
        QTest::newRow("dossier nouveau") << Reserve::Folder << QByteArray() << IfExists::Refuse << Placement::Placed
                                         << QByteArray("neuf");
        QTest::newRow("dossier refusé, l'ancien reste")
            << Reserve::Folder << QByteArray("ancien") << IfExists::Refuse << Placement::Taken << QByteArray("ancien");
    }

    void deplacement() {
        QFETCH(Reserve, reserve);
        QFETCH(QByteArray, avant);
        QFETCH(IfExists, siExistant);
        QTemporaryDir dossier;
        const QString cible = dossier.filePath(QStringLiteral("B1V.mdb"));
        const bool estDossier = reserve == Reserve::Folder;
        if (!avant.isEmpty()) {
            ecrire(cible, avant, estDossier);
        }
        {
            platform::TemporaryName temporaire(cible, reserve);
            QCOMPARE(QFileInfo(temporaire.path()).absolutePath(), QFileInfo(cible).absolutePath());
            QVERIFY(QFileInfo(temporaire.path()).fileName().startsWith(u'.'));
            QCOMPARE(QFileInfo::exists(temporaire.path()), reserve != Reserve::Nothing);
            ecrire(temporaire.path(), "neuf", estDossier);
            QTEST(temporaire.moveIntoPlace(siExistant).outcome, "fin");
        }
        QTEST(lire(cible), "apres");
        QCOMPARE(contenu(dossier), QStringList{QStringLiteral("B1V.mdb")}); // nothing left beside it
    }

    void abandonLaisseLeDossierCommeIlEtait_data() {
        QTest::addColumn<Reserve>("reserve");
        QTest::newRow("base et son journal") << Reserve::Nothing;
        QTest::newRow("dossier et son contenu") << Reserve::Folder;
    }

    void abandonLaisseLeDossierCommeIlEtait() {
        QFETCH(Reserve, reserve);
        QTemporaryDir dossier;
        {
            platform::TemporaryName temporaire(dossier.filePath(QStringLiteral("cible")), reserve);
            ecrire(temporaire.path(), "moitié", reserve == Reserve::Folder);
            if (reserve != Reserve::Folder) {
                ecrire(temporaire.path() + QStringLiteral("-journal"), "journal", false);
            }
        }
        QCOMPARE(contenu(dossier), QStringList{});
    }

    void reservationImpossible_data() {
        QTest::addColumn<Reserve>("reserve");
        QTest::newRow("fichier") << Reserve::File;
        QTest::newRow("dossier") << Reserve::Folder;
    }

    void reservationImpossible() {
        QFETCH(Reserve, reserve);
        QTemporaryDir dossier;
        KELVANE_EXPECT_ERROR(platform::TemporaryName(dossier.filePath(QStringLiteral("absent/cible")), reserve),
                             errc::PathFileAccess);
    }
};

QTEST_GUILESS_MAIN(TstTemporaryName)
#include "tst_temporaryname.moc"
