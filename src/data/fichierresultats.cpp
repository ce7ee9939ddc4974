#include "data/fichierresultats.h"

#include "data/reglesfichiers.h"
#include "data/valeurs.h"
#include "platform/error.h"
#include "platform/services/clock.h"

#include <QFile>

namespace kelvane {

using db::FieldType;

QString nomFichierResultats(const QString& prenom, const QString& nom, const QString& nomTest, bool examen,
                            const QString& dateCourte) {
    // One character, but never half of a surrogate pair: that would not even be a valid file name.
    const qsizetype initiale = !prenom.isEmpty() && prenom.at(0).isHighSurrogate() ? 2 : 1;
    return prenom.left(initiale) + nom + QLatin1Char('-') + nomTest +
           (examen ? QLatin1StringView("-Ex-") : QLatin1StringView("-")) + dateCourte.mid(0, 2) + dateCourte.mid(3, 2) +
           dateCourte.mid(6, 2) + QLatin1StringView(".mdb");
}

QString premierNomLibre(const QString& nom, const std::function<bool(const QString&)>& existe) {
    if (!existe(nom)) {
        return nom;
    }
    const QString souche = nom.chopped(qMin<qsizetype>(4, nom.size()));
    for (qint64 n = 1;; ++n) {
        const QString essai = souche + QLatin1Char('-') + QString::number(n) + QLatin1StringView(".mdb");
        if (!existe(essai)) {
            return essai;
        }
    }
}

std::optional<QString> controlerNom(const QString& texte) {
    static const QString refuses = QStringLiteral("/\\<>:\"|?*");
    for (const QChar c : texte) {
        if (refuses.contains(c)) {
            return QStringLiteral("Le caractère « %1 » ne peut pas figurer dans un nom de fichier: "
                                  "le nom « %2 » ne peut pas être utilisé")
                .arg(c)
                .arg(texte);
        }
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
            return QStringLiteral("Le nom « %1 » contient un caractère de contrôle (code %2), "
                                  "qui ne peut pas figurer dans un nom de fichier")
                .arg(QString(texte).replace(c, QLatin1Char('?')))
                .arg(c.unicode());
        }
    }
    return std::nullopt;
}

namespace {

// Text fields take the empty text: an empty class or first name is a normal entry.
void AjouterChampTexte(db::TableDef& table, db::Field champ) {
    champ.setAllowZeroLength(true);
    table.Fields().Append(champ);
}

void ajouterTexte(db::TableDef& table, const QString& nom, int taille) {
    AjouterChampTexte(table, table.CreateField(nom, FieldType::Text, taille));
}

void ajouter(db::TableDef& table, const QString& nom, FieldType type) {
    table.Fields().Append(table.CreateField(nom, type));
}

db::TableDef tableQuestion(const db::Database& base) {
    db::TableDef table = base.CreateTableDef(QStringLiteral("question"));
    for (const char* niveau : {"B0", "B1", "B2", "BR", "BC"}) {
        ajouter(table, QLatin1StringView(niveau), FieldType::Boolean);
    }
    ajouterTexte(table, QStringLiteral("question"), 200);
    ajouter(table, QStringLiteral("nbrereponse"), FieldType::Integer);
    for (int i = 1; i <= 5; ++i) {
        ajouterTexte(table, QStringLiteral("R%1").arg(i), 100);
    }
    for (int i = 1; i <= 5; ++i) {
        ajouter(table, QStringLiteral("S%1").arg(i), FieldType::Integer);
    }
    ajouter(table, QStringLiteral("temps"), FieldType::Integer);
    ajouter(table, QStringLiteral("qcm"), FieldType::Boolean);
    ajouter(table, QStringLiteral("chapitre"), FieldType::Integer);
    ajouter(table, QStringLiteral("numero"), FieldType::Integer);
    for (int i = 1; i <= 5; ++i) {
        ajouter(table, QStringLiteral("RE%1").arg(i), FieldType::Integer);
    }
    ajouter(table, QStringLiteral("reussi"), FieldType::Boolean);
    return table;
}

db::TableDef tableChapitre(const db::Database& base) {
    db::TableDef table = base.CreateTableDef(QStringLiteral("chapitre"));
    ajouterTexte(table, QStringLiteral("nom"), 80);
    ajouter(table, QStringLiteral("numero"), FieldType::Integer);
    return table;
}

db::TableDef tableEleves(const db::Database& base) {
    db::TableDef table = base.CreateTableDef(QStringLiteral("eleves"));
    for (const char* nom : {"nom", "prenom", "classe", "test"}) {
        ajouterTexte(table, QLatin1StringView(nom), 50);
    }
    ajouterTexte(table, QStringLiteral("date"), 15);
    ajouter(table, QStringLiteral("examen"), FieldType::Boolean);
    ajouter(table, QStringLiteral("temps"), FieldType::Integer);
    ajouter(table, QStringLiteral("tolerance"), FieldType::Integer);
    return table;
}

// MoveFirst on an empty table has no record to stand on; an empty table is simply walked zero times.
bool premierEnregistrement(db::Recordset& rs) {
    if (rs.RecordCount() == 0) {
        return false;
    }
    rs.MoveFirst();
    return true;
}

ParametresTest copierEleve(db::Database& eleve, db::Recordset& rsNumero, const DonneesCandidat& candidat, bool examen,
                           const QDate& aujourdhui) {
    db::Recordset rsEleves = eleve.OpenRecordset(QStringLiteral("eleves"));
    rsEleves.AddNew();
    rsEleves.SetField(QStringLiteral("nom"), candidat.nom);
    rsEleves.SetField(QStringLiteral("prenom"), candidat.prenom);
    rsEleves.SetField(QStringLiteral("classe"), candidat.classe);
    rsEleves.SetField(QStringLiteral("test"), candidat.nomTest);
    rsEleves.SetField(QStringLiteral("date"), services::shortDate(aujourdhui));
    // Only the first settings record counts; an empty settings table fails here.
    rsNumero.setAbsolutePosition(0);
    rsEleves.SetField(QStringLiteral("examen"), examen);
    const QVariant temps = rsNumero.Fields(QStringLiteral("temps"));
    const QVariant tolerance = rsNumero.Fields(QStringLiteral("tolerance"));
    rsEleves.SetField(QStringLiteral("temps"), temps);
    rsEleves.SetField(QStringLiteral("tolerance"), tolerance);
    ParametresTest parametres;
    parametres.temps = entier16(temps, QStringLiteral("le temps du test"));
    parametres.tolerance = entier16(tolerance, QStringLiteral("la tolérance du test"));
    rsEleves.Update();
    return parametres;
}

void copierChapitres(db::Database& eleve, db::Recordset& rsChapitre) {
    db::Recordset rsChapitreEleve = eleve.OpenRecordset(QStringLiteral("chapitre"));
    const QString nom = QStringLiteral("nom");
    const QString numero = QStringLiteral("numero");
    if (!premierEnregistrement(rsChapitre)) {
        return;
    }
    while (!rsChapitre.Eof()) {
        rsChapitreEleve.AddNew();
        rsChapitreEleve.SetField(nom, rsChapitre.Fields(nom));
        rsChapitreEleve.SetField(numero, rsChapitre.Fields(numero));
        rsChapitreEleve.Update();
        rsChapitre.MoveNext();
    }
}

void copierQuestions(db::Database& eleve, db::Recordset& rsTest) {
    db::Recordset rsQuestion = eleve.OpenRecordset(QStringLiteral("question"));
    if (!premierEnregistrement(rsTest)) {
        return;
    }
    while (!rsTest.Eof()) {
        rsQuestion.AddNew();
        for (int i = 0; i < NbChampsQuestionTest; ++i) {
            rsQuestion.SetField(i, rsTest.Fields(i));
        }
        for (int i = 0; i < 5; ++i) {
            rsQuestion.SetField(champ::RE1 + i, 0);
        }
        rsQuestion.SetField(champ::Reussi, false);
        rsQuestion.Update();
        rsTest.MoveNext();
    }
}

// Inside the caller's transaction, so that the three tables appear together or not at all.
void construireTables(db::Database& base) {
    base.TableDefs().Append(tableQuestion(base));
    base.TableDefs().Append(tableChapitre(base));
    base.TableDefs().Append(tableEleves(base));
}

// Only for a file this session has just created itself.
void supprimerFichierCree(db::Database& base, const QString& chemin) {
    try {
        base.Close();
    } catch (const Error&) {
        // Removing the file is what matters; a failed close cannot keep it.
    }
    QFile::remove(chemin);
}

} // namespace

