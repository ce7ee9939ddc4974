// kelvane-mktest: builds the files of an application folder from text.
//
//   kelvane-mktest test SOURCE.csv SORTIE.mdb     a test file from its text source (format in source.h)
//   kelvane-mktest settings SORTIE.mdb [CODE]     the settings file habilitation.mdb holding CODE
//   kelvane-mktest images DOSSIER                 Condo.jpg, Terre.jpg and Classe II.jpg
//
// Exit status: 0 done, 1 the source or the output failed (nothing written), 2 wrong command line.

#include "images.h"
#include "platform/error.h"
#include "source.h"
#include "writer.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {

void printError(const QString& text) {
    std::fputs(text.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}

int usage() {
    printError(QStringLiteral("Utilisation :\n"
                              "  kelvane-mktest test SOURCE.csv SORTIE.mdb\n"
                              "  kelvane-mktest settings SORTIE.mdb [CODE]\n"
                              "  kelvane-mktest images DOSSIER"));
    return 2;
}

int buildTest(const QString& sourcePath, const QString& output) {
    const kelvane::mktest::ParseResult parsed = kelvane::mktest::readTestSource(sourcePath);
    if (!parsed.ok()) {
        for (const QString& e : parsed.errors) {
            printError(e);
        }
        printError(QStringLiteral("%1 non écrit.").arg(output));
        return 1;
    }
    kelvane::mktest::writeTestDatabase(parsed.source, output);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const QString command = args.value(0);
    try {
        if (command == u"test" && args.size() == 3) {
            return buildTest(args[1], args[2]);
        }
        if (command == u"settings" && (args.size() == 2 || args.size() == 3)) {
            kelvane::mktest::writeSettingsDatabase(args[1], args.value(2, QStringLiteral("")));
            return 0;
        }
        if (command == u"images" && args.size() == 2) {
            const QStringList errors = kelvane::mktest::writeImages(args[1]);
            for (const QString& e : errors) {
                printError(e);
            }
            return errors.isEmpty() ? 0 : 1;
        }
    } catch (const kelvane::Error& e) {
        printError(e.message());
        printError(QStringLiteral("%1 non écrit.").arg(command == u"test" ? args[2] : args[1]));
        return 1;
    }
    return usage();
}
