#pragma once

#include "platform/db/database.h"
#include "platform/db/recordset.h"

#include <QString>

// The globals shared by every form: the folders, the chosen files and the open databases with their tables.
namespace Commun {

extern QString RepertoireAppli;   // the folder the program started in; holds habilitation.mdb and Images
extern QString RepertoireInitial; // where the drive and folder lists of the forms start
extern QString LecteurCourant;    // the drive of the working folder
extern QString FichierTest;       // the chosen test file's name with ".mdb", no folder
extern QString FichierEleve;      // the results file's name

extern kelvane::db::Database BaseTest;
extern kelvane::db::Recordset RsTest;     // table test
extern kelvane::db::Recordset RsChapitre; // table chapitre
extern kelvane::db::Recordset RsNumero;   // table numero

extern kelvane::db::Database BaseEleve;
extern kelvane::db::Recordset RsQuestion;      // table question
extern kelvane::db::Recordset RsChapitreEleve; // table chapitre
extern kelvane::db::Recordset RsEleves;        // table eleves

extern kelvane::db::Database BaseHabilitation;
extern kelvane::db::Recordset RsHabilitation; // table habilitation

// Closes the test database and forgets its tables.
void fermerBaseTest();
// Closes the results database and forgets its tables.
void fermerBaseEleve();
// Everything back to the state of a fresh start (the tests run many starts in one process).
void reinitialiser();

} // namespace Commun
