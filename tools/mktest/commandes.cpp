#include "commandes.h"

#include "banques/fichiersbanques.h"
#include "banques/importation.h"
#include "bilan/bilan.h"
#include "conversion/conversion.h"
#include "data/classeii.h"
#include "data/ecriture.h"
#include "data/format.h"
#include "exportations/formatsbilan.h"
#include "images.h"
#include "kelvaneversion.h"
#include "platform/error.h"
#include "results/verdict.h"
#include "session/modetest.h"
#include "source/textsource.h"
#include "writer.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <optional>

namespace kelvane::mktest {

using namespace kelvane::source;

namespace {

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toUtf8().constData(), stream);
    std::fputc('\n', stream);
}

// The options of the summary's files, one per format: "[--xlsx FICHIER] [--csv FICHIER] [--pdf FICHIER]".
QString optionsBilan() {
    QStringList options;
    for (const exportations::FormatBilan& format : exportations::formatsBilan()) {
        options << QStringLiteral("[--%1 FICHIER]").arg(format.extension);
    }
    return options.join(QLatin1Char(' '));
}

QString help(const QString& p) {
    const QStringList images = data::imagesClasseII();
    return QStringLiteral("%1 : fabrique les fichiers du dossier de l'application Kelvane.\n"
                          "\n"
                          "Utilisation :\n"
                          "  %1 test SOURCE.csv TEST.mdb          fabrique un test à partir de sa source texte\n"
                          "  %1 exporter TEST.mdb SOURCE.csv      écrit la source texte d'un test et ses images\n"
                          "  %1 exporter TEST.mdb BANQUE.xml|.gift\n"
                          "%2écrit le test en banque de questions Moodle XML (images comprises)\n"
                          "%2ou GIFT (sans ses images)\n"
                          "  %1 importer BANQUE TEST.mdb          fabrique un nouveau test à partir d'une banque de\n"
                          "%2questions Moodle XML (.xml), GIFT (.gift) ou Aiken (.txt) ; les\n"
                          "%2questions laissées de côté sont signalées sur la sortie d'erreur\n"
                          "  %1 reglages %3 [CODE]  fabrique le fichier de réglages (code de %4 "
                          "caractères au plus, vide sinon)\n"
                          "  %1 images DOSSIER                    dessine %5, %6 et %7\n"
                          "  %1 convertir FICHIER... [--dossier DOSSIER]\n"
                          "%2convertit des fichiers Access (.mdb, .accdb) en tests ou en fichiers\n"
                          "%2de résultats Kelvane nommés d'après eux en .mdb, dans DOSSIER (le\n"
                          "%2dossier courant sinon) ; un nom déjà pris n'est jamais remplacé\n"
                          "  %1 bilan DOSSIER [--sous-dossiers] %8\n"
                          "%2résume les fichiers de résultats du dossier (et de ses sous-dossiers\n"
                          "%2sur demande) et écrit le classeur, le CSV ou le bilan imprimé en PDF ;\n"
                          "%2un fichier déjà là n'est jamais remplacé, les fichiers mis à part\n"
                          "%2sont signalés sur la sortie d'erreur\n"
                          "  %1 --help                            affiche cette aide\n"
                          "  %1 --version                         affiche la version\n"
                          "\n"
                          "Le format des sources est décrit dans le README. Sur une erreur, rien n'est écrit et le "
                          "code de sortie est 1 ;\n"
                          "pour convertir, il est 1 dès qu'un fichier est refusé (les autres sont convertis).")
        .arg(p, QString(p.size() + 37, QLatin1Char(' ')), data::kFichierParametres, QString::number(data::TailleCode),
             images[0], images[1], images[2], optionsBilan());
}

QString name(const QString& path) {
    return QFileInfo(path).fileName();
}

// Reports the fault of one output file and that it was not written.
int failed(const QStringList& faults, const QString& output) {
    for (const QString& f : faults) {
        print(stderr, f);
    }
    print(stderr, QStringLiteral("%1 non écrit.").arg(name(output)));
    return 1;
}

bool isMdb(const QString& path) {
    return path.endsWith(data::kExtension, Qt::CaseInsensitive);
}

QString notMdb(const QString& path) {
    return QStringLiteral("%1 : le nom doit finir par .mdb (le programme des élèves ne liste que les fichiers .mdb)")
        .arg(name(path));
}

