// Arbitrary bytes taken for a ".mdb" file and read the way Kelvane reads the files it finds in a folder: the scan,
// the engine's listing and tables, the test and results rules, then what the program does with a file that passes
// as a test (a session's results file made from it), as a results file (resumed, marked, shown, reported) or as
// the settings file (the teacher code). An engine error is the clear-message path and is fine; a crash, a sanitizer
// report, a hang or any other exception is a fault. Reading never writes: the file must come out of the read-only
// steps byte for byte as it went in.
#include "data/fichierresultats.h"
#include "data/parametres.h"
#include "data/reglesfichiers.h"
#include "data/test.h"
#include "data/valeurs.h"
#include "platform/db/database.h"
#include "platform/error.h"
#include "platform/services/clock.h"
#include "platform/services/files.h"
#include "platform/services/printerrecording.h"
#include "platform/services/random.h"
#include "results/rapport.h"
#include "results/resultats.h"
#include "session/ordre.h"
#include "session/session.h"

#include <QByteArray>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <variant>

using namespace kelvane;
using namespace kelvane::data;

namespace {

const QDate Aujourdhui(2024, 3, 15);

// What the reads gathered, kept so that they are not optimised away.
volatile std::size_t octetsLus = 0;

// One private folder per process, removed at exit; every run reuses the same two names in it.
class Dossier {
public:
    Dossier() : dossier_(base() + QStringLiteral("/kelvane-fuzz-XXXXXX")) {
        if (!dossier_.isValid()) {
            std::fprintf(stderr, "dossier temporaire : %s\n", qPrintable(dossier_.errorString()));
            std::abort();
        }
        chemin_ = dossier_.path();
    }
    Dossier(const Dossier&) = delete;
    Dossier& operator=(const Dossier&) = delete;

    const QString& chemin() const { return chemin_; }

    // tmpfs when there is one: the engine syncs at every commit, and a disk would set the pace.
    static QString base() {
        return QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    }
    QString fichier() const { return chemin_ + QStringLiteral("/Entree.mdb"); }

