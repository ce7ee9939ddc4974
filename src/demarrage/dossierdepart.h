#pragma once

#include <QString>
#include <QStringList>

namespace kelvane::services {
class MessageService;
}

namespace kelvane::demarrage {

// Where a program of Kelvane starts. Both programs take their application folder by the same rule, the first that
// applies of:
//   1. the folder given on the command line (`kelvane DOSSIER`, relative to the current folder);
//   2. the current folder, when it holds habilitation.mdb (a folder prepared and entered by hand or by a script);
//   3. the class folder named by the school's file (platform::schoolSettingFile(): its first line that is neither
//      blank nor a comment starting with #, spaces trimmed);
//   4. the folder Kelvane of the user's home (Documents on Windows), made from the demo folder when it does not
//      exist yet.
// The folder so chosen must exist and be readable, or its user gets a message naming it and what to do. The student
// program also needs its habilitation.mdb; the workbench opens a folder without one (it prepares tests there).

// Everything the choice looks at, read from the machine by `environnementSysteme` or set by a test.
struct Environnement {
    QStringList arguments; // the command line after the program's name
    QString dossierCourant;
    QString fichierEcole; // the school's file naming the class folder
    QString maison;       // where the user's Kelvane folder is made: the home, Documents on Windows
    QString demo;         // the demo folder, empty when none was found
};

enum class Programme { Eleve, Atelier };

// Where the folder came from: the advice of a message depends on it.
enum class Origine { Argument, DossierCourant, FichierEcole, Maison };

struct Depart {
    QString dossier; // the absolute path of the folder, also named when it cannot be used; empty for a wrong command
    Origine origine = Origine::Argument;
    bool cree = false; // the home's Kelvane folder made from the demo by this start
    QString erreur;    // the French message when no folder can be used, empty otherwise
    bool reussi() const { return erreur.isEmpty(); }
};

// The folder a program starts in, by the rule above; makes the home's Kelvane folder when the rule reaches it and it
// does not exist. Never writes anywhere else.
Depart dossierDeDepart(const Environnement& environnement, Programme programme);

// The name of the folder made in the user's home.
QString nomDossierMaison();

// The machine's environment: the school's file is KELVANE_FICHIER_ECOLE when set, else platform::schoolSettingFile();
// the demo folder is KELVANE_DEMO when set, else the first of platform::demoFolderCandidates that holds
// habilitation.mdb.
Environnement environnementSysteme(const QStringList& arguments);

// Chooses the folder a program starts in, in the machine's environment, and makes it the current folder. When no
// folder can be used, says why through `messages` and returns the empty text: the program then ends with a non-zero
// status.
QString entrer(Programme programme, const QStringList& arguments, services::MessageService& messages);

// True when KELVANE_SANS_FENETRE asks for the start's messages on the standard error rather than in boxes (a run
// with no one to click them).
bool sansFenetre();

} // namespace kelvane::demarrage
