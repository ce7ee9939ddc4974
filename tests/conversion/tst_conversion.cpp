#include "conversion/conversion.h"
#include "conversion/lecteur.h"
#include "data/fichierresultats.h"
#include "data/reglesfichiers.h"
#include "data/test.h"
#include "platform/db/database.h"
#include "platform/system.h"
#include "session/modetest.h"
#include "session/session.h"
#include "support/doubles/scriptedservices.h"
#include "support/outil.h"
#include "support/systeme.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvane;
using conversion::Genre;

Q_DECLARE_METATYPE(conversion::Genre)

namespace {

const QDir kDonnees(QStringLiteral(KELVANE_ACCES_DONNEES));

// What each file of the test data becomes; every file of the folder must be listed here.
const QMap<QString, Genre> kAttendus{
    {QStringLiteral("Essai-Access2000.mdb"), Genre::Test},
    {QStringLiteral("Essai-Access2007.accdb"), Genre::Test},
    {QStringLiteral("EDurand-Essai-Ex-050309-Access2000.mdb"), Genre::Resultats},
    {QStringLiteral("Clients-Access2000.mdb"), Genre::Refuse},
    {QStringLiteral("testV1997.mdb"), Genre::Refuse},
    {QStringLiteral("test2V1997.mdb"), Genre::Refuse},
    {QStringLiteral("overflowTestV1997.mdb"), Genre::Refuse},
    {QStringLiteral("test2V2000.mdb"), Genre::Refuse},
    {QStringLiteral("fixedTextTestV2003.mdb"), Genre::Refuse},
    {QStringLiteral("testPromotionV2010.accdb"), Genre::Refuse},
    {QStringLiteral("DateTestDatabase.mdb"), Genre::Refuse},
    {QStringLiteral("ASampleDatabase.accdb"), Genre::Refuse},
};

QStringList fichiersAccess() {
    return kDonnees.entryList({QStringLiteral("*.mdb"), QStringLiteral("*.accdb")}, QDir::Files, QDir::Name);
}

#define EXIGER_DONNEES()                                                                                               \
    if (!kDonnees.exists())                                                                                            \
    QSKIP(qPrintable(QStringLiteral("dossier des fichiers Access de test absent : %1").arg(kDonnees.path())))

// A reader program that is a shell script, for the ways a reader fails.
QString script(const QTemporaryDir& dossier, const QString& corps) {
    const QString chemin = dossier.filePath(QStringLiteral("lecteur.sh"));
    QFile f(chemin);
    f.open(QIODevice::WriteOnly);
    f.write("#!/bin/sh\n" + corps.toUtf8() + '\n');
    f.setPermissions(f.permissions() | QFile::ExeOwner);
    return chemin;
}

QStringList fichiersDe(const QString& dossier) {
    return QDir(dossier).entryList(QDir::Files | QDir::Hidden);
}

struct Outil {
    int code = -1;
    QStringList lignes;
    QString erreurs;
};

Outil lancerOutil(const QStringList& arguments) {
    const support::SortieOutil s =
        support::lancerOutil(QStringLiteral(KELVANE_OUTIL), QStringList{QStringLiteral("convertir")} + arguments);
    return {s.code, s.sortie.split(QLatin1Char('\n'), Qt::SkipEmptyParts), s.erreurs};
}

} // namespace

class TstConversion : public QObject {
    Q_OBJECT

private slots:
    void nomCible_data();
    void nomCible();
    void chaqueFichier_data();
    void chaqueFichier();
    void contenu_data();
    void contenu();
    void testJoueDansUneSession();
    void lecteurDefaillant_data();
    void lecteurDefaillant();
    void copieAbimee_data();
    void copieAbimee();
    void nomDejaPris();
    void ligneDeCommande();
};

void TstConversion::nomCible_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("cible");
    QTest::newRow("accdb") << "Essai.accdb"
                           << "Essai.mdb";
    QTest::newRow("dossier et majuscules") << "/un/dossier/B1V.ACCDB"
                                           << "B1V.mdb";
    QTest::newRow("points dans le nom") << "Essai.v2.mdb"
                                        << "Essai.v2.mdb";
}

void TstConversion::nomCible() {
    QFETCH(QString, source);
    QFETCH(QString, cible);
    QCOMPARE(conversion::nomCible(source), cible);
}