int buildTest(const QString& sourcePath, const QString& output) {
    if (!isMdb(output)) {
        return failed({notMdb(output)}, output);
    }
    const ParseResult parsed = readTestSource(sourcePath);
    if (!parsed.ok()) {
        return failed(parsed.errors, output);
    }
    try {
        writeTestDatabase(parsed.source, output);
    } catch (const Error& e) {
        return failed({QStringLiteral("%1 : %2").arg(name(output), e.text())}, output);
    }
    print(stdout, summary(toTest(parsed.source, name(output)), name(output)));
    return 0;
}

int exportTest(const QString& testPath, const QString& output) {
    if (isMdb(output)) {
        return failed({QStringLiteral("%1 : une source ne finit pas par .mdb (l'ordre est : exporter TEST.mdb "
                                      "SOURCE.csv)")
                           .arg(name(output))},
                      output);
    }
    const QFileInfo target(output);
    if (!target.absoluteDir().exists()) {
        return failed({QStringLiteral("%1 : le dossier « %2 » n'existe pas")
                           .arg(name(output), QDir::toNativeSeparators(target.absolutePath()))},
                      output);
    }
    const std::optional<banques::FormatExport> bank = banques::formatExport(output);
    TestExport exported;
    banques::ExportBanque bankExport;
    try {
        if (bank) {
            bankExport = banques::exporterBanque(testPath, output, *bank);
        } else {
            exported = exportTestFile(testPath, output);
        }
    } catch (const Error& e) {
        return failed({QStringLiteral("%1 : %2").arg(name(testPath), e.text())}, output);
    }
    const QStringList& faults = bank ? bankExport.fautes : exported.faults;
    if (!faults.isEmpty()) {
        return failed(faults, output);
    }
    const QString& failure = bank ? bankExport.echec : exported.writeFailure;
    if (!failure.isEmpty()) {
        const QString file = bank || exported.failedFile.isEmpty() ? output : exported.failedFile;
        return failed({QStringLiteral("%1 : impossible d'écrire le fichier (%2)").arg(name(file), failure)}, output);
    }
    for (const QString& note : bankExport.notes) {
        print(stderr, QStringLiteral("%1 : %2").arg(name(output), note));
    }
    print(stdout, summary(bank ? bankExport.test : exported.test, name(output)));
    return 0;
}

int importBank(const QString& bankPath, const QString& output) {
    if (!isMdb(output)) {
        return failed({notMdb(output)}, output);
    }
    if (QFileInfo::exists(output)) {
        return failed({QStringLiteral("%1 existe déjà : il n'est pas remplacé (choisissez un autre nom ou "
                                      "supprimez-le d'abord)")
                           .arg(name(output))},
                      output);
    }
    banques::ResultatImport imported = banques::importer(bankPath);
    if (!imported.ok()) {
        return failed({imported.erreur}, output);
    }
    for (const QString& line : banques::lignesRapport(imported.rapport)) {
        print(stderr, QStringLiteral("%1, %2").arg(name(bankPath), line));
    }
    if (imported.source.questions.empty()) {
        return failed({QStringLiteral("%1 : aucune question que Kelvane puisse reprendre").arg(name(bankPath))},
                      output);
    }
    banques::reglerTempsEtTolerance(imported.source);
    const data::Test test = banques::testImporte(std::move(imported), name(output));
    try {
        data::ecrireTest(test, output, platform::IfExists::Refuse);
    } catch (const Error& e) {
        return failed({QStringLiteral("%1 : %2").arg(name(output), e.text())}, output);
    }
    print(stdout, summary(test, name(output)));
    return 0;
}

int buildSettings(const QString& output, const QString& code) {
    if (!isMdb(output)) {
        return failed({notMdb(output)}, output);
    }
    try {
        writeSettingsDatabase(output, code);
    } catch (const Error& e) {
        return failed({QStringLiteral("%1 : %2").arg(name(output), e.text())}, output);
    }
    print(stdout, code.isEmpty() ? QStringLiteral("%1 : réglages, code vide").arg(name(output))
                                 : QStringLiteral("%1 : réglages, code « %2 »").arg(name(output), code));
    return 0;
}

int drawImages(const QString& folder) {
    const QStringList errors = writeImages(folder);
    for (const QString& e : errors) {
        print(stderr, e);
    }
    if (errors.isEmpty()) {
        print(stdout, QStringLiteral("%1 : %2").arg(folder, data::imagesClasseII().join(QStringLiteral(", "))));
    }
    return errors.isEmpty() ? 0 : 1;
}

