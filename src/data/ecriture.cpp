#include "data/ecriture.h"

#include "data/controletest.h"
#include "platform/error.h"
#include "platform/system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace kelvane::data {

namespace {

using db::FieldType;
using db::TableDef;

void ajouterChamp(TableDef& table, const QString& nom, FieldType type, int taille = 0) {
    db::Field champ = table.CreateField(nom, type, taille);
    if (type == FieldType::Text) {
        champ.setAllowZeroLength(true);
    }
    table.Fields().Append(champ);
}

void effacerAvecCompagnons(const QString& chemin) {
    QFile::remove(chemin);
    for (const char* suffixe : {"-journal", "-wal", "-shm"}) {
        QFile::remove(chemin + QLatin1String(suffixe));
    }
}

QString natif(const QString& chemin) {
    return QDir::toNativeSeparators(chemin);
}

// Moves the finished file to its name; false when SiExistant::Refuser finds the name taken.
bool renommer(const QString& temporaire, const QFileInfo& cible, SiExistant siExistant) {
    if (siExistant == SiExistant::Refuser) {
        // QFile::rename never replaces an existing file, even one made since the check.
        if (QFile::rename(temporaire, cible.absoluteFilePath())) {
            return true;
        }
        if (cible.exists() || QFileInfo::exists(cible.absoluteFilePath())) {
            return false;
        }
        throw Error(errc::PathFileAccess, QStringLiteral("impossible d'écrire « %1 »").arg(natif(cible.absoluteFilePath())));
    }
    const QString echec = platform::replaceFile(temporaire, cible.absoluteFilePath());
    if (!echec.isEmpty()) {
        throw Error(errc::PathFileAccess,
                    QStringLiteral("impossible d'écrire « %1 » (%2)").arg(natif(cible.absoluteFilePath()), echec));
    }
    return true;
}

} // namespace

void ecrireAtomiquement(const QString& chemin, const std::function<void(db::Database&)>& construire,
                        SiExistant siExistant) {
    const QFileInfo cible(chemin);
    if (!cible.absoluteDir().exists()) {
        throw Error(errc::PathNotFound,
                    QStringLiteral("le dossier « %1 » n'existe pas").arg(natif(cible.absolutePath())));
    }
    if (cible.isDir()) {
        throw Error(errc::PathFileAccess, QStringLiteral("« %1 » est un dossier").arg(natif(cible.absoluteFilePath())));
    }
    if (siExistant == SiExistant::Refuser && cible.exists()) {
        throw Error(errc::DatabaseExists,
                    QStringLiteral("« %1 » existe déjà : il n'est pas remplacé").arg(natif(cible.absoluteFilePath())));
    }

    QString temporaire;
    db::Database base;
    for (int essai = 0;; ++essai) {
        temporaire = cible.absoluteDir().filePath(
            QStringLiteral(".%1.%2.tmp")
                .arg(cible.fileName())
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        try {
            base = db::CreateDatabase(temporaire, QLatin1String(kLocaleNouveauxFichiers));
            break;
        } catch (const Error& e) {
            if (e.number() != errc::DatabaseExists || essai == 9) {
                throw;
            }
        }
    }

    try {
        construire(base);
        base.Close();
        if (!renommer(temporaire, cible, siExistant)) {
            throw Error(errc::DatabaseExists, QStringLiteral("« %1 » existe déjà : il n'est pas remplacé")
                                                  .arg(natif(cible.absoluteFilePath())));
        }
    } catch (...) {
        try {
            if (base.isOpen() && base.inTransaction()) {
                base.Rollback();
            }
            base.Close();
        } catch (const Error&) { // the first failure is the one to report
        }
        effacerAvecCompagnons(temporaire);
        throw;
    }
}

void creerTablesTest(db::Database& base) {
    TableDef chapitre = base.CreateTableDef(QStringLiteral("chapitre"));
    ajouterChamp(chapitre, QStringLiteral("nom"), FieldType::Text, TailleChapitre);
    ajouterChamp(chapitre, QStringLiteral("numero"), FieldType::Integer);
    base.TableDefs().Append(chapitre);

    TableDef numero = base.CreateTableDef(QStringLiteral("numero"));
    ajouterChamp(numero, QStringLiteral("temps"), FieldType::Integer);
    ajouterChamp(numero, QStringLiteral("tolerance"), FieldType::Integer);
    base.TableDefs().Append(numero);

    TableDef test = base.CreateTableDef(QStringLiteral("test"));
    for (const char* niveau : {"B0", "B1", "B2", "BR", "BC"}) {
        ajouterChamp(test, QLatin1String(niveau), FieldType::Boolean);
    }
    ajouterChamp(test, QStringLiteral("question"), FieldType::Text, TailleQuestion);
    ajouterChamp(test, QStringLiteral("nbrereponse"), FieldType::Integer);
    for (int i = 1; i <= 5; ++i) {
        ajouterChamp(test, QStringLiteral("R%1").arg(i), FieldType::Text, TailleReponse);
    }
    for (int i = 1; i <= 5; ++i) {
        ajouterChamp(test, QStringLiteral("S%1").arg(i), FieldType::Integer);
    }
    ajouterChamp(test, QStringLiteral("temps"), FieldType::Integer);
    ajouterChamp(test, QStringLiteral("qcm"), FieldType::Boolean);
    ajouterChamp(test, QStringLiteral("chapitre"), FieldType::Integer);
    ajouterChamp(test, QStringLiteral("numero"), FieldType::Integer);
    base.TableDefs().Append(test);
}

void remplirTablesTest(db::Database& base, const Test& test) {
    db::Recordset numero = base.OpenRecordset(QStringLiteral("numero"));
    db::Recordset chapitre = base.OpenRecordset(QStringLiteral("chapitre"));
    db::Recordset questions = base.OpenRecordset(QStringLiteral("test"));

    numero.AddNew();
    numero.SetField(0, test.temps);
    numero.SetField(1, test.tolerance);
    numero.Update();

    for (const Test::Chapitre& c : test.chapitres) {
        chapitre.AddNew();
        chapitre.SetField(0, c.nom);
        chapitre.SetField(1, c.numero);
        chapitre.Update();
    }

    for (const Test::Question& q : test.questions) {
        questions.AddNew();
        for (int i = 0; i < NbChampsQuestionTest; ++i) {
            questions.SetField(i, q[static_cast<std::size_t>(i)]);
        }
        questions.Update();
    }
}

void ecrireTest(const Test& test, const QString& chemin, SiExistant siExistant) {
    ecrireAtomiquement(
        chemin,
        [&](db::Database& base) {
            // One transaction: the new file reaches the disk once, whole.
            db::Transaction transaction(base);
            creerTablesTest(base);
            remplirTablesTest(base, test);
            transaction.Commit();
        },
        siExistant);
}

} // namespace kelvane::data
