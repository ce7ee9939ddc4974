#include "data/fichierresultats.h"

#include "data/correction.h"
#include "data/ecriture.h"
#include "data/images.h"
#include "data/reglesfichiers.h"
#include "data/valeurs.h"
#include "platform/db/editscope.h"
#include "platform/error.h"
#include "platform/services/clock.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace kelvane::data {

QString nomFichierResultats(const QString& prenom, const QString& nom, const QString& nomTest,
                            const QString& separateur, const QString& dateCourte) {
    // One character, but never half of a surrogate pair: that would not even be a valid file name.
    const qsizetype initiale = !prenom.isEmpty() && prenom.at(0).isHighSurrogate() ? 2 : 1;
    return prenom.left(initiale) + nom + QLatin1Char('-') + nomTest + separateur + dateCourte.mid(0, 2) +
           dateCourte.mid(3, 2) + dateCourte.mid(6, 2) + kExtension;
}

QString premierNomLibre(const QString& nom, const std::function<bool(const QString&)>& existe) {
    if (!existe(nom)) {
        return nom;
    }
    const QString souche = nom.chopped(qMin<qsizetype>(4, nom.size()));
    for (qint64 n = 1;; ++n) {
        const QString essai = souche + QLatin1Char('-') + QString::number(n) + kExtension;
        if (!existe(essai)) {
            return essai;
        }
    }
}

std::optional<QString> controlerNom(const QString& texte) {
    static const QString refuses = QStringLiteral("/\\<>:\"|?*");
    for (const QChar c : texte) {
        if (refuses.contains(c)) {
            return QStringLiteral("Le caractère « %1 » ne peut pas figurer dans un nom de fichier: "
                                  "le nom « %2 » ne peut pas être utilisé")
                .arg(c)
                .arg(texte);
        }
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
            return QStringLiteral("Le nom « %1 » contient un caractère de contrôle (code %2), "
                                  "qui ne peut pas figurer dans un nom de fichier")
                .arg(QString(texte).replace(c, QLatin1Char('?')))
                .arg(c.unicode());
        }
    }
    return std::nullopt;
}

namespace {

void copierEleve(db::Recordset& rsEleves, const Test& test, const DonneesCandidat& candidat, bool examen,
                 const QDate& aujourdhui) {
    rsEleves.AddNew();
    rsEleves.SetField(QStringLiteral("nom"), candidat.nom);
    rsEleves.SetField(QStringLiteral("prenom"), candidat.prenom);
    rsEleves.SetField(QStringLiteral("classe"), candidat.classe);
    rsEleves.SetField(QStringLiteral("test"), candidat.nomTest);
    rsEleves.SetField(QStringLiteral("date"), services::shortDate(aujourdhui));
    rsEleves.SetField(QStringLiteral("examen"), examen);
    rsEleves.SetField(QStringLiteral("temps"), test.temps);
    rsEleves.SetField(QStringLiteral("tolerance"), test.tolerance);
    rsEleves.Update();
}

void copierChapitres(db::Recordset& rsChapitreEleve, const Test& test) {
    const QString nom = QStringLiteral("nom");
    const QString numero = QStringLiteral("numero");
    for (const Test::Chapitre& chapitre : test.chapitres) {
        rsChapitreEleve.AddNew();
        rsChapitreEleve.SetField(nom, chapitre.nom);
        rsChapitreEleve.SetField(numero, chapitre.numero);
        rsChapitreEleve.Update();
    }
}

void copierQuestions(db::Recordset& rsQuestion, const Test& test) {
    const QVariant zero = QVariant::fromValue<qint16>(0);
    for (const QuestionTest& question : test.questions) {
        rsQuestion.AddNew();
        for (int i = 0; i < NbChampsQuestionTest; ++i) {
            rsQuestion.SetField(i, question[static_cast<std::size_t>(i)]);
        }
        for (int i = 0; i < NbReponsesMax; ++i) {
            rsQuestion.SetField(champ::RE1 + i, zero);
        }
        rsQuestion.SetField(champ::Reussi, false);
        rsQuestion.Update();
    }
}

// Only for a file this session has just created itself.
void supprimerFichierCree(db::Database& base, const QString& chemin) {
    try {
        base.Close();
    } catch (const Error&) {
        // Removing the file is what matters; a failed close cannot keep it.
    }
    QFile::remove(chemin);
}

int entierChamp(const QVariant& v) {
    return v.isNull() ? 0 : v.toInt();
}

} // namespace

