#pragma once

#include "data/test.h"
#include "platform/db/database.h"

#include <QString>
#include <functional>

namespace kelvane::data {

// The locale string given to the engine for new files.
inline constexpr const char* kLocaleNouveauxFichiers = ";LANGID=0x0409;CP=1252;COUNTRY=0";

// What to do when the target already exists.
enum class SiExistant { Remplacer, Refuser };

// Builds a new database with construire(base) under a hidden temporary name in the target's folder, closes it,
// then renames it to chemin: a reader of the old file (a session running the test) keeps its own copy, and a
// failure at any step leaves the target as it was and no temporary file behind. With SiExistant::Refuser, an
// existing target is never replaced (error 3204, "la base existe déjà"), even when it appears meanwhile.
// Throws kelvane::Error: a missing folder is error 76, a folder that cannot be written error 75.
void ecrireAtomiquement(const QString& chemin, const std::function<void(db::Database&)>& construire,
                        SiExistant siExistant = SiExistant::Remplacer);

// The three tables of a test, with their usual types and sizes: chapitre (nom Text 80, numero Integer),
// numero (temps, tolerance Integer) and test (the 21 question fields, levels and qcm as Yes/No).
void creerTablesTest(db::Database& base);

// Writes a test's records into tables made by creerTablesTest, in the test's order; inside the caller's
// transaction, when there is one, the records reach the disk together.
void remplirTablesTest(db::Database& base, const Test& test);

// A test file holding `test`, written by ecrireAtomiquement.
void ecrireTest(const Test& test, const QString& chemin, SiExistant siExistant = SiExistant::Remplacer);

} // namespace kelvane::data