int convertFiles(const QStringList& args, const QString& programme) {
    QStringList files;
    QString folder = QStringLiteral(".");
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == u"--dossier") {
            if (i + 1 == args.size()) {
                print(stderr, QStringLiteral("%1 convertir : --dossier sans nom de dossier").arg(programme));
                return 1;
            }
            folder = args[++i];
        } else {
            files << args[i];
        }
    }
    if (files.isEmpty()) {
        print(stderr, QStringLiteral("%1 convertir : aucun fichier Access donné (attendu : %1 convertir FICHIER... "
                                     "[--dossier DOSSIER])")
                          .arg(programme));
        return 1;
    }
    if (!QFileInfo(folder).isDir()) {
        print(stderr, QStringLiteral("%1 convertir : le dossier « %2 » n'existe pas, rien n'est converti.")
                          .arg(programme, QDir::toNativeSeparators(folder)));
        return 1;
    }
    bool refused = false;
    for (const QString& file : files) {
        const conversion::CompteRendu report = conversion::convertir(file, folder);
        print(stdout, report.message);
        refused = refused || report.genre == conversion::Genre::Refuse;
    }
    return refused ? 1 : 0;
}

// The summary's format that an option names ("--xlsx"), or nullptr.
const exportations::FormatBilan* formatDeLOption(const QString& option) {
    for (const exportations::FormatBilan& format : exportations::formatsBilan()) {
        if (option == QStringLiteral("--") + format.extension) {
            return &format;
        }
    }
    return nullptr;
}

// One file that the summary writes, in one of its formats; never over an existing one.
struct Sortie {
    const exportations::FormatBilan* format;
    QString chemin;
};

QString pourcentTexte(double pourcentage) {
    return QStringLiteral("%1 %").arg(bilan::pourcentageCoupe(pourcentage));
}

void resumer(const bilan::Classe& classe, const bilan::Selection& selection) {
    print(stdout, QStringLiteral("%1 : %2 passage(s), %3 fichier(s) mis à part")
                      .arg(QDir::toNativeSeparators(classe.dossier))
                      .arg(selection.size())
                      .arg(classe.ignores.size()));
    for (const QString& test : bilan::tests(selection)) {
        int passages = 0;
        int reussis = 0;
        double somme = 0.0;
        for (const bilan::Passage* p : selection) {
            if (p->test == test) {
                ++passages;
                reussis += p->reussi ? 1 : 0;
                somme += p->pourcentage;
            }
        }
        // One arg() call for all the fields: a name may itself hold a "%2".
        QString ligne =
            QStringLiteral("%1 : %2 passage(s), %3 réussi(s), moyenne %4")
                .arg(test, QString::number(passages), QString::number(reussis), pourcentTexte(somme / passages));
        const auto stats = bilan::statistiquesQuestions(classe, test, selection);
        if (!stats.empty()) {
            ligne += QStringLiteral(", question la plus difficile : n° %1 (%2)")
                         .arg(stats.front().question->numero, pourcentTexte(*stats.front().pourcentage));
        }
        print(stdout, ligne);
    }
    for (const bilan::Passage* p : selection) {
        print(stdout,
              QStringLiteral("  %1 %2 (%3) ; %4 ; %5 ; %6 ; %7 sur %8 (%9 répondues) ; %10 ; %11")
                  .arg(p->nom.toUpper(), p->prenom, p->classe, p->test, session::modeTest(p->examen).nomMode, p->date,
                       QString::number(p->bonnes), QString::number(p->total), QString::number(p->repondues),
                       pourcentTexte(p->pourcentage), results::texteVerdict(p->reussi).toLower()));
    }
}

