#include "edition/commandes.h"

#include "data/format.h"
#include "edition/testedite.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace kelvane::edition {

namespace {
constexpr int kIdSaisie = 1;

std::size_t pos(int i) {
    return static_cast<std::size_t>(i);
}
} // namespace

// ---- CommandeQuestion

CommandeQuestion::CommandeQuestion(TestEdite& test, int indice, QuestionTest avant, QuestionTest apres, int saisie,
                                   int session)
    : QUndoCommand(QStringLiteral("Modifier la question %1").arg(indice + 1)), test_(test), indice_(indice),
      avant_(std::move(avant)), apres_(std::move(apres)), saisie_(saisie), session_(session) {}

void CommandeQuestion::redo() {
    test_.poserQuestion(indice_, apres_);
    if (!std::exchange(premier_, false)) {
        emit test_.questionSelectionnee(indice_);
    }
}

void CommandeQuestion::undo() {
    test_.poserQuestion(indice_, avant_);
    emit test_.questionSelectionnee(indice_);
}

int CommandeQuestion::id() const {
    return saisie_ != 0 ? kIdSaisie : -1;
}

bool CommandeQuestion::mergeWith(const QUndoCommand* autre) {
    const auto* suite = static_cast<const CommandeQuestion*>(autre);
    if (suite->indice_ != indice_ || suite->saisie_ != saisie_ || suite->session_ != session_) {
        return false;
    }
    apres_ = suite->apres_;
    setObsolete(memeQuestion(avant_, apres_)); // typed and erased again: no step at all
    return true;
}

// ---- CommandeListe

namespace {
QString texteListe(CommandeListe::Genre genre, int indice) {
    switch (genre) {
    case CommandeListe::Genre::Insertion:
        return QStringLiteral("Ajouter la question %1").arg(indice + 1);
    case CommandeListe::Genre::Suppression:
        return QStringLiteral("Supprimer la question %1").arg(indice + 1);
    case CommandeListe::Genre::Deplacement:
        return QStringLiteral("Déplacer la question %1").arg(indice + 1);
    case CommandeListe::Genre::Renumerotation:
    case CommandeListe::Genre::RenumerotationTableau:
        break;
    }
    return QStringLiteral("Renuméroter les questions");
}
} // namespace

CommandeListe::CommandeListe(TestEdite& test, Genre genre, int indice, int cible, QuestionTest question,
                             data::ImagesQuestion images)
    : QUndoCommand(texteListe(genre, indice)), test_(test), genre_(genre), indice_(indice), cible_(cible),
      question_(std::move(question)), images_(std::move(images)) {}

void CommandeListe::redo() {
    auto& questions = test_.test_.questions;
    auto& images = test_.images_; // follows the questions record for record
    if (std::exchange(premier_, false)) {
        numerosAvant_ = test_.numeros();
    }
    // The table's order, kept through the change as stored places.
    std::vector<int> ordre = test_.ordre();
    int selection = indice_;
    switch (genre_) {
    case Genre::Insertion: {
        questions.insert(questions.begin() + indice_, question_);
        images.insert(images.begin() + indice_, images_);
        // Stored right after the question it follows in the table.
        for (int& place : ordre) {
            place += place >= indice_ ? 1 : 0;
        }
        const auto apres = std::find(ordre.begin(), ordre.end(), indice_ - 1);
        ordre.insert(apres == ordre.end() ? ordre.begin() : apres + 1, indice_);
        break;
    }
    case Genre::Suppression: {
        question_ = questions[pos(indice_)];
        questions.erase(questions.begin() + indice_);
        images_ = images[pos(indice_)];
        images.erase(images.begin() + indice_);
        const auto rang = std::find(ordre.begin(), ordre.end(), indice_) - ordre.begin();
        ordre.erase(ordre.begin() + rang);
        for (int& place : ordre) {
            place -= place > indice_ ? 1 : 0;
        }
        // The question that followed in the table, or the last one.
        selection = ordre.empty() ? -1 : ordre[std::min(pos(static_cast<int>(rang)), ordre.size() - 1)];
        break;
    }
    case Genre::Deplacement:
        // The two records trade their stored places, so the table's order of places now reads them swapped.
        std::swap(questions[pos(indice_)], questions[pos(cible_)]);
        std::swap(images[pos(indice_)], images[pos(cible_)]);
        selection = cible_;
        break;
    case Genre::Renumerotation:
        std::iota(ordre.begin(), ordre.end(), 0);
        break;
    case Genre::RenumerotationTableau:
        break;
    }
    for (std::size_t k = 0; k < ordre.size(); ++k) {
        questions[pos(ordre[k])][data::champ::Numero] = static_cast<int>(k) + 1;
    }
    emit test_.questionsChangees();
    emit test_.questionSelectionnee(selection);
}