void TstConversion::chaqueFichier_data() {
    QTest::addColumn<QString>("fichier");
    QTest::addColumn<Genre>("genre");
    for (const QString& f : fichiersAccess()) {
        QTest::newRow(qPrintable(f)) << f << kAttendus.value(f, Genre(-1));
    }
}

// Every file of the test data: what it becomes, a report line naming it, and a file written only when converted.
void TstConversion::chaqueFichier() {
    EXIGER_DONNEES();
    QFETCH(QString, fichier);
    QFETCH(Genre, genre);
    QVERIFY2(int(genre) >= 0, "fichier de test inconnu : l'ajouter à kAttendus");
    QTemporaryDir dossier;
    const conversion::CompteRendu cr = conversion::convertir(kDonnees.filePath(fichier), dossier.path());
    QVERIFY2(cr.message.startsWith(fichier + QStringLiteral(" : ")), qPrintable(cr.message));
    QCOMPARE(cr.genre, genre);
    if (genre == Genre::Refuse) {
        QVERIFY2(cr.message.contains(QStringLiteral("n'est pas un test ni un fichier de résultats : tables trouvées ")),
                 qPrintable(cr.message));
        QVERIFY(cr.cible.isEmpty());
        QCOMPARE(fichiersDe(dossier.path()), QStringList());
    } else {
        QCOMPARE(cr.cible, dossier.filePath(conversion::nomCible(fichier)));
        QCOMPARE(fichiersDe(dossier.path()), QStringList{conversion::nomCible(fichier)});
        QCOMPARE(data::sonderFichier(cr.cible).genre,
                 genre == Genre::Test ? data::GenreFichier::Test : data::GenreFichier::Resultats);
    }
}

void TstConversion::contenu_data() {
    QTest::addColumn<QString>("fichier");
    QTest::addColumn<QString>("table"); // of the questions
    QTest::addColumn<int>("nbChamps");
    QTest::addColumn<QVariant>("r4"); // of the first question, which has three answers
    QTest::addColumn<QString>("message");
    QTest::newRow("Jet 4, réponses inutilisées vides")
        << "Essai-Access2000.mdb"
        << "test" << 21 << QVariant(QString())
        << "Essai-Access2000.mdb : test converti en Essai-Access2000.mdb (6 questions, 3 chapitres, 600 s, 70 %)";
    QTest::newRow("ACE 12, réponses inutilisées nulles")
        << "Essai-Access2007.accdb"
        << "test" << 21 << QVariant()
        << "Essai-Access2007.accdb : test converti en Essai-Access2007.mdb (6 questions, 3 chapitres, 600 s, 70 %)";
    QTest::newRow("résultats") << "EDurand-Essai-Ex-050309-Access2000.mdb"
                               << "question" << 27 << QVariant(QString())
                               << "EDurand-Essai-Ex-050309-Access2000.mdb : fichier de résultats converti en "
                                  "EDurand-Essai-Ex-050309-Access2000.mdb (Élodie Durand, 1ELEC, test Essai, "
                                  "évaluation du 05/03/09, 6 questions)";
}

