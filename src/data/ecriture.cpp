#include "data/ecriture.h"

#include "data/images.h"
#include "platform/error.h"
#include "platform/nativepath.h"

#include <QDir>
#include <QFileInfo>

namespace kelvane::data {

using platform::nativePath;

namespace {

Error dejaLa(const QString& chemin) {
    return Error(errc::DatabaseExists,
                 QStringLiteral("« %1 » existe déjà : il n'est pas remplacé").arg(nativePath(chemin)));
}

} // namespace

void ecrireAtomiquement(const QString& chemin, const std::function<void(db::Database&)>& construire,
                        platform::IfExists siExistant) {
    const QFileInfo cible(chemin);
    if (!cible.absoluteDir().exists()) {
        throw Error(errc::PathNotFound,
                    QStringLiteral("le dossier « %1 » n'existe pas").arg(nativePath(cible.absolutePath())));
    }
    if (cible.isDir()) {
        throw Error(errc::PathFileAccess,
                    QStringLiteral("« %1 » est un dossier").arg(nativePath(cible.absoluteFilePath())));
    }
    if (siExistant == platform::IfExists::Refuse && cible.exists()) {
        throw dejaLa(cible.absoluteFilePath());
    }

    // Declared first, so that it goes last: the file is closed before it is removed.
    platform::TemporaryName temporaire(cible.absoluteFilePath());
    db::Database base = db::CreateDatabase(temporaire.path(), LocaleNouveauxFichiers);
    try {
        construire(base);
        base.Close();
    } catch (...) {
        try {
            if (base.isOpen() && base.inTransaction()) {
                base.Rollback();
            }
            base.Close();
        } catch (const Error&) { // the first failure is the one to report
        }
        throw;
    }
    const platform::Placement placement = temporaire.moveIntoPlace(siExistant);
    if (placement.outcome == platform::Placement::Taken) {
        throw dejaLa(cible.absoluteFilePath());
    }
    if (placement.outcome == platform::Placement::Failed) {
        throw Error(errc::PathFileAccess,
                    siExistant == platform::IfExists::Replace
                        ? QStringLiteral("impossible d'écrire « %1 » (%2)")
                              .arg(nativePath(cible.absoluteFilePath()), placement.reason)
                        : QStringLiteral("impossible d'écrire « %1 »").arg(nativePath(cible.absoluteFilePath())));
    }
}

void creerTable(db::Database& base, const QString& nom, std::span<const ChampFichier> champs) {
    db::TableDef table = base.CreateTableDef(nom);
    for (const ChampFichier& c : champs) {
        db::Field champ = table.CreateField(c.nom, c.type, c.taille);
        if (c.type == db::FieldType::Text) {
            champ.setAllowZeroLength(true);
        }
        table.Fields().Append(champ);
    }
    base.TableDefs().Append(table);
}

void creerTablesTest(db::Database& base) {
    creerTable(base, kTableChapitre, kChampsChapitre);
    creerTable(base, kTableNumero, kChampsNumero);
    creerTable(base, kTableTest, kChampsQuestion);
}

void remplirTablesTest(db::Database& base, const Test& test) {
    db::Recordset numero = base.OpenRecordset(kTableNumero);
    db::Recordset chapitre = base.OpenRecordset(kTableChapitre);
    db::Recordset questions = base.OpenRecordset(kTableTest);

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

    for (const QuestionTest& q : test.questions) {
        questions.AddNew();
        for (int i = 0; i < NbChampsQuestionTest; ++i) {
            questions.SetField(i, q[static_cast<std::size_t>(i)]);
        }
        questions.Update();
    }
}

void ecrireTest(const Test& test, const QString& chemin, platform::IfExists siExistant) {
    ecrireAtomiquement(
        chemin,
        [&](db::Database& base) {
            // One transaction: the new file reaches the disk once, whole.
            db::Transaction transaction(base);
            creerTablesTest(base);
            remplirTablesTest(base, test);
            ecrireImages(base, test.images);
            transaction.Commit();
        },
        siExistant);
}

} // namespace kelvane::data