    // Everything a run left: the files, their journals.
    void vider() const {
        QDir dossier(chemin_);
        for (const QString& nom : dossier.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
            dossier.remove(nom);
        }
        QDir(chemin_ + QStringLiteral("/appli")).removeRecursively();
    }

private:
    QTemporaryDir dossier_;
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

// The session's clock: a fixed day, the draw at second 30.
class HorlogeFixe final : public services::ClockService {
public:
    QDate today() const override { return Aujourdhui; }
    int second() const override { return 30; }
};

void imprimer(const results::Rapport& rapport) {
    services::RecordingPrinter imprimante(60);
    imprimerRapport(imprimante, rapport);
}

// What the viewer shows of a results file, which it opens read-only: its order by numbers, the results screen and
// the printed report.
void visualiser(const QString& chemin) {
    std::optional<FichierResultats> f = FichierResultats::ouvrir(chemin, db::OpenMode::ReadOnly);
    if (!f) {
        return;
    }
    const Eleve eleve = f->eleve();
    results::Seance seance{eleve.test,
                           session::modeTest(estVrai(eleve.examen)).libelleMode,
                           entier16(eleve.tolerance, QStringLiteral("tolerance")),
                           f->nbQuestions(),
                           {}};
    seance.ordre = session::ordreParNumero(f->numeros(), seance.nbQuestions, {});
    const std::vector<QuestionResultats> questions = f->questions();
    const results::TextesResultats textes =
        results::calculerResultats(eleve, questions, f->chapitres(), seance, results::VerdictsVisualisation);
    imprimer(results::lireRapport(eleve, questions, seance.nomTest, textes.nbBonnes, seance.tolerance, Aujourdhui));
    octetsLus = octetsLus + static_cast<std::size_t>(textes.lignesQuestions.size() + textes.lignesChapitres.size());
}

// A session at the place given: the question shown, an answer recorded, then the results and the report.
void repondreEtConclure(session::Session& session, int place) {
    session.allerA(place);
    octetsLus = octetsLus + static_cast<std::size_t>(session.question().texte.size());
    session::Reponse reponse;
    reponse.cases = {true, false, true, false, true};
    reponse.rangs = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral(" 4"),
                     QStringLiteral("5x")};
    session.enregistrer(reponse);
    session.decompter();
    session.tamponnerDate();
    session.resultats(results::VerdictsSession);
    imprimer(session.rapport());
}

// A session started from a test: read, its results file made beside it, an answer, the results. An evaluation
// draws its order, a training follows the question numbers.
void demarrer(const QString& chemin, const session::ModeTest& mode) {
    const std::variant<Test, TestRefuse> lu = lireTest(chemin);
    if (!std::holds_alternative<Test>(lu)) {
        return;
    }
    // A session creates its results file in the current folder, which the folder list made current.
    const QString courant = QDir::currentPath();
    QDir::setCurrent(dossier().chemin());
    struct Retour {
        QString dossier;
        ~Retour() { QDir::setCurrent(dossier); }
    } retour{courant};
    services::SystemFiles fichiers;
    HorlogeFixe horloge;
    services::SystemRandom aleatoire;
    session::Session session(mode, fichiers, horloge, aleatoire);
    session.demarrer(std::get<Test>(lu), {QStringLiteral("Dupont"), QStringLiteral("Jean"), QStringLiteral("1A")},
                     dossier().chemin());
    repondreEtConclure(session, session.nbQuestions() - 1);
}

// A session resumed from a results file: opened for writing, an answer recorded, the results shown.
void reprendre(const QString& chemin) {
    services::SystemFiles fichiers;
    HorlogeFixe horloge;
    services::SystemRandom aleatoire;
    session::Session session(session::modeEntrainement(), fichiers, horloge, aleatoire);
    if (session.rouvrir(chemin)) {
        repondreEtConclure(session, 0);
    }
}

// The settings file as the menu opens it, under its own name, and the teacher code checked against it.
void parametres(const QString& chemin) {
    const QString dossierAppli = dossier().chemin() + QStringLiteral("/appli");
    QDir().mkpath(dossierAppli);
    QFile::remove(dossierAppli + QStringLiteral("/habilitation.mdb"));
    if (!QFile::copy(chemin, dossierAppli + QStringLiteral("/habilitation.mdb"))) {
        return;
    }
    FichierParametres fichier = FichierParametres::ouvrir(dossierAppli);
    fichier.sansCode();
    fichier.longueurCode();
    codeValide(QStringLiteral("code"), fichier.code());
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
    if (sondage.genre == GenreFichier::Test) {
        essayer([&] { lireTest(chemin); });
        verifierInchange(chemin, octets, "la lecture du test");
    }
    if (sondage.genre == GenreFichier::Resultats) {
        essayer([&] { visualiser(chemin); });
        verifierInchange(chemin, octets, "la visualisation");
    }

    // The session steps, which open the file for writing.
    enum class Genre { Aucun, Test, Resultats, Parametres } genre = Genre::Aucun;
    essayer([&] {
        db::Database base = db::OpenDatabase(chemin, db::OpenMode::ReadWrite);
        lireTout(base);
        if (estTest(base)) {
            genre = Genre::Test;
        } else if (estResultats(base)) {
            genre = Genre::Resultats;
        } else if (base.TableDefs().Names().contains(QStringLiteral("habilitation"), Qt::CaseInsensitive)) {
            genre = Genre::Parametres;
        }
    });
    switch (genre) {
    case Genre::Test:
        essayer([&] { demarrer(chemin, session::modeEntrainement()); });
        essayer([&] { demarrer(chemin, session::modeEvaluation()); });
        break;
    case Genre::Resultats:
        essayer([&] { reprendre(chemin); });
        break;
    case Genre::Parametres:
        essayer([&] { parametres(chemin); });
        break;
    case Genre::Aucun:
        break;
    }
    d.vider();
    return 0;
}
