// The class summary of a folder of 500 results files of 50 questions: every file read (read-only, one snapshot each)
// and summed up (the lines, each question's figures, levels x chapters, the table of the lines); and the memory a
// read adds besides the lines it keeps, for 100 and for 500 files, measured in a forked process.
#include "bilan/bilan.h"
#include "bilan/exportbilan.h"
#include "support/fixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

using namespace kelvane;

namespace {

constexpr int NbQuestions = 50;

// Five candidates' files, each copied to make up `n` files with names of their own.
QString dossier(int n) {
    static std::map<int, QTemporaryDir*> dossiers;
    QTemporaryDir*& d = dossiers[n];
    if (d == nullptr) {
        d = new QTemporaryDir(QDir::currentPath() + QStringLiteral("/bench-bilan-XXXXXX"));
        for (int k = 0; k < 5; ++k) {
            fixtures::Resultats r;
            r.nom = QStringLiteral("Eleve%1").arg(k);
            r.chapitres = {{QStringLiteral("Généralités"), 1}, {QStringLiteral("Sécurité"), 2}};
            r.questions = fixtures::questionsSimples(NbQuestions);
            for (int i = 0; i < NbQuestions; ++i) {
                auto& q = r.questions[static_cast<std::size_t>(i)];
                q.reussi = (i + k) % 3 != 0;
                q.chapitre = 1 + i % 2;
                q.niveaux = {i % 2 == 0, i % 3 == 0, false, i % 5 == 0, false};
            }
            fixtures::creerResultats(d->filePath(QStringLiteral("modele%1.mdb").arg(k)), r);
        }
        for (int i = 5; i < n; ++i) {
            QFile::copy(d->filePath(QStringLiteral("modele%1.mdb").arg(i % 5)),
                        d->filePath(QStringLiteral("Eleve%1-B1V-061201.mdb").arg(i)));
        }
    }
    return d->path();
}

// Reads the folder and sums it up as the class view does; returns the number of lines.
std::size_t resumer(const QString& chemin) {
    const bilan::Classe classe = bilan::lireResultatsDuDossier(chemin);
    const bilan::Selection tout = bilan::tous(classe);
    std::size_t n = bilan::tableauEleves(classe, tout).lignes.size();
    for (const QString& test : bilan::tests(tout)) {
        n += bilan::statistiquesQuestions(classe, test, tout).empty() ? 1 : 0;
        n += bilan::croiser(classe, test, tout).chapitres.empty() ? 1 : 0;
    }
    return n;
}

void BM_BilanDossier(benchmark::State& state) {
    const QString chemin = dossier(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (resumer(chemin) != static_cast<std::size_t>(state.range(0))) {
            state.SkipWithError("lines missing");
            break;
        }
    }
}

// A line of /proc/self/status, in KiB: VmRSS (resident now) or VmHWM (its peak).
long statusKo(const char* champ) {
    long valeur = 0;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char ligne[256];
        const std::size_t n = std::strlen(champ);
        while (std::fgets(ligne, sizeof ligne, f) != nullptr) {
            if (std::strncmp(ligne, champ, n) == 0) {
                valeur = std::strtol(ligne + n + 1, nullptr, 10);
            }
        }
        std::fclose(f);
    }
    return valeur;
}

// The peak resident memory that a summary adds, in a child forked for it: its peak less its resident memory at
// the start, told to this process through a pipe.
void BM_BilanMemoire(benchmark::State& state) {
    const QString chemin = dossier(static_cast<int>(state.range(0)));
    double ajoutMo = 0.0;
    for (auto _ : state) {
        int tube[2];
        if (pipe(tube) != 0) {
            state.SkipWithError("pipe failed");
            break;
        }
        const pid_t pid = fork();
        if (pid == 0) {
            const long debut = statusKo("VmRSS:");
            const bool ok = resumer(chemin) == static_cast<std::size_t>(state.range(0));
            const long ajout = statusKo("VmHWM:") - debut;
            const bool ecrit = write(tube[1], &ajout, sizeof ajout) == static_cast<ssize_t>(sizeof ajout);
            _exit(ok && ecrit ? 0 : 1);
        }
        close(tube[1]);
        long ajout = 0;
        const bool lu = pid > 0 && read(tube[0], &ajout, sizeof ajout) == static_cast<ssize_t>(sizeof ajout);
        close(tube[0]);
        int statut = 0;
        if (!lu || waitpid(pid, &statut, 0) != pid || !WIFEXITED(statut) || WEXITSTATUS(statut) != 0) {
            state.SkipWithError("the summary's child failed");
            break;
        }
        ajoutMo = static_cast<double>(ajout) / 1024.0;
    }
    state.counters["peak_MiB"] = ajoutMo;
}
BENCHMARK(BM_BilanMemoire)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(3);
// Registered after the memory runs: the CSV report takes its columns from the first run, and only these carry
// the peak_MiB counter.
BENCHMARK(BM_BilanDossier)->Arg(500)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
