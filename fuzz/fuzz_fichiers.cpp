// Arbitrary bytes taken for a ".mdb" file and read the way Kelvane reads the files it finds in a folder: the scan,
// the engine's listing and tables, the test and results rules, then what the program does with a file that passes
// as a test (a session's results file made from it), as a results file (resumed, marked, shown, reported) or as
// the settings file (the teacher code). An engine error is the clear-message path and is fine; a crash, a sanitizer
// report, a hang or any other exception is a fault. Reading never writes: the file must come out of the read-only
// steps byte for byte as it went in.
#include "app/codesecret.h"
#include "app/commun.h"
#include "data/etatsession.h"
#include "data/fichierresultats.h"
#include "data/reglesfichiers.h"
#include "data/valeurs.h"
#include "platform/db/database.h"
#include "platform/error.h"
#include "platform/services/printerrecording.h"
#include "platform/services/random.h"
#include "results/rapport.h"
#include "results/resultats.h"
#include "session/correction.h"
#include "session/ordre.h"

#include <QByteArray>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

using namespace kelvane;

namespace {

const QDate Aujourdhui(2024, 3, 15);

// What the reads gathered, kept so that they are not optimised away.
volatile std::size_t octetsLus = 0;

// One private folder per process, removed at exit; every run reuses the same two names in it.
class Dossier {
public:
    Dossier() {
        // tmpfs when there is one: the engine syncs at every commit, and a disk would set the pace.
        const QString base =
            QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        QByteArray modele = QFile::encodeName(base + QStringLiteral("/kelvane-fuzz-XXXXXX"));
        if (mkdtemp(modele.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        chemin_ = QFile::decodeName(modele);
    }
    ~Dossier() { QDir(chemin_).removeRecursively(); }
    Dossier(const Dossier&) = delete;
    Dossier& operator=(const Dossier&) = delete;

    QString fichier() const { return chemin_ + QStringLiteral("/Entree.mdb"); }
    QString resultats() const { return chemin_ + QStringLiteral("/JDupont-Entree-061201.mdb"); }

    // The results file of a session and its journal, before the next session from the same test.
    void oterResultats() const {
        QFile::remove(resultats());
        QFile::remove(resultats() + QStringLiteral("-journal"));
    }

    // Everything a run left: the files, their journals.
    void vider() const {
        QDir dossier(chemin_);
        for (const QString& nom : dossier.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
            dossier.remove(nom);
        }
    }

private:
    QString chemin_;
};

Dossier& dossier() {
    static Dossier d;
    return d;
}

// Every value read and turned into text, as captions and lists do.
std::size_t lireValeur(const QVariant& valeur) {
    return static_cast<std::size_t>(texteChamp(valeur).size()) + (estVrai(valeur) ? 1 : 0);
}

// A whole recordset, record by record and field by field, by position and by name.
void lireRecordset(db::Recordset& rs) {
    std::size_t lus = 0;
    const int champs = rs.FieldCount();
    for (int i = 0; i < champs; ++i) {
        const db::FieldInfo& info = rs.FieldDef(i);
        lus += static_cast<std::size_t>(info.name.size()) + static_cast<std::size_t>(info.size);
        rs.FieldIndex(info.name);
    }
    const int n = rs.RecordCount();
    if (n > 0) {
        rs.setAbsolutePosition(n - 1);
        rs.MoveFirst();
        while (!rs.Eof()) {
            lus += static_cast<std::size_t>(rs.AbsolutePosition());
            for (int i = 0; i < champs; ++i) {
                lus += lireValeur(rs.Fields(i));
                lus += lireValeur(rs.Fields(rs.FieldDef(i).name));
            }
            rs.MoveNext();
        }
    }
    octetsLus = octetsLus + lus;
}

// The engine's listing, every table's definition and every table read through.
void lireTout(db::Database& base) {
    db::TableDefCollection tables = base.TableDefs();
    const int n = tables.Count();
    for (int i = 0; i < n; ++i) {
        const QString nom = tables.Name(i);
        try {
            const db::TableDef definition = tables.Item(nom);
            for (int j = 0; j < definition.Fields().Count(); ++j) {
                definition.Fields()[definition.Fields()[j].Name()];
            }
            db::Recordset rs = base.OpenRecordset(nom);
            lireRecordset(rs);
        } catch (const Error&) {
            // One table the engine refuses says nothing of the others.
        }
    }
    estTest(base);
    estResultats(base);
}

// What the results screen and the printed report show of an open results file, after the session state
// built from it as the viewer and the resume build it.
void montrerResultats(db::Recordset& eleves, db::Recordset& chapitres, db::Recordset& questions, EtatSession& etat) {
    etat.NbQuestions = questions.RecordCount();
    ordreParNumero(questions, etat.NbQuestions, etat.Ordre);
    const TextesResultats textes = calculerResultats(eleves, questions, chapitres, etat, VerdictsVisualisation);
    etat.NbBonnes = textes.nbBonnes;
    services::RecordingPrinter imprimante(60);
    imprimerRapport(imprimante, lireRapport(eleves, questions, etat, Aujourdhui));
}

// The viewer's reading of a results file, which opens it read-only.
void visualiser(const QString& chemin) {
    db::Database base = db::OpenDatabase(chemin, db::OpenMode::ReadOnly);
    db::Recordset eleves = base.OpenRecordset(QStringLiteral("eleves"));
    eleves.setAbsolutePosition(0);
    EtatSession etat;
    etat.NomTest = texteChamp(eleves.Fields(QStringLiteral("test")));
    etat.ModeExamen = estVrai(eleves.Fields(QStringLiteral("examen")));
    etat.Tolerance = entier16(eleves.Fields(QStringLiteral("tolerance")), QStringLiteral("tolerance"));
    db::Recordset chapitres = base.OpenRecordset(QStringLiteral("chapitre"));
    db::Recordset questions = base.OpenRecordset(QStringLiteral("question"));
    montrerResultats(eleves, chapitres, questions, etat);
}

// One answer recorded on the question at place `place` of the session, as the question runner does.
void repondre(db::Recordset& questions, const EtatSession& etat, int place) {
    questions.setAbsolutePosition(etat.Ordre.at(static_cast<std::size_t>(place)));
    const bool qcm = estVrai(questions.Fields(champ::Qcm));
    enregistrerReponse(
        questions, qcm, {1, 0, 1, 0, 1},
        {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral(" 4"), QStringLiteral("5x")});
}

// A session resumed from a results file: opened for writing, an answer recorded, the results shown.
void reprendre(db::Database& base) {
    db::Recordset eleves = base.OpenRecordset(QStringLiteral("eleves"));
    eleves.setAbsolutePosition(0);
    EtatSession etat;
    etat.ModeExamen = eleves.Fields(QStringLiteral("examen")).toBool();
    etat.TempsAutorise = static_cast<std::int16_t>(eleves.Fields(QStringLiteral("temps")).toInt());
    etat.Tolerance = static_cast<std::int16_t>(eleves.Fields(QStringLiteral("tolerance")).toInt());
    etat.NomTest = eleves.Fields(QStringLiteral("test")).toString();
    db::Recordset chapitres = base.OpenRecordset(QStringLiteral("chapitre"));
    db::Recordset questions = base.OpenRecordset(QStringLiteral("question"));
    if (questions.RecordCount() == 0 || questions.FieldCount() < champ::NbChampsQuestion) {
        return; // the resume refuses it as damaged
    }
    etat.NbQuestions = questions.RecordCount();
    ordreParNumero(questions, etat.NbQuestions, etat.Ordre);
    repondre(questions, etat, 0);
    tamponnerDate(eleves, Aujourdhui);
    montrerResultats(eleves, chapitres, questions, etat);
}

// A session started from a test: checked, its results file made beside it, an answer, the results. An evaluation
// draws its order, a training follows the question numbers.
void demarrer(db::Database& test, const QString& cheminResultats, bool examen) {
    if (verifierTest(test)) {
        return;
    }
    db::Recordset numero = test.OpenRecordset(QStringLiteral("numero"));
    db::Recordset chapitre = test.OpenRecordset(QStringLiteral("chapitre"));
    db::Recordset questionsTest = test.OpenRecordset(QStringLiteral("test"));
    const DonneesCandidat candidat{QStringLiteral("Dupont"), QStringLiteral("Jean"), QStringLiteral("1A"),
                                   QStringLiteral("Entree")};
    FichierResultatsDemarre demarre =
        demarrerFichierResultats(cheminResultats, numero, chapitre, questionsTest, candidat, examen, Aujourdhui);
    db::Recordset eleves = demarre.base.OpenRecordset(QStringLiteral("eleves"));
    db::Recordset chapitres = demarre.base.OpenRecordset(QStringLiteral("chapitre"));
    db::Recordset questions = demarre.base.OpenRecordset(QStringLiteral("question"));
    EtatSession etat;
    etat.NomTest = candidat.nomTest;
    etat.TempsAutorise = demarre.parametres.temps;
    etat.Tolerance = demarre.parametres.tolerance;
    etat.ModeExamen = examen;
    etat.NbQuestions = questions.RecordCount();
    if (examen) {
        services::SystemRandom aleatoire;
        const std::vector<int> tirage = TirerOrdre(etat.NbQuestions, facteurSecondes(30), aleatoire);
        etat.dimensionnerOrdre(etat.NbQuestions);
        std::copy(tirage.begin(), tirage.end(), etat.Ordre.begin());
    } else {
        ordreParNumero(questions, etat.NbQuestions, etat.Ordre);
    }
    if (etat.NbQuestions > 0) {
        repondre(questions, etat, etat.NbQuestions - 1);
    }
    tamponnerDate(eleves, Aujourdhui);
    montrerResultats(eleves, chapitres, questions, etat);
}

// The settings file as the menu opens it, and the teacher code checked against it.
void parametres(db::Database& base) {
    Commun::BaseHabilitation = std::move(base);
    Commun::RsHabilitation = Commun::BaseHabilitation.OpenRecordset(QStringLiteral("habilitation"));
    Commun::RsHabilitation.Fields(0);
    Commun::RsHabilitation.setAbsolutePosition(0);
    Commun::BaseHabilitation.TableDefs().Item(QStringLiteral("habilitation"));
    app::codeValide(QStringLiteral("code"));
}

template <typename F> void essayer(F&& etape) {
    try {
        etape();
    } catch (const Error&) {
        // The engine's refusal, shown to the user as a message: what a bad file must give.
    }
}

QByteArray contenu(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void verifierInchange(const QString& chemin, const QByteArray& attendu, const char* etape) {
    if (contenu(chemin) != attendu) {
        std::fprintf(stderr, "fuzz_fichiers: le fichier a changé pendant %s\n", etape);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Dossier& d = dossier();
    d.vider();
    const QString chemin = d.fichier();
    const QByteArray octets(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    {
        QFile f(chemin);
        if (!f.open(QIODevice::WriteOnly) || f.write(octets) != octets.size()) {
            std::perror("fuzz_fichiers: écriture de l'entrée");
            std::abort();
        }
    }

    // The folder scans and the viewer: never a write.
    const SondageFichier sondage = sonderFichier(chemin);
    verifierInchange(chemin, octets, "le sondage");
    essayer([&] {
        db::Database base = db::OpenDatabase(chemin, db::OpenMode::ReadOnly);
        lireTout(base);
    });
    verifierInchange(chemin, octets, "la lecture");
    if (sondage.genre == GenreFichier::Resultats) {
        essayer([&] { visualiser(chemin); });
        verifierInchange(chemin, octets, "la visualisation");
    }

    // The session steps, which open the file for writing.
    essayer([&] {
        db::Database base = db::OpenDatabase(chemin, db::OpenMode::ReadWrite);
        lireTout(base);
        if (estTest(base)) {
            essayer([&] { demarrer(base, d.resultats(), false); });
            d.oterResultats();
            demarrer(base, d.resultats(), true);
        } else if (estResultats(base)) {
            reprendre(base);
        } else if (base.TableDefs().Names().contains(QStringLiteral("habilitation"), Qt::CaseInsensitive)) {
            parametres(base);
        }
    });
    Commun::reinitialiser();
    d.vider();
    return 0;
}
