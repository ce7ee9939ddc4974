// The import of a teacher's Moodle XML bank of 5,000 questions over 10 categories, 500 of them with a 24 KiB picture
// (16 MiB of base64): the time a read from the file takes, against QXmlStreamReader alone going through the same
// file; and the peak memory a read adds, measured in a forked process.
#include "banques/importation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

using namespace kelvane;

namespace {

constexpr int NbQuestions = 5000;
constexpr int NbImages = 500;
constexpr int TailleImage = 24 * 1024;

QString reponse(int fraction, const QString& texte) {
    return QStringLiteral("    <answer fraction=\"%1\" format=\"html\">\n      <text><![CDATA[<p>%2</p>]]></text>\n"
                          "      <feedback format=\"html\"><text></text></feedback>\n    </answer>\n")
        .arg(fraction)
        .arg(texte);
}

// A bank as Moodle exports one: each question's kind in turn, its HTML text, its answers, its levels.
QString banque() {
    static QTemporaryDir dossier(QDir::currentPath() + QStringLiteral("/bench-banques-XXXXXX"));
    QFile f(dossier.filePath(QStringLiteral("banque.xml")));
    if (f.exists()) {
        return f.fileName();
    }
    f.open(QIODevice::WriteOnly);
    f.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n");
    QByteArray image = QByteArray("\x89PNG\r\n\x1a\n") + QByteArray(TailleImage, '\0');
    for (int i = 8; i < image.size(); ++i) {
        image[i] = static_cast<char>((i * 7919) % 251);
    }
    const QString base64 = QString::fromLatin1(image.toBase64());
    for (int i = 0; i < NbQuestions; ++i) {
        if (i % (NbQuestions / 10) == 0) {
            f.write(QStringLiteral("  <question type=\"category\">\n    <category><text>$course$/top/Chapitre "
                                   "%1 : le risque électrique</text></category>\n  </question>\n")
                        .arg(i / (NbQuestions / 10) + 1)
                        .toUtf8());
        }
        const bool image = i % (NbQuestions / NbImages) == 0;
        const int genre = i % 10;
        const QString type = genre < 8 ? QStringLiteral("multichoice")
                                       : (genre == 8 ? QStringLiteral("truefalse") : QStringLiteral("ordering"));
        QString q = QStringLiteral("  <question type=\"%1\">\n    <name><text>Question %2</text></name>\n"
                                   "    <questiontext format=\"html\">\n      <text><![CDATA[<p>Question n&deg;%2 : "
                                   "quelle est la <b>bonne</b> conduite à tenir devant une installation "
                                   "&laquo;&nbsp;consignée&nbsp;&raquo; ?%3</p>]]></text>\n")
                        .arg(type)
                        .arg(i + 1)
                        .arg(image ? QStringLiteral(" <img src=\"@@PLUGINFILE@@/sch%C3%A9ma%20") + QString::number(i) +
                                         QStringLiteral(".png\">")
                                   : QString());
        if (image) {
            q += QStringLiteral("      <file name=\"schéma %1.png\" path=\"/\" encoding=\"base64\">").arg(i) + base64 +
                 QStringLiteral("</file>\n");
        }
        q += QStringLiteral("    </questiontext>\n    <generalfeedback format=\"html\"><text></text></generalfeedback>"
                            "\n    <single>%1</single>\n")
                 .arg(genre < 6 ? QStringLiteral("true") : QStringLiteral("false"));
        if (genre == 8) {
            q += reponse(100, QStringLiteral("true")) + reponse(0, QStringLiteral("false"));
        } else {
            for (int r = 0; r < 4; ++r) {
                const int fraction = genre < 6 ? (r == 0 ? 100 : 0) : (r < 2 ? 50 : -50);
                q += reponse(genre == 9 ? r + 1 : fraction, QStringLiteral("Réponse %1 &eacute;tape").arg(r + 1));
            }
        }
        q += QStringLiteral("    <tags><tag><text>B%1</text></tag><tag><text>BR</text></tag></tags>\n  </question>\n")
                 .arg(i % 3);
        f.write(q.toUtf8());
    }
    f.write("</quiz>\n");
    return f.fileName();
}

bool importer(const QString& chemin) {
    const banques::ResultatImport r = banques::importer(chemin);
    return r.ok() && r.source.questions.size() == static_cast<std::size_t>(NbQuestions) &&
           r.images.size() == static_cast<std::size_t>(NbImages);
}

void BM_ImportMoodle(benchmark::State& state) {
    const QString chemin = banque();
    for (auto _ : state) {
        if (!importer(chemin)) {
            state.SkipWithError("questions or pictures missing");
            break;
        }
    }
}

// The reader alone through the same file, every text read as the import reads it.
void BM_XmlSeul(benchmark::State& state) {
    const QString chemin = banque();
    for (auto _ : state) {
        QFile f(chemin);
        f.open(QIODevice::ReadOnly);
        QXmlStreamReader xml(&f);
        qsizetype n = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::Characters) {
                n += xml.text().size();
            }
        }
        benchmark::DoNotOptimize(n);
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

// The peak resident memory that an import adds, in a child forked for it: its peak less its resident memory at
// the start, told to this process through a pipe.
void BM_ImportMemoire(benchmark::State& state) {
    const QString chemin = banque();
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
            const bool ok = importer(chemin);
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
            state.SkipWithError("the import's child failed");
            break;
        }
        ajoutMo = static_cast<double>(ajout) / 1024.0;
    }
    state.counters["peak_MiB"] = ajoutMo;
}
BENCHMARK(BM_ImportMemoire)->Unit(benchmark::kMillisecond)->Iterations(3);
// Registered after the memory run: the CSV report takes its columns from the first run.
BENCHMARK(BM_ImportMoodle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlSeul)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