// The layout files keep their tables, field types and sizes, accents, nulls, yes/no and record order.
void TstConversion::contenu() {
    EXIGER_DONNEES();
    QFETCH(QString, fichier);
    QFETCH(QString, table);
    QFETCH(int, nbChamps);
    QFETCH(QVariant, r4);
    QFETCH(QString, message);
    QTemporaryDir dossier;
    const conversion::CompteRendu cr = conversion::convertir(kDonnees.filePath(fichier), dossier.path());
    QCOMPARE(cr.message, message);

    db::Database base = db::OpenDatabase(cr.cible, db::OpenMode::ReadOnly);
    const db::TableDef def = base.TableDefs().Item(table);
    QCOMPARE(def.Fields().Count(), nbChamps);
    const QList<std::tuple<QString, db::FieldType, int>> champs{
        {"B0", db::FieldType::Boolean, 0},          {"question", db::FieldType::Text, 200},
        {"nbrereponse", db::FieldType::Integer, 0}, {"R5", db::FieldType::Text, 100},
        {"qcm", db::FieldType::Boolean, 0},         {"numero", db::FieldType::Integer, 0}};
    for (const auto& [nom, type, taille] : champs) {
        QCOMPARE(def.Fields()[nom].Type(), type);
        QCOMPARE(def.Fields()[nom].Size(), taille);
    }

    db::Recordset questions = base.OpenRecordset(table);
    QCOMPARE(questions.RecordCount(), 6);
    for (int i = 0; i < 6; ++i) {
        questions.setAbsolutePosition(i);
        QCOMPARE(questions.Fields(QStringLiteral("numero")).toInt(), i + 1);
    }
    questions.setAbsolutePosition(0);
    QCOMPARE(questions.Fields(QStringLiteral("question")).toString(),
             QStringLiteral("Quels équipements protègent contre le contact direct ?"));
    QCOMPARE(questions.Fields(QStringLiteral("R4")), r4);
    QCOMPARE(questions.Fields(QStringLiteral("B0")), QVariant(true)); // -1 in Access
    questions.setAbsolutePosition(1);
    QCOMPARE(questions.Fields(QStringLiteral("qcm")), QVariant(false));
    QCOMPARE(questions.Fields(QStringLiteral("R1")).toString(), QStringLiteral("Vérifier l'absence de tension"));

    db::Recordset chapitres = base.OpenRecordset(QStringLiteral("chapitre"));
    QCOMPARE(chapitres.RecordCount(), 3);
    QCOMPARE(chapitres.Fields(QStringLiteral("nom")).toString(), QStringLiteral("Dangers de l'électricité"));
    QCOMPARE(base.TableDefs().Item(QStringLiteral("chapitre")).Fields()[QStringLiteral("nom")].Size(), 80);
}

// The converted test is read as the student program reads it and runs a session: an answer is marked and recorded.
void TstConversion::testJoueDansUneSession() {
    EXIGER_DONNEES();
    QTemporaryDir dossier;
    const conversion::CompteRendu cr =
        conversion::convertir(kDonnees.filePath(QStringLiteral("Essai-Access2007.accdb")), dossier.path());
    auto lu = data::lireTest(cr.cible);
    QVERIFY(std::holds_alternative<data::Test>(lu));
    const data::Test test = std::get<data::Test>(lu);
    QCOMPARE(test.questions.size(), std::size_t(6));

    doubles::ScriptedServices s;
    s.files.setCurrentFolder(dossier.path());
    session::Session session(session::modeEntrainement(), s.files, s.clock, s.random);
    session.demarrer(test, {QStringLiteral("Durand"), QStringLiteral("Élodie"), QStringLiteral("1ELEC")},
                     dossier.path());
    session.tirerOrdreEvaluation();
    QCOMPARE(session.question().texte, QStringLiteral("Quels équipements protègent contre le contact direct ?"));
    session::Reponse reponse;
    reponse.cases = {true, false, true, false, false};
    QVERIFY(session.enregistrer(reponse));
    auto resultats = data::FichierResultats::ouvrir(session.cheminFichier(), db::OpenMode::ReadOnly);
    QVERIFY(resultats && resultats->question(0).reussi);

    QTemporaryDir ailleurs;
    QCOMPARE(conversion::convertir(cr.cible, ailleurs.path()).message,
             QStringLiteral("Essai-Access2007.mdb : c'est déjà un fichier Kelvane, il n'y a rien à convertir"));
}

void TstConversion::lecteurDefaillant_data() {
    QTest::addColumn<QString>("corps"); // of the reader script; %1 is a file holding a real dump
    QTest::addColumn<int>("delaiMs");
    QTest::addColumn<QString>("attendu");
    QTest::newRow("plantage") << "kill -SEGV $$" << 10000 << "(lecture interrompue : fichier endommagé ?)";
    QTest::newRow("bloqué") << "exec sleep 60" << 300 << "(lecture arrêtée au bout de 0,3 s : fichier endommagé ?)";
    QTest::newRow("bloqué après avoir écrit") << "head -c 100 '%1'; exec sleep 60" << 300 << "arrêtée au bout de";
    QTest::newRow("raison donnée") << "echo 'kelvane-lecteur-access : table « x » illisible' >&2; exit 2" << 10000
                                   << "(table « x » illisible)";
    QTest::newRow("réponse coupée") << "head -c 700 '%1'" << 10000 << "(réponse du lecteur incomplète)";
    QTest::newRow("réponse étrangère") << "echo bonjour" << 10000 << "(réponse du lecteur illisible)";
    QTest::newRow("introuvable") << "" << 10000 << "ne démarre pas";
}

