#include "bilan/bilan.h"
#include "data/fichierresultats.h"
#include "data/reglesfichiers.h"
#include "data/valeurs.h"
#include "platform/db/database.h"
#include "platform/error.h"
#include "results/resultats.h"
#include "session/modetest.h"
#include "session/ordre.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <tuple>

namespace kelvane::bilan {

namespace {

// A question of a test, told from the others by its number, its wording and, when a file holds the same
// question twice, which of the copies it is.
using CleQuestion = std::tuple<QString, QString, int>;

// What the reading keeps across files: each test's questions and chapters, found once.
struct Catalogue {
    Classe& classe;
    std::map<QString, std::map<CleQuestion, int>> index;
};

QString texteNumero(const QVariant& valeur) {
    return valeur.isNull() ? QString() : valeur.toString();
}

int entier(const QVariant& valeur) {
    bool ok = false;
    const double d = valeur.toDouble(&ok);
    return ok ? static_cast<int>(d) : 0;
}

// The stored short date: dd/MM/yy (a year below 80 is in this century), or with four digits for the year.
QDate lireJour(const QString& date) {
    const QString texte = date.trimmed();
    QDate jour = QDate::fromString(texte, QStringLiteral("dd/MM/yyyy"));
    if (jour.isValid()) {
        return jour;
    }
    jour = QDate::fromString(texte, QStringLiteral("dd/MM/yy"));
    if (jour.isValid() && jour.year() < 1980) {
        jour = jour.addYears(100);
    }
    return jour;
}

// A file of the older desktop database, as the conversion in the workbench takes it.
bool estFichierAccess(const QString& chemin) {
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray debut = fichier.read(20);
    return debut.mid(4, 15) == "Standard Jet DB" || debut.mid(4, 15) == "Standard ACE DB";
}

double part(int bonnes, int questions) {
    return questions == 0 ? 0.0 : bonnes * 100.0 / questions;
}

int indexQuestion(Catalogue& catalogue, const QString& test, const data::QuestionResultats& q,
                  std::map<std::pair<QString, QString>, int>& copies) {
    const QString numero = texteNumero(q.numero);
    const int copie = copies[{numero, q.texte}]++;
    auto& index = catalogue.index[test];
    const auto [trouve, nouveau] =
        index.try_emplace(CleQuestion{numero, q.texte, copie}, static_cast<int>(index.size()));
    if (nouveau) {
        EnonceQuestion qt;
        qt.numero = numero;
        qt.chapitre = entier(q.chapitre);
        qt.niveaux = q.niveaux;
        qt.texte = q.texte;
        qt.nbReponses = q.nbReponses;
        qt.reponses = q.reponses;
        qt.qcm = q.qcm;
        for (std::size_t j = 0; j < qt.attendues.size(); ++j) {
            qt.attendues[j] = q.qcm ? data::estVrai(q.attendues[j]) : entier(q.attendues[j]) != 0;
        }
        catalogue.classe.questionsParTest[test].push_back(std::move(qt));
    }
    return trouve->second;
}

void noterChapitres(Catalogue& catalogue, const QString& test, const std::vector<data::Chapitre>& chapitres) {
    std::vector<PourcentageChapitre>& connus = catalogue.classe.chapitresParTest[test];
    for (const data::Chapitre& c : chapitres) {
        bool ok = false;
        const double numero = c.numero.toDouble(&ok);
        if (!ok) {
            continue;
        }
        const auto n = static_cast<int>(numero);
        if (std::none_of(connus.begin(), connus.end(), [n](const PourcentageChapitre& p) { return p.numero == n; })) {
            connus.push_back({n, c.nom, std::nullopt});
        }
    }
}

// The line of one results file, figured as the viewer figures it: the same order (rebuilt from the numbers for
// each file), the same places, the same scoring.
Passage lirePassage(data::FichierResultats& fichier, const QString& chemin, Catalogue& catalogue) {
    const data::Eleve eleve = fichier.eleve();
    const std::int16_t tolerance = data::entier16(eleve.tolerance, QStringLiteral("tolerance"));
    const int nbQuestions = fichier.nbQuestions();
    const std::vector<int> ordre = session::ordreParNumero(fichier.numeros(), nbQuestions, {});
    const std::vector<data::QuestionResultats> questions = fichier.questions();
    const std::vector<data::Chapitre> chapitres = fichier.chapitres();
    const bool examen = data::estVrai(eleve.examen);
    const results::Seance seance{eleve.test, session::modeTest(examen).libelleMode, tolerance, nbQuestions, ordre};
    const results::Scores scores = results::calculerScores(questions, chapitres, seance);

    Passage p;
    p.fichier = chemin;
    p.nom = eleve.nom;
    p.prenom = eleve.prenom;
    p.classe = eleve.classe;
    p.test = eleve.test;
    p.examen = examen;
    p.date = eleve.date;
    p.jour = lireJour(eleve.date);
    p.bonnes = scores.bonnes;
    p.total = scores.total;
    p.pourcentage = scores.pourcentage;
    p.tolerance = tolerance;
    p.reussi = scores.reussi;
    for (std::size_t j = 0; j < p.niveaux.size(); ++j) {
        if (scores.questionsNiveau[j] != 0) {
            p.niveaux[j] = part(scores.bonnesNiveau[j], scores.questionsNiveau[j]);
        }
    }
    for (const results::Scores::Chapitre& c : scores.chapitres) {
        p.chapitres.push_back({static_cast<int>(c.numero), c.nom, part(c.bonnes, c.questions)});
    }
    noterChapitres(catalogue, p.test, chapitres);

    std::map<std::pair<QString, QString>, int> copies;
    p.questions.reserve(questions.size());
    for (const data::QuestionResultats& q : questions) {
        ReponseQuestion r;
        r.question = indexQuestion(catalogue, p.test, q, copies);
        for (std::size_t j = 0; j < q.donnees.size(); ++j) {
            if (q.donnees[j] != 0) {
                r.cases = static_cast<std::uint8_t>(r.cases | (1U << j));
            }
        }
        r.repondue = r.cases != 0;
        r.juste = q.reussi;
        p.repondues += r.repondue ? 1 : 0;
        p.questions.push_back(r);
    }
    return p;
}

Ignore enCours(const QString& chemin, const QString& raison) {
    return {chemin, raison, true};
}

// One file of the folder: a line, a file set aside with its reason, or nothing when it is no results file.
void lireFichier(const QString& chemin, Catalogue& catalogue) {
    Classe& classe = catalogue.classe;
    const QFileInfo info(chemin);
    if (!info.exists()) {
        classe.ignores.push_back({chemin, QStringLiteral("Le fichier a disparu pendant la lecture du dossier"), false});
        return;
    }
    if (info.size() == 0) {
        classe.ignores.push_back(enCours(chemin, QStringLiteral("Fichier vide : une séance le crée peut-être")));
        return;
    }
    const QDateTime modifie = info.lastModified();
    try {
        std::optional<data::FichierResultats> fichier = data::FichierResultats::ouvrir(chemin, db::OpenMode::Snapshot);
        if (!fichier) {
            if (db::OpenDatabase(chemin, db::OpenMode::Snapshot).userTables().isEmpty()) {
                classe.ignores.push_back(enCours(chemin, QStringLiteral("Base sans tables : une séance la crée")));
                return;
            }
            return; // a test, the settings file, another database
        }
        Passage p = lirePassage(*fichier, chemin, catalogue);
        p.modifie = modifie;
        classe.passages.push_back(std::move(p));
        return;
    } catch (const Error& e) {
        switch (e.number()) {
        case errc::Locked:
            classe.ignores.push_back(
                enCours(chemin, QStringLiteral("Fichier verrouillé : une séance est en train d'y écrire")));
            break;
        case errc::NoCurrentRecord:
            classe.ignores.push_back(enCours(chemin, QStringLiteral("Aucun candidat enregistré : la séance commence")));
            break;
        case errc::FileNotFound:
            classe.ignores.push_back(
                {chemin, QStringLiteral("Le fichier a disparu pendant la lecture du dossier"), false});
            break;
        case errc::UnrecognizedFormat:
            classe.ignores.push_back(
                {chemin,
                 estFichierAccess(chemin)
                     ? QStringLiteral("Fichier Access d'origine : à convertir dans l'atelier avant d'être lu")
                     : QStringLiteral("Ce n'est pas une base lisible : fichier tronqué, endommagé ou d'un autre "
                                      "programme"),
                 false});
            break;
        default:
            classe.ignores.push_back({chemin, e.message(), false});
            break;
        }
        return;
    }
}

QStringList fichiersDuDossier(const QString& dossier, bool sousDossiers) {
    QStringList chemins;
    QDirIterator it(dossier, {QLatin1Char('*') + data::kExtension}, QDir::Files | QDir::Hidden,
                    sousDossiers ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    while (it.hasNext()) {
        chemins.append(it.next());
    }
    // Folder by folder, then by name, as a file manager lists them.
    std::sort(chemins.begin(), chemins.end(), [](const QString& a, const QString& b) {
        const QFileInfo ia(a);
        const QFileInfo ib(b);
        const int dossiers = QString::compare(ia.path(), ib.path(), Qt::CaseInsensitive);
        return dossiers != 0 ? dossiers < 0 : QString::compare(ia.fileName(), ib.fileName(), Qt::CaseInsensitive) < 0;
    });
    return chemins;
}

} // namespace

Classe lireResultatsDuDossier(const QString& dossier, const Options& options, const Progression& progression) {
    const QFileInfo info(dossier);
    if (!info.isDir()) {
        throw Error(errc::PathNotFound,
                    QStringLiteral("Chemin d'accès introuvable : « %1 »").arg(QDir::toNativeSeparators(dossier)));
    }
    if (!info.isReadable()) {
        throw Error(errc::PathFileAccess,
                    QStringLiteral("Erreur d'accès au chemin/fichier : « %1 »").arg(QDir::toNativeSeparators(dossier)));
    }
    Classe classe;
    classe.dossier = info.absoluteFilePath();
    Catalogue catalogue{classe, {}};
    const QStringList chemins = fichiersDuDossier(classe.dossier, options.sousDossiers);
    const auto total = static_cast<int>(chemins.size());
    for (int i = 0; i < total; ++i) {
        lireFichier(chemins[i], catalogue);
        if (progression) {
            progression(i + 1, total);
        }
    }
    return classe;
}

} // namespace kelvane::bilan
