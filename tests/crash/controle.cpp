#include "controle.h"

#include "data/fichierresultats.h"
#include "data/valeurs.h"
#include "forms/formetest.h"
#include "forms/visualisation.h"
#include "platform/db/database.h"
#include "platform/error.h"
#include "support/doubles/scriptedservices.h"
#include "support/ecrans.h"
#include "support/gui.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <map>
#include <memory>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kelvane::doubles;
using namespace kelvane;
namespace champ = kelvane::data::champ;
using kelvane::data::estVrai;

namespace controle {

QString cheminEnfant() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/kelvane_crash_enfant");
}

Enfant::Enfant(const QStringList& arguments, const QString& fichierErreurs) {
    // Close-on-exec everywhere: a second child must not hold the first one's pipes open.
    int sortie[2];
    int entree[2];
    if (::pipe2(sortie, O_CLOEXEC) != 0 || ::pipe2(entree, O_CLOEXEC) != 0) {
        qFatal("pipe2: %s", strerror(errno));
    }
    // Everything the child needs is prepared before fork: after it, only async-signal-safe calls.
    std::vector<QByteArray> octets{QFile::encodeName(cheminEnfant())};
    for (const QString& a : arguments) {
        octets.push_back(a.toLocal8Bit());
    }
    std::vector<char*> argv;
    for (QByteArray& o : octets) {
        argv.push_back(o.data());
    }
    argv.push_back(nullptr);
    const int erreurs =
        ::open(QFile::encodeName(fichierErreurs).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);

    pid_ = ::fork();
    if (pid_ < 0) {
        qFatal("fork: %s", strerror(errno));
    }
    if (pid_ == 0) {
        ::dup2(entree[0], STDIN_FILENO);
        ::dup2(sortie[1], STDOUT_FILENO);
        if (erreurs >= 0) {
            ::dup2(erreurs, STDERR_FILENO);
        }
        ::execv(argv.front(), argv.data());
        ::_exit(127);
    }
    ::close(sortie[1]);
    ::close(entree[0]);
    if (erreurs >= 0) {
        ::close(erreurs);
    }
    sortie_ = sortie[0];
    entree_ = entree[1];
}

Enfant::~Enfant() {
    if (!reaped_) {
        tuer();
        attendre();
    }
    ::close(sortie_);
    ::close(entree_);
}

std::optional<QString> Enfant::ligne() {
    for (;;) {
        const qsizetype fin = tampon_.indexOf('\n');
        if (fin >= 0) {
            const QString l = QString::fromUtf8(tampon_.left(fin));
            tampon_.remove(0, fin + 1);
            return l;
        }
        char bloc[4096];
        const ssize_t n = ::read(sortie_, bloc, sizeof bloc);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            // A line cut by the kill was never whole: it does not count.
            return std::nullopt;
        }
        tampon_.append(bloc, n);
    }
}

bool Enfant::attendrePret(scenario::Journal& journal) {
    while (const auto l = ligne()) {
        journal.lire(*l);
        if (journal.pret) {
            return true;
        }
    }
    return false;
}

void Enfant::lireTout(scenario::Journal& journal) {
    while (const auto l = ligne()) {
        journal.lire(*l);
    }
}

void Enfant::envoyer(char octet) {
    if (::write(entree_, &octet, 1) != 1) {
        qWarning("envoi au processus %d: %s", pid_, strerror(errno));
    }
}

void Enfant::tuer() {
    // A child that has ended but is not reaped yet is still ours: the signal cannot reach another process.
    if (!reaped_) {
        ::kill(pid_, SIGKILL);
    }
}

int Enfant::attendre() {
    int statut = 0;
    while (::waitpid(pid_, &statut, 0) < 0 && errno == EINTR) {
    }
    reaped_ = true;
    return statut;
}

QString etat(int statut) {
    if (WIFEXITED(statut)) {
        return QStringLiteral("exit %1").arg(WEXITSTATUS(statut));
    }
    if (WIFSIGNALED(statut)) {
        return QStringLiteral("signal %1").arg(WTERMSIG(statut));
    }
    return QStringLiteral("statut %1").arg(statut);
}