// A reader that crashes, hangs, fails or answers badly gives a message in time, and nothing is written.
void TstConversion::lecteurDefaillant() {
    EXIGER_DONNEES();
#ifdef Q_OS_WIN
    QSKIP("the failing readers are shell scripts; on Windows the real reader's limits are tried by copieAbimee");
#endif
    QFETCH(QString, corps);
    QFETCH(int, delaiMs);
    QFETCH(QString, attendu);
    QTemporaryDir outils;
    QTemporaryDir dossier;
    const QString source = kDonnees.filePath(QStringLiteral("Essai-Access2000.mdb"));
    QProcess vrai;
    vrai.setStandardOutputFile(outils.filePath(QStringLiteral("vrai.bin")));
    vrai.start(QStringLiteral(KELVANE_LECTEUR), {source});
    QVERIFY(vrai.waitForFinished());

    conversion::Limites limites;
    limites.lecteur =
        corps.isEmpty()
            ? outils.filePath(QStringLiteral("absent"))
            : script(outils, QString(corps).replace(QStringLiteral("%1"), outils.filePath(QStringLiteral("vrai.bin"))));
    limites.delaiMs = delaiMs;
    QElapsedTimer chrono;
    chrono.start();
    const conversion::CompteRendu cr = conversion::convertir(source, dossier.path(), limites);
    QVERIFY(chrono.elapsed() < 8000);
    QCOMPARE(cr.genre, Genre::Refuse);
    QVERIFY2(cr.message.startsWith(QStringLiteral("Essai-Access2000.mdb : le fichier Access n'a pas pu être lu ")),
             qPrintable(cr.message));
    QVERIFY2(cr.message.contains(attendu), qPrintable(cr.message));
    QCOMPARE(fichiersDe(dossier.path()), QStringList());
}

void TstConversion::copieAbimee_data() {
    QTest::addColumn<QString>("fichier");
    QTest::addColumn<int>("garder");    // bytes of the real file kept (-1: all)
    QTest::addColumn<int>("brouiller"); // from this offset, bytes replaced by random ones (-1: none)
    QTest::addColumn<qint64>("memoire");
    QTest::newRow("première page seule") << "Essai-Access2000.mdb" << 4096 << -1 << qint64(512) * 1024 * 1024;
    QTest::newRow("moitié") << "Essai-Access2007.accdb" << 188416 << -1 << qint64(512) * 1024 * 1024;
    QTest::newRow("pages brouillées") << "EDurand-Essai-Ex-050309-Access2000.mdb" << -1 << 8192
                                      << qint64(512) * 1024 * 1024;
    QTest::newRow("que du bruit") << "Essai-Access2000.mdb" << 65536 << 0 << qint64(512) * 1024 * 1024;
    QTest::newRow("mémoire trop petite") << "Essai-Access2000.mdb" << -1 << -1 << qint64(4) * 1024 * 1024;
}

// The real reader on damaged copies of real files: an answer in time, a report line, a file only when converted.
void TstConversion::copieAbimee() {
    EXIGER_DONNEES();
    QFETCH(QString, fichier);
    QFETCH(int, garder);
    QFETCH(int, brouiller);
    QFETCH(qint64, memoire);
    if (memoire < 64 * 1024 * 1024 && !platform::childMemoryLimited()) {
        QSKIP("la mémoire du lecteur n'est pas limitée dans cette construction");
    }
    if (memoire < 64 * 1024 * 1024 && support::sousWine()) {
        QSKIP("Wine n'applique pas la limite de mémoire d'un objet job (Windows, lui, l'applique)");
    }
    QTemporaryDir sources;
    QTemporaryDir dossier;
    QFile original(kDonnees.filePath(fichier));
    QVERIFY(original.open(QIODevice::ReadOnly));
    QByteArray octets = original.readAll();
    if (garder >= 0) {
        octets.truncate(garder);
    }
    QRandomGenerator hasard(42);
    for (qsizetype i = qMax(0, brouiller); brouiller >= 0 && i < octets.size(); ++i) {
        octets[i] = static_cast<char>(hasard.bounded(256));
    }
    const QString copie = sources.filePath(fichier);
    QFile f(copie);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(octets) == octets.size());
    f.close();

    conversion::Limites limites;
    limites.delaiMs = 5000;
    limites.memoireOctets = memoire;
    QElapsedTimer chrono;
    chrono.start();
    const conversion::CompteRendu cr = conversion::convertir(copie, dossier.path(), limites);
    QVERIFY(chrono.elapsed() < 10000);
    QVERIFY2(cr.message.startsWith(fichier + QStringLiteral(" : ")), qPrintable(cr.message));
    QVERIFY(!cr.message.contains(QLatin1Char('\n')));
    QCOMPARE(fichiersDe(dossier.path()).size(), cr.genre == Genre::Refuse ? 0 : 1);
    if (memoire < 64 * 1024 * 1024) {
        QCOMPARE(cr.genre, Genre::Refuse);
    }
}