// Inside the caller's transaction, so that the three tables appear together or not at all.
void creerTablesResultats(db::Database& base) {
    std::array<ChampFichier, champ::NbChampsQuestion> question{};
    std::copy(kChampsQuestion.begin(), kChampsQuestion.end(), question.begin());
    std::copy(kChampsReponse.begin(), kChampsReponse.end(), question.begin() + NbChampsQuestionTest);
    creerTable(base, kTableQuestion, question);
    creerTable(base, kTableChapitre, kChampsChapitre);
    creerTable(base, kTableEleves, kChampsEleves);
}

ParametresTest parametresTest(const Test& test) {
    return {entier16(test.temps, QStringLiteral("le temps du test %1").arg(test.nom)),
            entier16(test.tolerance, QStringLiteral("la tolérance du test %1").arg(test.nom))};
}

void remplirTablesResultats(const TablesResultats& tables, const Test& test, const DonneesCandidat& candidat,
                            bool examen, const QDate& aujourdhui) {
    copierEleve(tables.eleves, test, candidat, examen, aujourdhui);
    copierChapitres(tables.chapitres, test);
    copierQuestions(tables.questions, test);
}

FichierResultats::FichierResultats(db::Database base) : base_(std::move(base)) {
    ouvrirTables();
}

void FichierResultats::ouvrirTables() {
    eleves_ = base_.OpenRecordset(kTableEleves);
    chapitres_ = base_.OpenRecordset(kTableChapitre);
    questions_ = base_.OpenRecordset(kTableQuestion);
}

bool FichierResultats::estQcm(int position) {
    questions_.setAbsolutePosition(position);
    return estVrai(questions_.Fields(champ::Qcm));
}

FichierResultats::~FichierResultats() {
    if (base_.isOpen()) {
        try {
            base_.Close();
        } catch (const Error&) {
            // Closing a file that was only read, or whose every write has returned, loses nothing.
        }
    }
}

FichierResultats FichierResultats::creer(const QString& chemin, const Test& test, const DonneesCandidat& candidat,
                                         bool examen, const QDate& aujourdhui) {
    FichierResultats fichier;
    // Outside the try: when the engine refuses to create the file (its name is taken), the file is not ours.
    fichier.base_ = db::CreateDatabase(chemin, LocaleNouveauxFichiers);
    try {
        // The tables and their records in one commit: one sync for the whole start. The records go in through
        // the file's own tables, which keep them: nothing is read back.
        db::Transaction transaction(fichier.base_);
        creerTablesResultats(fichier.base_);
        fichier.ouvrirTables();
        remplirTablesResultats({fichier.eleves_, fichier.chapitres_, fichier.questions_}, test, candidat, examen,
                               aujourdhui);
        // The pictures go with the questions, so that a resumed file and the viewer show them without the test.
        ecrireImages(fichier.base_, test.images);
        transaction.Commit();
    } catch (...) {
        supprimerFichierCree(fichier.base_, chemin);
        throw;
    }
    return fichier;
}

std::optional<FichierResultats> FichierResultats::ouvrir(const QString& chemin, db::OpenMode mode) {
    db::Database base = db::OpenDatabase(chemin, mode);
    if (!estResultats(base)) {
        return std::nullopt;
    }
    return FichierResultats(std::move(base));
}

ImagesTest FichierResultats::images() {
    return lireImagesSiLisibles(base_);
}

QString FichierResultats::chemin() const {
    return base_.path();
}

void FichierResultats::allerAuPremierEleve() {
    if (eleves_.RecordCount() == 0) {
        throw Error(errc::NoCurrentRecord,
                    QStringLiteral("Aucun enregistrement en cours: le fichier %1 n'a pas d'élève")
                        .arg(QFileInfo(chemin()).fileName()));
    }
    eleves_.setAbsolutePosition(0);
}

Eleve FichierResultats::eleve() {
    allerAuPremierEleve();
    Eleve e;
    e.nom = texteChamp(eleves_.Fields(QStringLiteral("nom")));
    e.prenom = texteChamp(eleves_.Fields(QStringLiteral("prenom")));
    e.classe = texteChamp(eleves_.Fields(QStringLiteral("classe")));
    e.test = texteChamp(eleves_.Fields(QStringLiteral("test")));
    e.date = texteChamp(eleves_.Fields(QStringLiteral("date")));
    e.examen = eleves_.Fields(QStringLiteral("examen"));
    e.temps = eleves_.Fields(QStringLiteral("temps"));
    e.tolerance = eleves_.Fields(QStringLiteral("tolerance"));
    return e;
}

