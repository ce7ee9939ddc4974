#pragma once

#include "data/controletest.h"
#include "data/test.h"
#include "edition/empreinte.h"
#include "edition/question.h"

#include <QHash>
#include <QObject>
#include <QUndoStack>
#include <functional>
#include <optional>
#include <vector>

namespace kelvane::edition {

class CommandeQuestion;
class CommandeListe;
class CommandeChapitres;
class CommandeParametres;
class CommandeImage;

// The test under edit as values, its file and its undo stack. Every change is one command on the stack, and
// nothing is pushed when a change changes nothing. The table shows the questions by number (ordre()), whatever the
// order the file stores them in; a change of the order (add, duplicate, delete, move) acts in the table's order,
// leaves the other records where they are stored, and gives the numbers again, 1 to N, in the table's order.
class TestEdite : public QObject {
    Q_OBJECT
public:
    explicit TestEdite(QObject* parent = nullptr);
    ~TestEdite() override;

    // Reads the test file; the message naming the file when it cannot be read as a test. The stack is emptied.
    std::optional<QString> ouvrir(const QString& chemin);
    // A new test for chemin: ten minutes, 70 %, one chapter, no question.
    void nouveau(const QString& chemin);
    // Replaces the test under edit, as if read from chemin (nothing is read). The stack is emptied.
    void charger(data::Test test, const QString& chemin);

    const QString& chemin() const { return chemin_; }
    const data::Test& test() const { return test_; }
    QUndoStack* pile() { return &pile_; }
    bool estModifie() const { return !pile_.isClean(); }

    int nbQuestions() const { return static_cast<int>(test_.questions.size()); }
    bool estQuestion(int i) const { return i >= 0 && i < nbQuestions(); }
    bool estChapitre(int i) const { return i >= 0 && i < static_cast<int>(test_.chapitres.size()); }
    const QuestionTest& question(int i) const { return test_.questions[static_cast<std::size_t>(i)]; }
    // The questions' stored places in the table's order: by number (a missing one reads 0), then by stored place;
    // the order a candidate meets them in training.
    std::vector<int> ordre() const;
    // Where question i stands in the table's order; -1 for no question.
    int placeAuTableau(int i) const;
    // The pictures of question i (none for a place out of range).
    const data::ImagesQuestion& images(int i) const {
        static const data::ImagesQuestion aucune;
        return estQuestion(i) ? images_[static_cast<std::size_t>(i)] : aucune;
    }
    // The test as it is written: its pictures filed by the questions' numbers.
    data::Test testAEcrire() const;
    // The chapter's name as the candidate sees it: the last chapter carrying the number.
    std::optional<QString> nomChapitre(int numero) const;
    int tempsTest() const;
    int tolerance() const;
    // The test's problems, then those of its pictures in the questions' stored order: a picture the file cannot hold
    // (data::refusImage), one the reader given to lireImagesAvec() refuses, one whose answer is gone.
    std::vector<data::Probleme> problemes() const;
    // How a picture's bytes are checked for being shown: the reason it cannot be, or the empty text. Each picture
    // is checked once while it stays in the test.
    void lireImagesAvec(std::function<QString(const QByteArray&)> lecture) { lecture_ = std::move(lecture); }

    // The file on disk no longer holds what was read or last written (a colleague saved it meanwhile).
    bool modifieSurDisque() const;
    // Writes the test under a temporary name renamed over the file, whatever is on disk; marks the stack clean.
    // Throws kelvane::Error when the writing fails; the file is then left as it was.
    void enregistrer();

    // ---- Changes: each is one undo step. A place out of range changes nothing.
    void changerTemps(int secondes);
    void changerTolerance(int pourcent);

    int ajouterChapitre(); // the next free number, named "Chapitre n"; returns its place
    void renommerChapitre(int indice, const QString& nom);
    // The chapter's questions follow it to its new number. Refused, with the reason, when the number is taken.
    std::optional<QString> renumeroterChapitre(int indice, int numero);
    // Refused, with the reason, while a question is in the chapter.
    std::optional<QString> supprimerChapitre(int indice);

    // A new question after `apres` in the table (at its end for -1), stored right after it, in the chapter and the
    // levels of the one it follows; returns its place. A copy goes the same way.
    int ajouterQuestion(int apres = -1);
    int dupliquerQuestion(int indice);
    void supprimerQuestion(int indice);
    // Trades places with the question before it in the table (sens -1) or after it (+1); returns the question's
    // new place.
    int deplacerQuestion(int indice, int sens);
    // Numbers 1 to N in the records' stored order, when they are not.
    void renumeroter();
    // Numbers 1 to N in the table's order, when they are not: the gaps and repeats of a converted test closed, its
    // order kept.
    void renumeroterSelonLeTableau();

    // Replaces a question's fields. Consecutive changes with the same non-zero `saisie` (the text: 1, answer j:
    // 2 + j) to the same question merge into one undo step, until terminerSaisie().
    void modifierQuestion(int indice, const QuestionTest& nouvelle, int saisie = 0);
    void terminerSaisie() { ++saisie_; }

    // Puts a picture at a place of question `indice` (0: its text, 1 to 5: an answer), or removes the one there for
    // nullopt. Nothing is pushed when it changes nothing.
    void changerImage(int indice, int place, std::optional<data::Image> image);

signals:
    void parametresChanges();
    void chapitresChanges();
    void questionsChangees();         // questions added, removed or moved: every row again
    void questionChangee(int i);      // one question's fields
    void questionSelectionnee(int i); // undo or redo went back to a change of this question

private:
    friend class CommandeQuestion;
    friend class CommandeListe;
    friend class CommandeChapitres;
    friend class CommandeParametres;
    friend class CommandeImage;

    void poserQuestion(int i, const QuestionTest& q);
    void poserNumeros(const std::vector<QVariant>& numeros);
    std::vector<QVariant> numeros() const;
    bool numerosSuiventOrdre() const;
    bool numerosSuiventLeTableau() const;

    QString chemin_;
    data::Test test_;                          // its images stay empty: images_ holds them
    std::vector<data::ImagesQuestion> images_; // the pictures of each question, record for record
    Empreinte empreinte_;
    QUndoStack pile_;
    int saisie_ = 0;
    std::function<QString(const QByteArray&)> lecture_;
    mutable QHash<QByteArray, QString> lectures_; // the reader's answers for the pictures of the last check
};

} // namespace kelvane::edition