void CommandeListe::undo() {
    auto& questions = test_.test_.questions;
    auto& images = test_.images_;
    switch (genre_) {
    case Genre::Insertion:
        questions.erase(questions.begin() + indice_);
        images.erase(images.begin() + indice_);
        break;
    case Genre::Suppression:
        questions.insert(questions.begin() + indice_, question_);
        images.insert(images.begin() + indice_, images_);
        break;
    case Genre::Deplacement:
        std::swap(questions[pos(indice_)], questions[pos(cible_)]);
        std::swap(images[pos(indice_)], images[pos(cible_)]);
        break;
    case Genre::Renumerotation:
    case Genre::RenumerotationTableau:
        break;
    }
    test_.poserNumeros(numerosAvant_);
    emit test_.questionsChangees();
    emit test_.questionSelectionnee(std::min(indice_, static_cast<int>(questions.size()) - 1));
}

// ---- CommandeImage

namespace {
QString texteImage(int indice, int place, bool avant, bool apres) {
    const QString ou = place == 0 ? QStringLiteral("de la question %1").arg(indice + 1)
                                  : QStringLiteral("de la réponse %1 de la question %2").arg(place).arg(indice + 1);
    if (!avant) {
        return QStringLiteral("Ajouter l'image ") + ou;
    }
    return (apres ? QStringLiteral("Remplacer l'image ") : QStringLiteral("Retirer l'image ")) + ou;
}
} // namespace

CommandeImage::CommandeImage(TestEdite& test, int indice, int place, std::optional<data::Image> apres)
    : QUndoCommand(texteImage(indice, place, test.images(indice).place(place).has_value(), apres.has_value())),
      test_(test), indice_(indice), place_(place), avant_(test.images(indice).place(place)), apres_(std::move(apres)) {}

void CommandeImage::poser(const std::optional<data::Image>& image) {
    test_.images_[pos(indice_)].place(place_) = image;
    emit test_.questionChangee(indice_);
}

void CommandeImage::redo() {
    poser(apres_);
    if (!std::exchange(premier_, false)) {
        emit test_.questionSelectionnee(indice_);
    }
}

void CommandeImage::undo() {
    poser(avant_);
    emit test_.questionSelectionnee(indice_);
}

// ---- CommandeChapitres

CommandeChapitres::CommandeChapitres(TestEdite& test, std::vector<data::Test::Chapitre> apres, const QString& texte,
                                     std::vector<int> questions, int nouveauNumero)
    : QUndoCommand(texte), test_(test), avant_(test.test().chapitres), apres_(std::move(apres)),
      questions_(std::move(questions)), nouveauNumero_(nouveauNumero) {
    for (int i : questions_) {
        chapitresAvant_.push_back(test.question(i)[data::champ::Chapitre]);
    }
}

void CommandeChapitres::redo() {
    test_.test_.chapitres = apres_;
    for (int i : questions_) {
        test_.test_.questions[pos(i)][data::champ::Chapitre] = nouveauNumero_;
    }
    emit test_.chapitresChanges();
    for (int i : questions_) {
        emit test_.questionChangee(i);
    }
}

void CommandeChapitres::undo() {
    test_.test_.chapitres = avant_;
    for (std::size_t k = 0; k < questions_.size(); ++k) {
        test_.test_.questions[pos(questions_[k])][data::champ::Chapitre] = chapitresAvant_[k];
    }
    emit test_.chapitresChanges();
    for (int i : questions_) {
        emit test_.questionChangee(i);
    }
}

// ---- CommandeParametres

CommandeParametres::CommandeParametres(TestEdite& test, Champ champ, QVariant apres, int session)
    : QUndoCommand(champ == Temps ? QStringLiteral("Modifier le temps du test")
                                  : QStringLiteral("Modifier la tolérance")),
      test_(test), champ_(champ), avant_(champ == Temps ? test.test().temps : test.test().tolerance),
      apres_(std::move(apres)), session_(session) {}

void CommandeParametres::poser(const QVariant& valeur) {
    (champ_ == Temps ? test_.test_.temps : test_.test_.tolerance) = valeur;
    emit test_.parametresChanges();
}

void CommandeParametres::redo() {
    poser(apres_);
}

void CommandeParametres::undo() {
    poser(avant_);
}

bool CommandeParametres::mergeWith(const QUndoCommand* autre) {
    const auto* suite = static_cast<const CommandeParametres*>(autre);
    if (suite->champ_ != champ_ || suite->session_ != session_) {
        return false;
    }
    apres_ = suite->apres_;
    setObsolete(avant_ == apres_);
    return true;
}

} // namespace kelvane::edition