std::vector<Chapitre> FichierResultats::chapitres() {
    std::vector<Chapitre> chapitres;
    if (chapitres_.RecordCount() == 0) {
        return chapitres;
    }
    chapitres.reserve(static_cast<std::size_t>(chapitres_.RecordCount()));
    const int nom = chapitres_.FieldIndex(QStringLiteral("nom"));
    const int numero = chapitres_.FieldIndex(QStringLiteral("numero"));
    for (chapitres_.MoveFirst(); !chapitres_.Eof(); chapitres_.MoveNext()) {
        chapitres.push_back({texteChamp(chapitres_.Fields(nom)), chapitres_.Fields(numero)});
    }
    return chapitres;
}

QuestionResultats FichierResultats::question(int position) {
    questions_.setAbsolutePosition(position);
    std::vector<QVariant> champs = questions_.GetRow();
    if (static_cast<int>(champs.size()) < champ::NbChampsQuestion) {
        questions_.Fields(champ::NbChampsQuestion - 1); // a field missing: the engine's own error
    }
    QuestionResultats q;
    for (std::size_t i = 0; i < NbNiveaux; ++i) {
        q.niveaux[i] = estVrai(champs[champ::B0 + i]);
    }
    for (std::size_t i = 0; i < NbReponsesMax; ++i) {
        q.reponses[i] = texteChamp(champs[champ::R1 + i]);
        q.attendues[i] = champs[champ::S1 + i];
        q.donnees[i] = entierChamp(champs[champ::RE1 + i]);
    }
    q.texte = texteChamp(champs[champ::Question]);
    q.nbReponses = entierChamp(champs[champ::NbreReponse]);
    q.qcm = estVrai(champs[champ::Qcm]);
    q.chapitre = std::move(champs[champ::Chapitre]);
    q.numero = std::move(champs[champ::Numero]);
    q.reussi = estVrai(champs[champ::Reussi]);
    return q;
}

std::vector<QuestionResultats> FichierResultats::bilan() {
    std::vector<QuestionResultats> questions;
    const int n = questions_.RecordCount();
    if (n > 0 && questions_.FieldCount() < champ::NbChampsQuestion) {
        questions_.setAbsolutePosition(0);
        questions_.Fields(champ::NbChampsQuestion - 1); // a field missing: the engine's own error
    }
    questions.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        questions_.setAbsolutePosition(i);
        QuestionResultats& q = questions[static_cast<std::size_t>(i)];
        for (std::size_t j = 0; j < NbNiveaux; ++j) {
            q.niveaux[j] = estVrai(questions_.Fields(champ::B0 + static_cast<int>(j)));
        }
        q.texte = texteChamp(questions_.Fields(champ::Question));
        q.chapitre = questions_.Fields(champ::Chapitre);
        q.reussi = estVrai(questions_.Fields(champ::Reussi));
    }
    return questions;
}

std::vector<QuestionResultats> FichierResultats::questions() {
    std::vector<QuestionResultats> questions;
    const int n = questions_.RecordCount();
    questions.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        questions.push_back(question(i));
    }
    return questions;
}

std::vector<QVariant> FichierResultats::numeros() {
    std::vector<QVariant> numeros;
    const int n = questions_.RecordCount();
    numeros.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        questions_.setAbsolutePosition(i);
        numeros.push_back(questions_.Fields(champ::Numero));
    }
    return numeros;
}

bool FichierResultats::noterReponse(int position, const std::array<std::int16_t, NbReponsesMax>& reponses) {
    questions_.setAbsolutePosition(position);
    db::EditScope edition(questions_);
    std::array<QVariant, NbReponsesMax> attendues;
    for (std::size_t i = 0; i < reponses.size(); ++i) {
        const int decalage = static_cast<int>(i);
        edition.SetField(champ::RE1 + decalage, QVariant::fromValue<qint16>(reponses[i]));
        attendues[i] = edition.Fields(champ::S1 + decalage);
    }
    const bool juste = estJuste(attendues, reponses);
    edition.SetField(champ::Reussi, juste);
    edition.Update();
    return juste;
}

void FichierResultats::tamponnerDate(const QDate& aujourdhui) {
    allerAuPremierEleve();
    db::EditScope edition(eleves_);
    edition.SetField(QStringLiteral("date"), services::shortDate(aujourdhui));
    edition.Update();
}

} // namespace kelvane::data
