#pragma once

#include "data/test.h"
#include "edition/question.h"

#include <QUndoCommand>
#include <optional>
#include <vector>

namespace kelvane::edition {

class TestEdite;

// The undo steps of TestEdite, each the smallest record of its change. The first redo() is the change itself.

// One question's fields, before and after. Typing in one field merges into one step.
class CommandeQuestion : public QUndoCommand {
public:
    CommandeQuestion(TestEdite& test, int indice, QuestionTest avant, QuestionTest apres, int saisie, int session);
    void redo() override;
    void undo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand* autre) override;

private:
    TestEdite& test_;
    int indice_;
    QuestionTest avant_;
    QuestionTest apres_;
    int saisie_;
    int session_;
    bool premier_ = true;
};

// A change of the questions' order or count, made in the table's order; the numbers are given again after it (in
// the table's order, or in the stored order for Renumerotation) and restored by its undo.
class CommandeListe : public QUndoCommand {
public:
    enum class Genre { Insertion, Suppression, Deplacement, Renumerotation, RenumerotationTableau };
    CommandeListe(TestEdite& test, Genre genre, int indice, int cible = -1, QuestionTest question = {},
                  data::ImagesQuestion images = {});
    void redo() override;
    void undo() override;

private:
    TestEdite& test_;
    Genre genre_;
    int indice_;
    int cible_;
    QuestionTest question_;
    data::ImagesQuestion images_; // the pictures of the question inserted or removed
    std::vector<QVariant> numerosAvant_;
    bool premier_ = true;
};

// One picture of one question (place 0: the question's, 1 to 5: its answers'), before and after: added, replaced
// or removed.
class CommandeImage : public QUndoCommand {
public:
    CommandeImage(TestEdite& test, int indice, int place, std::optional<data::Image> apres);
    void redo() override;
    void undo() override;

private:
    void poser(const std::optional<data::Image>& image);

    TestEdite& test_;
    int indice_;
    int place_;
    std::optional<data::Image> avant_;
    std::optional<data::Image> apres_;
    bool premier_ = true;
};

// The chapters before and after, and the questions that follow a renumbered chapter.
class CommandeChapitres : public QUndoCommand {
public:
    CommandeChapitres(TestEdite& test, std::vector<data::Test::Chapitre> apres, const QString& texte,
                      std::vector<int> questions = {}, int nouveauNumero = 0);
    void redo() override;
    void undo() override;

private:
    TestEdite& test_;
    std::vector<data::Test::Chapitre> avant_;
    std::vector<data::Test::Chapitre> apres_;
    std::vector<int> questions_;
    std::vector<QVariant> chapitresAvant_;
    int nouveauNumero_;
};

// The time allowed or the pass mark; the steps of one spin box merge.
class CommandeParametres : public QUndoCommand {
public:
    enum Champ { Temps = 1, Tolerance = 2 };
    CommandeParametres(TestEdite& test, Champ champ, QVariant apres, int session);
    void redo() override;
    void undo() override;
    int id() const override { return 2; }
    bool mergeWith(const QUndoCommand* autre) override;

private:
    void poser(const QVariant& valeur);

    TestEdite& test_;
    Champ champ_;
    QVariant avant_;
    QVariant apres_;
    int session_;
};

} // namespace kelvane::edition
