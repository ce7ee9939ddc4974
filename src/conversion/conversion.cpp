#include "conversion/conversion.h"

#include "conversion/copie.h"
#include "conversion/lecteur.h"
#include "conversion/vidage.h"
#include "data/controletest.h"
#include "data/ecriture.h"
#include "data/fichierresultats.h"
#include "data/reglesfichiers.h"
#include "data/valeurs.h"
#include "platform/error.h"
#include "platform/nativepath.h"
#include "source/textsource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <map>

namespace kelvane::conversion {

using platform::nativePath;

namespace {

constexpr std::size_t kProblemesMontres = 3;

const QStringList kTablesTest{data::kTableChapitre, data::kTableNumero, data::kTableTest};
const QStringList kTablesResultats{data::kTableQuestion, data::kTableChapitre, data::kTableEleves};

// Why a file is refused, as the end of its report line.
struct Refus {
    QString raison;
};

bool contientTout(const BaseAccess& base, const QStringList& noms) {
    return std::all_of(noms.cbegin(), noms.cend(), [&](const QString& nom) { return base.table(nom) != nullptr; });
}

QStringList nomsDesTables(const BaseAccess& base) {
    QStringList noms;
    for (const TableAccess& table : base.tables) {
        noms << table.nom;
    }
    return noms;
}

// The layout's tables in the file, each with the fields the programs read and types the conversion can write.
std::vector<const TableAccess*> tablesDeLaDisposition(const BaseAccess& base, const QStringList& disposition) {
    std::vector<const TableAccess*> tables;
    for (const QString& nom : disposition) {
        const TableAccess* table = base.table(nom);
        for (const ColonneAccess& colonne : table->colonnes) {
            if (!champKelvane(colonne)) {
                throw Refus{QStringLiteral("table « %1 », champ « %2 » : type Access %3 (objet OLE ou inconnu), "
                                           "que la conversion ne reprend pas")
                                .arg(table->nom, colonne.nom, QString::number(static_cast<int>(colonne.type)))};
            }
        }
        tables.push_back(table);
    }
    return tables;
}

int champExige(const TableAccess& table, const QString& nom) {
    const int i = table.colonne(nom);
    if (i < 0) {
        throw Refus{QStringLiteral("table « %1 » : champ « %2 » absent").arg(table.nom, nom)};
    }
    return i;
}

void champsAuMoins(const TableAccess& table, int n) {
    if (static_cast<int>(table.colonnes.size()) < n) {
        throw Refus{QStringLiteral("table « %1 » : %2 champs au lieu d'au moins %3")
                        .arg(table.nom, QString::number(table.colonnes.size()), QString::number(n))};
    }
}

void enregistrementExige(const TableAccess& table) {
    if (table.lignes.empty()) {
        throw Refus{QStringLiteral("table « %1 » vide").arg(table.nom)};
    }
}

// A value of the dump as the Kelvane file will hold it.
QVariant valeur(const TableAccess& table, const std::vector<QVariant>& ligne, int colonne) {
    const auto champ = champKelvane(table.colonnes[static_cast<std::size_t>(colonne)]);
    return valeurKelvane(champ->type, ligne[static_cast<std::size_t>(colonne)]);
}

// The test as the student program will read it from the converted file, refused when it cannot be used.
data::Test testDe(const BaseAccess& base, const QString& fichier) {
    const TableAccess& numero = *base.table(data::kTableNumero);
    const TableAccess& chapitre = *base.table(data::kTableChapitre);
    const TableAccess& questions = *base.table(data::kTableTest);
    const int temps = champExige(numero, QStringLiteral("temps"));
    const int tolerance = champExige(numero, QStringLiteral("tolerance"));
    const int nom = champExige(chapitre, QStringLiteral("nom"));
    const int numeroChapitre = champExige(chapitre, QStringLiteral("numero"));
    enregistrementExige(numero);
    champsAuMoins(questions, data::NbChampsQuestionTest);

    data::Test test;
    test.fichier = fichier;
    test.nom = data::nomTestDeFichier(fichier);
    test.temps = valeur(numero, numero.lignes.front(), temps);
    test.tolerance = valeur(numero, numero.lignes.front(), tolerance);
    for (const std::vector<QVariant>& ligne : chapitre.lignes) {
        test.chapitres.push_back({valeur(chapitre, ligne, nom), valeur(chapitre, ligne, numeroChapitre)});
    }
    for (const std::vector<QVariant>& ligne : questions.lignes) {
        data::QuestionTest q;
        for (int i = 0; i < data::NbChampsQuestionTest; ++i) {
            q[static_cast<std::size_t>(i)] = valeur(questions, ligne, i);
        }
        test.questions.push_back(std::move(q));
    }

    const std::vector<data::Probleme> problemes = data::controlerTest(test);
    if (!problemes.empty()) {
        QStringList montres;
        for (std::size_t i = 0; i < problemes.size() && i < kProblemesMontres; ++i) {
            const data::Probleme& p = problemes[i];
            montres << (p.question < 0 ? p.message
                                       : QStringLiteral("question %1 : %2").arg(p.question + 1).arg(p.message));
        }
        QString raison = QStringLiteral("%1 problème%2 : %3")
                             .arg(problemes.size())
                             .arg(problemes.size() > 1 ? QStringLiteral("s") : QString())
                             .arg(montres.join(QStringLiteral(" ; ")));
        if (problemes.size() > kProblemesMontres) {
            raison += QStringLiteral(" ; et %1 de plus").arg(problemes.size() - kProblemesMontres);
        }
        throw Refus{raison};
    }
    return test;
}

// What the student program's viewer reads of a results file, checked; returns the candidate's line.
QString candidatDe(const BaseAccess& base) {
    const TableAccess& eleves = *base.table(data::kTableEleves);
    const TableAccess& chapitre = *base.table(data::kTableChapitre);
    const TableAccess& question = *base.table(data::kTableQuestion);
    champsAuMoins(question, data::champ::NbChampsQuestion);
    champExige(chapitre, QStringLiteral("nom"));
    champExige(chapitre, QStringLiteral("numero"));
    std::map<QString, int> champs;
    for (const char* nom : {"nom", "prenom", "classe", "test", "date", "examen", "temps", "tolerance"}) {
        champs[QLatin1String(nom)] = champExige(eleves, QLatin1String(nom));
    }
    enregistrementExige(eleves);
    const std::vector<QVariant>& eleve = eleves.lignes.front();
    const auto texte = [&](const char* nom) {
        return data::texteChamp(valeur(eleves, eleve, champs.at(QLatin1String(nom)))).trimmed();
    };
    const bool examen = data::estVrai(valeur(eleves, eleve, champs.at(QStringLiteral("examen"))));
    QStringList parties;
    const QString nomComplet = QStringList{texte("prenom"), texte("nom")}.join(QLatin1Char(' ')).trimmed();
    for (const QString& partie : {nomComplet, texte("classe"),
                                  texte("test").isEmpty() ? QString() : QStringLiteral("test %1").arg(texte("test"))}) {
        if (!partie.isEmpty()) {
            parties << partie;
        }
    }
    parties << (examen ? QStringLiteral("évaluation") : QStringLiteral("entraînement")) +
                   (texte("date").isEmpty() ? QString() : QStringLiteral(" du %1").arg(texte("date")));
    parties << QStringLiteral("%1 question%2").arg(question.lignes.size()).arg(question.lignes.size() > 1 ? "s" : "");
    return parties.join(QStringLiteral(", "));
}

// "B1V.mdb : 6 questions, …" without its file name.
QString contenuDuTest(const data::Test& test) {
    const QString resume = source::summary(test, test.fichier);
    const QString prefixe = test.fichier + QStringLiteral(" : ");
    return resume.startsWith(prefixe) ? resume.mid(prefixe.size()) : resume;
}

// Kelvane files are SQLite databases, which start with this header.
bool estFichierKelvane(const QString& chemin) {
    QFile fichier(chemin);
    return fichier.open(QIODevice::ReadOnly) && fichier.read(16) == QByteArray("SQLite format 3", 16);
}

CompteRendu refus(const QString& nomSource, const QString& raison) {
    return {Genre::Refuse, QString(), QStringLiteral("%1 : %2").arg(nomSource, raison)};
}

// A damaged file can put control characters in a name: the report stays one line.
QString uneLigne(QString message) {
    for (QChar& c : message) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
            c = QLatin1Char('?');
        }
    }
    return message;
}

