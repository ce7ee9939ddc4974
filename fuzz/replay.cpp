// Runs the fuzz entry point once on every file of the folders and files given, so that the corpus, and every input
// that once found a fault, stay a regression test in builds without libFuzzer.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

int rejouer(const QString& chemin) {
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "illisible: %s\n", qPrintable(chemin));
        return 1;
    }
    const QByteArray octets = f.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(octets.constData()),
                           static_cast<std::size_t>(octets.size()));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    int fichiers = 0;
    int erreurs = 0;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QFile::decodeName(argv[i]);
        QStringList chemins;
        if (QFileInfo(argument).isDir()) {
            const QDir dossier(argument);
            for (const QString& nom : dossier.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
                chemins.append(dossier.filePath(nom));
            }
        } else {
            chemins.append(argument);
        }
        for (const QString& chemin : chemins) {
            erreurs += rejouer(chemin);
            ++fichiers;
        }
    }
    std::printf("%d fichiers rejoués\n", fichiers);
    return fichiers == 0 || erreurs != 0 ? 1 : 0;
}