// A name already taken is never overwritten, however the file there came.
void TstConversion::nomDejaPris() {
    EXIGER_DONNEES();
    QTemporaryDir dossier;
    const QString cible = dossier.filePath(QStringLiteral("Essai-Access2007.mdb"));
    QFile f(cible);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write("à garder") > 0);
    f.close();
    const conversion::CompteRendu cr =
        conversion::convertir(kDonnees.filePath(QStringLiteral("Essai-Access2007.accdb")), dossier.path());
    QCOMPARE(cr.genre, Genre::Refuse);
    QCOMPARE(cr.message, QStringLiteral("Essai-Access2007.accdb : Essai-Access2007.mdb existe déjà dans « %1 » : il "
                                        "n'est pas remplacé")
                             .arg(QDir::toNativeSeparators(dossier.path())));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("à garder"));
    QCOMPARE(fichiersDe(dossier.path()), QStringList{QStringLiteral("Essai-Access2007.mdb")});
}

// kelvane-outil convertir: one line a file, the others go on after a refusal, exit status 1 when any was refused.
void TstConversion::ligneDeCommande() {
    EXIGER_DONNEES();
    QTemporaryDir dossier;
    const QStringList fichiers{kDonnees.filePath(QStringLiteral("Essai-Access2007.accdb")),
                               kDonnees.filePath(QStringLiteral("Clients-Access2000.mdb")),
                               kDonnees.filePath(QStringLiteral("EDurand-Essai-Ex-050309-Access2000.mdb"))};
    Outil o = lancerOutil(fichiers + QStringList{QStringLiteral("--dossier"), dossier.path()});
    QCOMPARE(o.code, 1);
    QCOMPARE(o.lignes.size(), 3);
    QVERIFY(o.lignes[0].startsWith(QStringLiteral("Essai-Access2007.accdb : test converti en ")));
    QVERIFY(o.lignes[1].startsWith(QStringLiteral("Clients-Access2000.mdb : ce fichier Access n'est pas un test")));
    QVERIFY(o.lignes[2].contains(QStringLiteral("fichier de résultats converti")));
    QCOMPARE(fichiersDe(dossier.path()), (QStringList{QStringLiteral("EDurand-Essai-Ex-050309-Access2000.mdb"),
                                                      QStringLiteral("Essai-Access2007.mdb")}));

    QTemporaryDir autre; // into the current folder, every file converted
    QProcess p;
    p.setWorkingDirectory(autre.path());
    p.start(QStringLiteral(KELVANE_OUTIL), {QStringLiteral("convertir"), fichiers[0]});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    QVERIFY(QFile::exists(autre.filePath(QStringLiteral("Essai-Access2007.mdb"))));

    o = lancerOutil({fichiers[0], QStringLiteral("--dossier"), dossier.filePath(QStringLiteral("absent"))});
    QCOMPARE(o.code, 1);
    QVERIFY(o.lignes.isEmpty());
    QVERIFY2(o.erreurs.contains(QStringLiteral("le dossier « %1 » n'existe pas")
                                    .arg(QDir::toNativeSeparators(dossier.filePath(QStringLiteral("absent"))))),
             qPrintable(o.erreurs));
}

QTEST_GUILESS_MAIN(TstConversion)
#include "tst_conversion.moc"
