#include "session/session.h"

#include "data/correction.h"
#include "data/reglesfichiers.h"
#include "data/valeurs.h"
#include "platform/error.h"
#include "platform/services/clock.h"
#include "platform/services/files.h"
#include "session/ordre.h"

#include <QFileInfo>
#include <algorithm>

namespace kelvane::session {

namespace {
// How many taken names the start steps over when other sessions create files in the same folder meanwhile.
constexpr int kEssaisNom = 1000;

QString libelle(const QString& prenom, const QString& nom, const QString& classe) {
    return prenom + QLatin1Char(' ') + nom.toUpper() + QLatin1Char(' ') + classe;
}
} // namespace

Session::Session(const ModeTest& mode, services::FileService& fichiers, services::ClockService& horloge,
                 services::RandomService& aleatoire)
    : mode_(mode), fichiers_(fichiers), horloge_(horloge), aleatoire_(aleatoire) {}

QString Session::nomFichier() const {
    return QFileInfo(chemin_).fileName();
}

QString Session::libelleTest() const {
    return nomTest_ + modeTest(examen_).libelleMode;
}

void Session::demarrer(const data::Test& test, const Candidat& candidat, const QString& dossier) {
    const data::ParametresTest parametres = data::parametresTest(test);
    const QDate aujourdhui = horloge_.today();
    const QString nom = data::nomFichierResultats(candidat.prenom, candidat.nom, test.nom, mode_.separateurNom,
                                                  services::shortDate(aujourdhui));
    const data::DonneesCandidat donnees{candidat.nom, candidat.prenom, candidat.classe, test.nom};

    std::optional<data::FichierResultats> fichier;
    QString pris; // a name found taken at creation, by another session writing to the same folder
    for (int essai = 0; essai < kEssaisNom && !fichier; ++essai) {
        const QString libre = data::premierNomLibre(
            nom, [&](const QString& n) { return n == pris || fichiers_.fileExists(services::joinPath(dossier, n)); });
        chemin_ = services::joinPath(dossier, libre);
        try {
            fichier = data::FichierResultats::creer(chemin_, test, donnees, mode_.examen, aujourdhui);
        } catch (const Error& e) {
            if (e.number() != errc::DatabaseExists) {
                throw;
            }
            pris = libre;
        }
    }
    if (!fichier) {
        throw Error(errc::DatabaseExists,
                    QStringLiteral("La base de données existe déjà: aucun nom libre pour %1").arg(nom));
    }

    fichier_ = std::move(fichier);
    nomTest_ = test.nom;
    examen_ = mode_.examen;
    tempsAutorise_ = parametres.temps;
    tolerance_ = parametres.tolerance;
    libelleCandidat_ = libelle(candidat.prenom, candidat.nom, candidat.classe);
    nbQuestions_ = fichier_->nbQuestions();
    ordreATirer_ = mode_.tirage;
    if (!ordreATirer_) {
        ordreConserve_ = ordreParNumero(fichier_->numeros(), nbQuestions_, std::move(ordreConserve_));
    }
    commencer(test.images); // the file was just given the test's pictures: no need to read them back
}

void Session::tirerOrdreEvaluation() {
    if (!ordreATirer_) {
        return;
    }
    const std::vector<int> tirage = tirerOrdre(nbQuestions_, facteurSecondes(horloge_.second()), aleatoire_);
    if (ordreConserve_.size() < tirage.size()) {
        ordreConserve_.resize(tirage.size(), 0);
    }
    std::copy(tirage.begin(), tirage.end(), ordreConserve_.begin());
    ordreATirer_ = false;
}

bool Session::rouvrir(const QString& chemin) {
    std::optional<data::FichierResultats> fichier = data::FichierResultats::ouvrir(chemin);
    if (!fichier) {
        return false;
    }
    const data::Eleve eleve = fichier->eleve();
    if (fichier->nbQuestions() == 0 || fichier->nbChampsQuestion() < data::champ::NbChampsQuestion) {
        throw Error(errc::UnrecognizedFormat,
                    QStringLiteral("Le fichier de résultats %1 est endommagé: ses questions sont illisibles")
                        .arg(QFileInfo(chemin).fileName()));
    }
    fichier_ = std::move(fichier);
    chemin_ = chemin;
    examen_ = eleve.examen.toBool();
    tempsAutorise_ = static_cast<std::int16_t>(eleve.temps.toInt());
    tolerance_ = static_cast<std::int16_t>(eleve.tolerance.toInt());
    nomTest_ = eleve.test;
    libelleCandidat_ = libelle(eleve.prenom, eleve.nom, eleve.classe);
    nbQuestions_ = fichier_->nbQuestions();
    ordreATirer_ = false;
    ordreConserve_ = ordreParNumero(fichier_->numeros(), nbQuestions_, std::move(ordreConserve_));
    commencer(fichier_->images());
    return true;
}

int Session::positionCourante() const {
    const auto place = static_cast<std::size_t>(place_);
    if (!fichier_ || ordreATirer_ || place >= ordreConserve_.size() || place_ >= nbQuestions_) {
        throw Error(errc::NoCurrentRecord,
                    QStringLiteral("Aucun enregistrement en cours: pas de question à la place %1").arg(place_ + 1));
    }
    return ordreConserve_[place];
}

void Session::commencer(data::ImagesTest images) {
    chapitres_ = fichier_->chapitres();
    images_ = std::move(images);
    place_ = 0;
    termine_ = false;
    tempsRestant_ = tempsAutorise_;
}

QuestionAffichee Session::question() {
    const data::QuestionResultats q = fichier_->question(positionCourante());
    QuestionAffichee affichee;
    affichee.numero = place_ + 1;
    affichee.texte = q.texte;
    affichee.qcm = q.qcm;
    affichee.nbReponses = q.nbReponses;
    affichee.reponses = q.reponses;
    bool numeroLu = false;
    const int numero = q.numero.toInt(&numeroLu);
    if (const auto it = images_.find(numero); numeroLu && it != images_.end()) {
        affichee.images = it->second;
    }
    affichee.donnees = q.donnees;
    if (!q.chapitre.isNull()) {
        // The last chapter that carries the number names it, as a walk of the whole table finds it.
        for (const data::Chapitre& chapitre : chapitres_) {
            if (!chapitre.numero.isNull() && chapitre.numero.toInt() == q.chapitre.toInt()) {
                affichee.chapitre = chapitre.nom;
            }
        }
    }
    return affichee;
}

bool Session::enregistrer(const Reponse& reponse) {
    const int position = positionCourante();
    const bool qcm = fichier_->estQcm(position);
    // Every value is formed before the record is touched, so that a rank refused as out of range leaves the
    // record as it was and the session can go on.
    std::array<std::int16_t, data::NbReponsesMax> valeurs{};
    for (std::size_t i = 0; i < valeurs.size(); ++i) {
        valeurs[i] = qcm ? static_cast<std::int16_t>(reponse.cases[i] ? 1 : 0) : data::valeurCombo(reponse.rangs[i]);
    }
    return fichier_->noterReponse(position, valeurs);
}

void Session::avancer() {
    if (place_ < nbQuestions_ - 1) {
        ++place_;
    }
}

void Session::reculer() {
    if (place_ > 0) {
        --place_;
    }
}

void Session::allerA(int place) {
    place_ = std::clamp(place, 0, std::max(0, nbQuestions_ - 1));
    termine_ = false;
}

Seconde Session::decompter() {
    tempsRestant_ -= 1;
    const int minutes = tempsRestant_ / 60;
    const int secondes = tempsRestant_ - minutes * 60;
    return {QString::number(minutes) + QStringLiteral(" mn ") + QString::number(secondes) + QStringLiteral(" s"),
            tempsRestant_ <= 0};
}

void Session::tamponnerDate() {
    fichier_->tamponnerDate(horloge_.today());
}

results::TextesResultats Session::resultats(const results::Verdicts& mots) {
    const results::Seance seance{nomTest_, modeTest(examen_).libelleMode, tolerance_, nbQuestions_, ordreConserve_};
    const results::TextesResultats textes =
        results::calculerResultats(fichier_->eleve(), fichier_->bilan(), fichier_->chapitres(), seance, mots);
    nbBonnes_ = textes.nbBonnes;
    return textes;
}

results::Rapport Session::rapport() {
    return results::lireRapport(fichier_->eleve(), fichier_->bilan(), nomTest_, nbBonnes_, tolerance_,
                                horloge_.today());
}

} // namespace kelvane::session
