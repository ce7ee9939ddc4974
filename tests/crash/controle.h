#pragma once

// The parent's side of the crash and concurrency checks: starting the child, reading its journal, killing it,
// and judging the folder it leaves through the program's own listing forms and engine layer.

#include "scenario.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <sys/types.h>

namespace controle {

// The child program, built beside the test program.
QString cheminEnfant();

// A child started with pipes on its standard input and output and its errors in a file. The destructor kills and
// reaps it if it is still there.
class Enfant {
public:
    Enfant(const QStringList& arguments, const QString& fichierErreurs);
    ~Enfant();
    Enfant(const Enfant&) = delete;
    Enfant& operator=(const Enfant&) = delete;

    // The next whole line of its output, or nothing once the output has ended.
    std::optional<QString> ligne();
    // Lines into the journal until PRET, or the end of the output; false when it never got ready.
    bool attendrePret(scenario::Journal& journal);
    // The rest of its output into the journal.
    void lireTout(scenario::Journal& journal);
    void envoyer(char octet);
    void tuer();
    // Reaps it; the status as waitpid gives it.
    int attendre();

private:
    pid_t pid_ = -1;
    int sortie_ = -1;
    int entree_ = -1;
    QByteArray tampon_;
    bool reaped_ = false;
};

// "exit 0", "signal 9"... for messages.
QString etat(int statut);

// The program's own lists of a folder: the viewer's results files, the training form's begun tests and its tests.
struct Listes {
    QStringList resultats;
    QStringList commences;
    QStringList tests;
};
Listes listes(const QString& dossier);

// PRAGMA integrity_check's first line, through the bare SQLite library.
QString integrite(const QString& chemin);

// What is wrong with a results file against the test it was made from and the child's journal: the eleves and
// chapitre records as the start writes them, every question's first 21 fields as the test has them, the answers
// the journal says returned with their values and marks, the one answer under way either whole or absent, and
// every other question untouched. Empty when the file is sound.
QStringList defautsResultats(const QString& chemin, const QString& cheminTest, bool examen,
                             const scenario::Journal& journal);

} // namespace controle
