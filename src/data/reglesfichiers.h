#pragma once

#include "data/test.h"
#include "platform/db/database.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace kelvane::data {

// How a test file and a results file are told apart: by the name at a fixed place of the engine's table listing
// (counted from 1, the engine's own tables included, in name order without regard to case). A test holds
// chapitre, numero and test, which puts "test" seventh; a results file holds chapitre, eleves and question, which
// puts "eleves" second. A test with one more table of its own sorting before "test" is therefore not a test.
bool estListeTest(const QStringList& tables);
bool estListeResultats(const QStringList& tables);

bool estTest(db::Database& base);
bool estResultats(db::Database& base);

enum class GenreFichier {
    NonLisible, // the engine could not open or read it: passed over
    Test,
    Resultats,
    Autre, // a database, but neither a test nor a results file
};

struct SondageFichier {
    GenreFichier genre = GenreFichier::NonLisible;
    bool examen = false; // Resultats only: the session was an evaluation
};

// What a folder scan needs to know of one ".mdb" file, opened read-only (only a journal left by a killed writer is
// played back first, as any open does). A test is listable when its table numero opens; a results file when its
// table eleves has a first record whose examen can be read.
// Whatever the engine refuses (not a database, locked, damaged, a table missing) makes the file NonLisible:
// one bad file in a folder must not end the program.
SondageFichier sonderFichier(const QString& chemin);

// A test the workbench may list, copy or delete: a file that sonderFichier finds a test, and never the settings
// file, whatever its tables.
bool estFichierTest(const QString& chemin);

// The test's name: the file name less its last four characters (".mdb").
QString nomTestDeFichier(const QString& fichier);

} // namespace kelvane::data