Listes listes(const QString& dossier) {
    ScriptedServices services;
    const QString ancien = QDir::currentPath();
    QDir::setCurrent(dossier);
    const forms::Lieux lieux{dossier, dossier};
    Listes l;
    {
        forms::Visualisation visualisation(services.all(), lieux);
        visualisation.Form_Load();
        // The viewer's lines name the file, then the mode in brackets.
        for (const QString& ligne : gui::lignes(ecrans::EcranVisualisation(&visualisation)->listefichier)) {
            l.resultats << ligne.section(QStringLiteral(" ("), 0, 0);
        }
        forms::FormeTest essai(session::modeEntrainement(), services.all(), lieux);
        essai.Form_Load();
        const ecrans::EcranTest e(&essai);
        l.commences = gui::lignes(e->List3);
        l.tests = gui::lignes(e->listefichier);
    }
    QDir::setCurrent(ancien);
    return l;
}

QString integrite(const QString& chemin) {
    sqlite3* base = nullptr;
    QString resultat = QStringLiteral("<ouverture impossible>");
    if (sqlite3_open_v2(QFile::encodeName(chemin).constData(), &base, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* requete = nullptr;
        if (sqlite3_prepare_v2(base, "PRAGMA integrity_check", -1, &requete, nullptr) == SQLITE_OK &&
            sqlite3_step(requete) == SQLITE_ROW) {
            resultat = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(requete, 0)));
        } else {
            resultat = QString::fromUtf8(sqlite3_errmsg(base));
        }
        sqlite3_finalize(requete);
    }
    sqlite3_close_v2(base);
    return resultat;
}