int summarizeFolder(const QStringList& args, const QString& programme) {
    const auto refuse = [&](const QString& texte) {
        print(stderr, QStringLiteral("%1 bilan : %2").arg(programme, texte));
        return 1;
    };
    QString dossier;
    bilan::Options options;
    std::vector<Sortie> sorties;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == u"--sous-dossiers") {
            options.sousDossiers = true;
        } else if (const exportations::FormatBilan* format = formatDeLOption(a)) {
            if (i + 1 == args.size()) {
                return refuse(QStringLiteral("%1 sans nom de fichier").arg(a));
            }
            sorties.push_back({format, args[++i]});
        } else if (a.startsWith(u"--") || !dossier.isEmpty()) {
            return refuse(QStringLiteral("argument « %1 » inattendu (attendu : %2 bilan DOSSIER [--sous-dossiers] %3)")
                              .arg(a, programme, optionsBilan()));
        } else {
            dossier = a;
        }
    }
    if (dossier.isEmpty()) {
        return refuse(QStringLiteral("aucun dossier donné"));
    }
    // Everything refused before anything is read: a file already there stays as it is.
    for (const Sortie& s : sorties) {
        if (QFileInfo::exists(s.chemin)) {
            return refuse(QStringLiteral("%1 existe déjà : il n'est pas remplacé (choisissez un autre nom ou "
                                         "supprimez-le d'abord) ; rien n'est écrit.")
                              .arg(QDir::toNativeSeparators(s.chemin)));
        }
        if (!QFileInfo(s.chemin).absoluteDir().exists()) {
            return refuse(QStringLiteral("le dossier de %1 n'existe pas ; rien n'est écrit.")
                              .arg(QDir::toNativeSeparators(s.chemin)));
        }
    }
    bilan::Classe classe;
    try {
        classe = bilan::lireResultatsDuDossier(dossier, options);
    } catch (const Error& e) {
        return refuse(e.text());
    }
    for (const bilan::Ignore& i : classe.ignores) {
        print(stderr, QStringLiteral("%1 : %2%3")
                          .arg(QDir::toNativeSeparators(i.fichier),
                               i.enCours ? QStringLiteral("en cours. ") : QStringLiteral("mis à part. "), i.raison));
    }
    const bilan::Selection selection = bilan::tous(classe);
    resumer(classe, selection);
    bool echec = false;
    for (const Sortie& s : sorties) {
        try {
            s.format->ecrire(s.chemin, classe, selection);
            print(stdout, QStringLiteral("%1 écrit.").arg(QDir::toNativeSeparators(s.chemin)));
        } catch (const Error& e) {
            print(stderr, QStringLiteral("%1 non écrit : %2").arg(QDir::toNativeSeparators(s.chemin), e.text()));
            echec = true;
        }
    }
    return echec ? 1 : 0;
}

int wrongArguments(const QString& programme, const QString& verb, const QString& expected) {
    print(stderr,
          QStringLiteral("%1 %2 : nombre d'arguments incorrect (attendu : %1 %2 %3)").arg(programme, verb, expected));
    return 1;
}

} // namespace

int executer(const QStringList& args, const QString& programme) {
    const QString verb = args.value(0);
    const qsizetype n = args.size() - 1;
    if (verb == u"--help" || verb == u"-h" || verb == u"aide") {
        print(stdout, help(programme));
        return 0;
    }
    if (verb == u"--version") {
        print(stdout, QStringLiteral("%1 %2").arg(programme, QLatin1StringView(kVersion)));
        return 0;
    }
    if (verb == u"test") {
        return n == 2 ? buildTest(args[1], args[2])
                      : wrongArguments(programme, verb, QStringLiteral("SOURCE.csv TEST.mdb"));
    }
    if (verb == u"exporter") {
        return n == 2 ? exportTest(args[1], args[2])
                      : wrongArguments(programme, verb, QStringLiteral("TEST.mdb SOURCE.csv|BANQUE.xml|BANQUE.gift"));
    }
    if (verb == u"importer") {
        return n == 2 ? importBank(args[1], args[2])
                      : wrongArguments(programme, verb, QStringLiteral("BANQUE TEST.mdb"));
    }
    if (verb == u"reglages" || verb == u"réglages" || verb == u"settings") {
        return n == 1 || n == 2 ? buildSettings(args[1], args.value(2))
                                : wrongArguments(programme, verb, data::kFichierParametres + QStringLiteral(" [CODE]"));
    }
    if (verb == u"images") {
        return n == 1 ? drawImages(args[1]) : wrongArguments(programme, verb, QStringLiteral("DOSSIER"));
    }
    if (verb == u"convertir") {
        return convertFiles(args.mid(1), programme);
    }
    if (verb == u"bilan") {
        return summarizeFolder(args.mid(1), programme);
    }
    if (!verb.isEmpty()) {
        print(stderr, QStringLiteral("%1 : commande « %2 » inconnue.\n").arg(programme, verb));
    }
    print(stderr, help(programme));
    return 1;
}

} // namespace kelvane::mktest
