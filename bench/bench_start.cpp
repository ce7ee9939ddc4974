// The program's start and a whole evaluation, each in a fresh process, against a bare Qt window's process: the time
// from the spawn to the end of the process, and the peak resident memory that the kernel reports for the child.
#include "platform/db/database.h"
#include "support/fixtures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kQuestions = 1001;
const QString kTest = QStringLiteral("grand");

// The demo application folder, copied, with a teacher code set as in a classroom (no start-up warning), and a test
// of 1,001 questions beside the demo's tests.
const QString& dossierAppli() {
    static QTemporaryDir dossier(QDir::current().filePath(QStringLiteral("bench-start-XXXXXX")));
    static const QString chemin = [] {
        const QDir demo(QStringLiteral(KELVANE_DEMO_DIR));
        QDirIterator it(demo.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString source = it.next();
            const QString cible = QDir(dossier.path()).filePath(demo.relativeFilePath(source));
            QDir().mkpath(QFileInfo(cible).path());
            QFile::copy(source, cible);
        }
        const QString reglages = QDir(dossier.path()).filePath(QStringLiteral("habilitation.mdb"));
        QFile::remove(reglages);
        fixtures::creerHabilitation(reglages, QStringLiteral("1234"));
        fixtures::creerTest(QDir(dossier.path()).filePath(kTest + QStringLiteral(".mdb")), 3600, 50,
                            {{QStringLiteral("Généralités"), 1}}, fixtures::questionsSimples(kQuestions));
        return dossier.path();
    }();
    return chemin;
}

// The results files that evaluations leave behind, so that every run starts from the same folder.
void effacerResultats() {
    const QDir d(dossierAppli());
    for (const QString& nom : d.entryList({QStringLiteral("*-") + kTest + QStringLiteral("-Ex-*.mdb")}, QDir::Files)) {
        QFile::remove(d.filePath(nom));
    }
}

struct Fin {
    bool reussi = false;
    double secondes = 0;
    double pointeMo = 0; // peak resident set of the child, in MiB
    std::string pourquoi;
};

// Spawns `programme` with its arguments in the application folder and waits for its end.
Fin lancer(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& a : arguments) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    const QByteArray dossier = QFile::encodeName(dossierAppli());

    Fin fin;
    const auto debut = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dossier.constData()) == 0) {
            execv(argv[0], argv.data());
        }
        _exit(127);
    }
    if (pid < 0) {
        fin.pourquoi = "fork failed";
        return fin;
    }
    int statut = 0;
    rusage usage{};
    if (wait4(pid, &statut, 0, &usage) != pid) {
        fin.pourquoi = "wait4 failed";
        return fin;
    }
    fin.secondes = std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
    fin.pointeMo = static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
    if (WIFSIGNALED(statut)) {
        fin.pourquoi = arguments[0] + " killed by signal " + std::to_string(WTERMSIG(statut));
    } else if (WEXITSTATUS(statut) != 0) {
        fin.pourquoi = arguments[0] + " exited with status " + std::to_string(WEXITSTATUS(statut));
    } else {
        fin.reussi = true;
    }
    return fin;
}

void mesurer(benchmark::State& state, const std::vector<std::string>& arguments) {
    double pointe = 0;
    for (auto _ : state) {
        state.PauseTiming();
        effacerResultats();
        state.ResumeTiming();
        const Fin fin = lancer(arguments);
        if (!fin.reussi) {
            state.SkipWithError(fin.pourquoi.c_str());
            break;
        }
        state.SetIterationTime(fin.secondes);
        pointe = std::max(pointe, fin.pointeMo);
    }
    state.counters["peak_MiB"] = pointe;
}

void BM_ColdStartMenu(benchmark::State& state) {
    mesurer(state, {KELVANE_CHILD_MENU});
}
BENCHMARK(BM_ColdStartMenu)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_ColdStartBareQt(benchmark::State& state) {
    mesurer(state, {KELVANE_CHILD_BARE});
}
BENCHMARK(BM_ColdStartBareQt)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_EvaluationRun(benchmark::State& state) {
    mesurer(state, {KELVANE_CHILD_EVALUATION, kTest.toStdString()});
}
BENCHMARK(BM_EvaluationRun)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    dossierAppli();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