db::Database creerFichierResultats(const QString& chemin) {
    db::Database base = db::CreateDatabase(chemin, LocaleFichierResultats);
    db::Transaction transaction(base);
    construireTables(base);
    transaction.Commit();
    return base;
}

ParametresTest remplirFichierResultats(db::Database& eleve, db::Recordset& rsNumero, db::Recordset& rsChapitre,
                                       db::Recordset& rsTest, const DonneesCandidat& candidat, bool examen,
                                       const QDate& aujourdhui) {
    // Checked before anything is written: the copy takes the first 21 fields by position.
    if (rsTest.FieldCount() < NbChampsQuestionTest) {
        throw Error(errc::ItemNotFound, QStringLiteral("La table test du test %1 a %2 champs au lieu d'au moins %3")
                                            .arg(candidat.nomTest)
                                            .arg(rsTest.FieldCount())
                                            .arg(NbChampsQuestionTest));
    }
    db::Transaction transaction(eleve); // on failure the rollback keeps the first error, the one to show
    const ParametresTest parametres = copierEleve(eleve, rsNumero, candidat, examen, aujourdhui);
    copierChapitres(eleve, rsChapitre);
    copierQuestions(eleve, rsTest);
    transaction.Commit();
    return parametres;
}

FichierResultatsDemarre demarrerFichierResultats(const QString& chemin, db::Recordset& rsNumero,
                                                 db::Recordset& rsChapitre, db::Recordset& rsTest,
                                                 const DonneesCandidat& candidat, bool examen,
                                                 const QDate& aujourdhui) {
    // Outside the try: when the engine refuses to create the file (its name is taken), the file is not ours.
    FichierResultatsDemarre demarre{db::CreateDatabase(chemin, LocaleFichierResultats), {}};
    try {
        // The tables and their records in one commit: one sync for the whole start, and a file that a killed
        // process leaves either complete or without tables.
        db::Transaction transaction(demarre.base);
        construireTables(demarre.base);
        demarre.parametres =
            remplirFichierResultats(demarre.base, rsNumero, rsChapitre, rsTest, candidat, examen, aujourdhui);
        transaction.Commit();
    } catch (...) {
        supprimerFichierCree(demarre.base, chemin);
        throw;
    }
    return demarre;
}

} // namespace kelvane
