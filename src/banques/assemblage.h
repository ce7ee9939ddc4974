#pragma once

#include "banques/banque.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

namespace kelvane::banques {

// A question as a bank's reader hands it over: its texts already plain, its pictures found, before the checks that
// every question kept passes.
struct QuestionLue {
    int ligne = 0;
    QString titre;
    QString texte;
    bool qcm = true;
    std::vector<source::Answer> reponses; // any number: more than five is refused here
    QStringList etiquettes;               // those named like a level set the levels; none of them: all five
    ImagesQuestion images;
    QStringList problemes; // what the reader found wrong, such as a picture the bank names but does not hold
};

// Makes the test out of a bank's questions, in the bank's order. Categories become chapters, numbered in the order
// met; a category that keeps no question is dropped when it is the top of a course, the parent of another one or
// when all its questions were left out, so that only a category left empty on purpose stays an empty chapter.
// Questions before any category go into a chapter named chapitreParDefaut. Each question passes the checks of a
// test (data::controlerTest) or is left out with its problems as the reason.
class Assembleur {
public:
    explicit Assembleur(QString chapitreParDefaut);

    // Questions from now on go into the category at this Moodle path ("$course$/top/Sécurité", "//" standing for a
    // "/" of a name) or plain name; the chapter's name is its last part.
    void categorie(const QString& chemin, int ligne);
    void ajouter(QuestionLue question);
    void ecarter(int ligne, const QString& titre, const QString& texte, const QString& raison);
    ResultatImport terminer();

private:
    struct Categorie {
        QString cle; // the path's parts after the course's top, joined by an unprintable separator
        QString nom;
        int ligne = 0;
        int gardees = 0;
        int vues = 0;
        bool parDefaut = false;
    };

    std::optional<QString> raisonRefus(const QuestionLue& question) const;
    int categorieCourante();

    QString chapitreParDefaut_;
    std::vector<Categorie> categories_;
    QHash<QString, int> parCle_; // the categories read from the bank, by key
    int courante_ = -1;
    ResultatImport resultat_;
};

// Places an ordering question's answers, given in their right order with their pictures, where the test shows
// them, each keeping its rank: at the positions the bank gives (1..n, each once, the first answer's first) unless
// they are the right order itself, or else in an order drawn from their texts, the same on every import, that is
// never the right one, since the candidate sees the answers in the test's order.
void placerReponsesOrdre(QuestionLue& question, const std::vector<int>& positions = {});

// What the report names a question by: its title, or the start of its text.
QString titreCourt(const QString& titre, const QString& texte);

} // namespace kelvane::banques
