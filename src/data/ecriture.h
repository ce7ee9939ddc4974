#pragma once

#include "data/format.h"
#include "data/test.h"
#include "platform/db/database.h"
#include "platform/temporaryname.h"

#include <QString>
#include <functional>
#include <span>

namespace kelvane::data {

// Builds a new database with construire(base) under a temporary name beside the target (platform::TemporaryName),
// closes it, then renames it to chemin: a reader of the old file (a session running the test) keeps its own copy,
// and a failure at any step leaves the target as it was and no temporary file behind. With IfExists::Refuse, an
// existing target is never replaced (error 3204, "la base existe déjà"), even when it appears meanwhile.
// Throws kelvane::Error: a missing folder is error 76, a folder that cannot be written error 75.
void ecrireAtomiquement(const QString& chemin, const std::function<void(db::Database&)>& construire,
                        platform::IfExists siExistant = platform::IfExists::Replace);

// Appends a table of those fields, in that order, each text field taking the empty text.
void creerTable(db::Database& base, const QString& nom, std::span<const ChampFichier> champs);

// The three tables of a test (data/format.h): chapitre, numero and test.
void creerTablesTest(db::Database& base);

// Writes a test's records into tables made by creerTablesTest, in the test's order; inside the caller's
// transaction, when there is one, the records reach the disk together.
void remplirTablesTest(db::Database& base, const Test& test);

// A test file holding `test` and its pictures, written by ecrireAtomiquement.
void ecrireTest(const Test& test, const QString& chemin, platform::IfExists siExistant = platform::IfExists::Replace);

} // namespace kelvane::data