CompteRendu convertirFichier(const QString& source, const QString& dossier, const Limites& limites);

} // namespace

QString nomCible(const QString& source) {
    return QFileInfo(source).completeBaseName() + data::kExtension;
}

CompteRendu convertir(const QString& source, const QString& dossier, const Limites& limites) {
    CompteRendu compteRendu;
    try {
        compteRendu = convertirFichier(source, dossier, limites);
    } catch (const std::exception&) { // memory exhausted by a huge dump
        compteRendu =
            refus(QFileInfo(source).fileName(), QStringLiteral("conversion impossible : mémoire insuffisante"));
    }
    compteRendu.message = uneLigne(compteRendu.message);
    return compteRendu;
}

namespace {

CompteRendu convertirFichier(const QString& source, const QString& dossier, const Limites& limites) {
    const QFileInfo infoSource(source);
    const QString nomSource = infoSource.fileName();
    const QString nom = nomCible(source);
    const QString cible = QDir(dossier).absoluteFilePath(nom);
    if (!QFileInfo(dossier).isDir()) {
        return refus(nomSource, QStringLiteral("le dossier « %1 » n'existe pas").arg(nativePath(dossier)));
    }
    if (!infoSource.isFile()) {
        return refus(nomSource, QStringLiteral("fichier introuvable"));
    }
    const QString dejaPris =
        QStringLiteral("%1 existe déjà dans « %2 » : il n'est pas remplacé").arg(nom, nativePath(dossier));
    if (QFileInfo::exists(cible)) {
        return refus(nomSource, dejaPris);
    }

    if (estFichierKelvane(source)) {
        return refus(nomSource, QStringLiteral("c'est déjà un fichier Kelvane, il n'y a rien à convertir"));
    }

    const Lecture lecture = lireAvecLecteur(source, limites);
    QString raison = lecture.raison;
    const std::optional<BaseAccess> base = lecture.reussie ? lireVidage(lecture.vidage, raison) : std::nullopt;
    if (!base) {
        return refus(nomSource, QStringLiteral("le fichier Access n'a pas pu être lu (%1)").arg(raison));
    }

    const bool test = contientTout(*base, kTablesTest);
    const bool resultats = contientTout(*base, kTablesResultats);
    if (test == resultats) {
        const QStringList noms = nomsDesTables(*base);
        return refus(nomSource,
                     test ? QStringLiteral("ce fichier Access a à la fois les tables d'un test et celles "
                                           "d'un fichier de résultats : tables trouvées %1")
                                .arg(noms.join(QStringLiteral(", ")))
                          : QStringLiteral("ce fichier Access n'est pas un test ni un fichier de "
                                           "résultats : tables trouvées %1")
                                .arg(noms.isEmpty() ? QStringLiteral("aucune") : noms.join(QStringLiteral(", "))));
    }
    const QStringList disposition = test ? kTablesTest : kTablesResultats;

    try {
        const std::vector<const TableAccess*> tables = tablesDeLaDisposition(*base, disposition);
        QString message;
        if (test) {
            message =
                QStringLiteral("%1 : test converti en %2 (%3)").arg(nomSource, nom, contenuDuTest(testDe(*base, nom)));
        } else {
            message =
                QStringLiteral("%1 : fichier de résultats converti en %2 (%3)").arg(nomSource, nom, candidatDe(*base));
        }
        QStringList laissees;
        for (const TableAccess& table : base->tables) {
            if (!disposition.contains(table.nom, Qt::CaseInsensitive)) {
                laissees << table.nom;
            }
        }
        if (!laissees.isEmpty()) {
            message += QStringLiteral(" ; tables non reprises : %1").arg(laissees.join(QStringLiteral(", ")));
        }
        data::ecrireAtomiquement(
            cible, [&](db::Database& kelvane) { copierTables(kelvane, tables); }, platform::IfExists::Refuse);
        return {test ? Genre::Test : Genre::Resultats, cible, message};
    } catch (const Refus& r) {
        return refus(nomSource, (test ? QStringLiteral("test non converti, %1")
                                      : QStringLiteral("fichier de résultats non converti, %1"))
                                    .arg(r.raison));
    } catch (const Error& e) {
        if (e.number() == errc::DatabaseExists) {
            return refus(nomSource, dejaPris);
        }
        return refus(nomSource, QStringLiteral("écriture de %1 impossible : %2").arg(nom, e.text()));
    }
}

} // namespace

} // namespace kelvane::conversion
