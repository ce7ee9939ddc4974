#include "data/reglesfichiers.h"

#include "data/format.h"
#include "data/valeurs.h"
#include "platform/error.h"

#include <QFileInfo>

namespace kelvane::data {

namespace {

// Entry `rang` of the listing, counted from 1, compared without regard to case.
bool entreeNommee(const QStringList& tables, int rang, const QString& nom) {
    return tables.size() >= rang && tables.at(rang - 1).compare(nom, Qt::CaseInsensitive) == 0;
}

} // namespace

bool estListeTest(const QStringList& tables) {
    return entreeNommee(tables, 7, kTableTest);
}

bool estListeResultats(const QStringList& tables) {
    return entreeNommee(tables, 2, kTableEleves);
}

bool estTest(db::Database& base) {
    return estListeTest(base.TableDefs().Names());
}

bool estResultats(db::Database& base) {
    return estListeResultats(base.TableDefs().Names());
}

SondageFichier sonderFichier(const QString& chemin) {
    // A listable file cannot meet both rules: with "eleves" second, the engine's four tables come next and a
    // table numero would stand seventh, before "test".
    try {
        db::Database base = db::OpenDatabase(chemin, db::OpenMode::ReadOnly);
        const QStringList tables = base.TableDefs().Names();
        if (estListeTest(tables)) {
            // Its content is not read here, but a test without its settings table could never start a session.
            base.OpenRecordset(kTableNumero);
            return {GenreFichier::Test, false};
        }
        if (estListeResultats(tables)) {
            db::Recordset eleves = base.OpenRecordset(kTableEleves);
            if (eleves.RecordCount() == 0) {
                return {};
            }
            eleves.setAbsolutePosition(0);
            return {GenreFichier::Resultats, estVrai(eleves.Fields(QStringLiteral("examen")))};
        }
        return {GenreFichier::Autre, false};
    } catch (const Error&) {
        return {};
    }
}

bool estFichierTest(const QString& chemin) {
    return QFileInfo(chemin).fileName().compare(kFichierParametres, Qt::CaseInsensitive) != 0 &&
           sonderFichier(chemin).genre == GenreFichier::Test;
}

QString nomTestDeFichier(const QString& fichier) {
    return fichier.chopped(qMin(kExtension.size(), fichier.size()));
}

} // namespace kelvane::data