namespace {

// Texts and numbers as the engine reads them back; booleans by their truth, as the program reads them.
bool memeValeur(const QVariant& a, const QVariant& b) {
    return a == b || (a.isNull() == b.isNull() && a.toString() == b.toString());
}

void comparer(QStringList& defauts, const QString& quoi, const QVariant& lu, const QVariant& attendu) {
    if (!memeValeur(lu, attendu)) {
        defauts << QStringLiteral("%1: %2 au lieu de %3").arg(quoi, lu.toString(), attendu.toString());
    }
}

// RE1 to RE5 and reussi of the record the recordset stands on.
scenario::Reponse lireReponse(db::Recordset& rs) {
    scenario::Reponse r;
    r.numero = rs.Fields(champ::Numero).toInt();
    for (int i = 0; i < 5; ++i) {
        r.valeurs[static_cast<std::size_t>(i)] = rs.Fields(champ::RE1 + i).toInt();
    }
    r.juste = estVrai(rs.Fields(champ::Reussi));
    return r;
}

bool egales(const scenario::Reponse& a, const scenario::Reponse& b) {
    return a.valeurs == b.valeurs && a.juste == b.juste;
}

QString texte(const scenario::Reponse& r) {
    return scenario::ligneReponse("", r).mid(1);
}

// The candidate as the program reads it back when it goes on with the file.
void verifierEleves(QStringList& defauts, db::Database& base, data::FichierResultats& fichier, bool examen) {
    const int n = base.OpenRecordset(QStringLiteral("eleves")).RecordCount();
    if (n != 1) {
        defauts << QStringLiteral("eleves: %1 enregistrements").arg(n);
        return;
    }
    const data::Eleve e = fichier.eleve();
    const std::pair<const char*, std::pair<QVariant, QVariant>> attendus[] = {
        {"nom", {e.nom, scenario::kNom}},
        {"prenom", {e.prenom, scenario::kPrenom}},
        {"classe", {e.classe, scenario::kClasse}},
        {"test", {e.test, scenario::kTest}},
        {"date", {e.date, scenario::kJourCourt}},
        {"temps", {e.temps, scenario::kTemps}},
        {"tolerance", {e.tolerance, scenario::kTolerance}}};
    for (const auto& [nom, valeurs] : attendus) {
        comparer(defauts, QStringLiteral("eleves.%1").arg(QLatin1StringView(nom)), valeurs.first, valeurs.second);
    }
    if (estVrai(e.examen) != examen) {
        defauts << QStringLiteral("eleves.examen faux");
    }
}

void verifierChapitres(QStringList& defauts, db::Database& base, db::Database& test) {
    db::Recordset lus = base.OpenRecordset(QStringLiteral("chapitre"));
    db::Recordset attendus = test.OpenRecordset(QStringLiteral("chapitre"));
    if (lus.RecordCount() != attendus.RecordCount()) {
        defauts << QStringLiteral("chapitre: %1 enregistrements au lieu de %2")
                       .arg(lus.RecordCount())
                       .arg(attendus.RecordCount());
        return;
    }
    for (int p = 0; p < lus.RecordCount(); ++p) {
        lus.setAbsolutePosition(p);
        attendus.setAbsolutePosition(p);
        for (const char* nom : {"nom", "numero"}) {
            comparer(defauts, QStringLiteral("chapitre %1 %2").arg(p).arg(QLatin1StringView(nom)),
                     lus.Fields(QLatin1StringView(nom)), attendus.Fields(QLatin1StringView(nom)));
        }
    }
}

void verifierQuestions(QStringList& defauts, db::Database& base, db::Database& test, const scenario::Journal& journal) {
    std::map<int, scenario::Reponse> revenues;
    for (const scenario::Reponse& r : journal.reponses) {
        revenues[r.numero] = r; // a question answered again keeps its last answer
    }
    db::Recordset lus = base.OpenRecordset(QStringLiteral("question"));
    db::Recordset attendus = test.OpenRecordset(QStringLiteral("test"));
    if (lus.RecordCount() != attendus.RecordCount()) {
        defauts << QStringLiteral("question: %1 enregistrements au lieu de %2")
                       .arg(lus.RecordCount())
                       .arg(attendus.RecordCount());
        return;
    }
    const scenario::Reponse initiale;
    for (int p = 0; p < lus.RecordCount(); ++p) {
        lus.setAbsolutePosition(p);
        attendus.setAbsolutePosition(p);
        for (int c = 0; c < champ::RE1; ++c) {
            comparer(defauts, QStringLiteral("question %1 champ %2").arg(p).arg(c), lus.Fields(c), attendus.Fields(c));
        }
        const scenario::Reponse lue = lireReponse(lus);
        const auto revenue = revenues.find(lue.numero);
        if (revenue != revenues.end()) {
            if (!egales(lue, revenue->second)) {
                defauts << QStringLiteral("question n° %1: %2 au lieu de la réponse enregistrée %3")
                               .arg(lue.numero)
                               .arg(texte(lue), texte(revenue->second));
            }
        } else if (journal.envoi && journal.envoi->numero == lue.numero) {
            // Killed while this one was being written: all of it or none of it.
            if (!egales(lue, initiale) && !egales(lue, *journal.envoi)) {
                defauts << QStringLiteral("question n° %1: %2, ni la réponse en cours %3 ni rien")
                               .arg(lue.numero)
                               .arg(texte(lue), texte(*journal.envoi));
            }
        } else if (!egales(lue, initiale)) {
            defauts << QStringLiteral("question n° %1 jamais répondue: %2").arg(lue.numero).arg(texte(lue));
        }
    }
}

} // namespace

QStringList defautsResultats(const QString& chemin, const QString& cheminTest, bool examen,
                             const scenario::Journal& journal) {
    QStringList defauts;
    try {
        db::Database test = db::OpenDatabase(cheminTest, db::OpenMode::ReadOnly);
        // As the program opens a results file it goes on with: read and write, through its own rules.
        std::optional<data::FichierResultats> fichier = data::FichierResultats::ouvrir(chemin);
        if (!fichier) {
            return {QStringLiteral("le programme ne reconnaît pas le fichier de résultats")};
        }
        db::Database base = db::OpenDatabase(chemin, db::OpenMode::ReadOnly);
        verifierEleves(defauts, base, *fichier, examen);
        verifierChapitres(defauts, base, test);
        verifierQuestions(defauts, base, test, journal);
    } catch (const Error& e) {
        defauts << e.message();
    }
    const QString verdict = integrite(chemin);
    if (verdict != QLatin1StringView("ok")) {
        defauts << QStringLiteral("integrity_check: ") + verdict;
    }
    return defauts;
}

} // namespace controle
