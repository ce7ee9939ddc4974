// kelvane-lecteur-access FICHIER: reads one Access file (Jet 3, Jet 4 or ACE) with libmdb and writes every user
// table, its columns and its records on the standard output, in the dump format of conversion/protocole.h.
// libmdb is not trusted with damaged files: the conversion runs this program as a child process, with a time limit
// and a memory limit, so that whatever a file does to it ends here. Exit status 0 when the whole file was read;
// otherwise 2 and the reason in French on the standard error, on a line starting with "kelvane-lecteur-access : ".

#include "conversion/protocole.h"
#include "lecture.h"
#include "system.h"

#include <QDataStream>
#include <QFile>
#include <QString>
#include <cstdio>

namespace {

int echec(const QString& raison) {
    std::fprintf(stderr, "kelvane-lecteur-access : %s\n", raison.toUtf8().constData());
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        return echec(QStringLiteral("utilisation : kelvane-lecteur-access FICHIER"));
    }
    // libmdb prints some of its diagnostics on the standard output: the dump gets the real one to itself and
    // whatever else is printed there goes to the error output.
    const int vraieSortie = kelvane::lecteuraccess::takeStandardOutput();
    if (vraieSortie < 0) {
        return echec(QStringLiteral("sortie standard inutilisable"));
    }
    QFile sortie;
    if (!sortie.open(vraieSortie, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        return echec(QStringLiteral("sortie standard inutilisable"));
    }
    QDataStream flux(&sortie);
    kelvane::conversion::protocole::preparer(flux);
    const QString raison = kelvane::lecteuraccess::vider(kelvane::lecteuraccess::fileArgument(argc, argv), flux);
    if (!raison.isEmpty()) {
        return echec(raison);
    }
    if (!sortie.flush() || flux.status() != QDataStream::Ok) {
        return echec(QStringLiteral("écriture sur la sortie standard impossible"));
    }
    return 0;
}
