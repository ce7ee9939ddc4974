#pragma once

#include <QString>

namespace kelvane::atelier {

// The longest test name taken, in characters, without ".mdb".
inline constexpr int kLongueurNomTest = 100;

// The file name of a test from the name a teacher types: trimmed, with ".mdb" added unless it already ends so.
// The empty text, with the reason in `erreur`, when it cannot name a test of the folder: empty, longer than
// kLongueurNomTest, holding a folder separator, a control character or a character Windows refuses (: * ? " < > |),
// starting with a dot, ending with a dot, or the settings file's name.
QString nomFichierTest(const QString& saisi, QString* erreur);

// The name shown for a test file: its name less ".mdb".
QString nomAffiche(const QString& fichier);

// True when the folder holds a file or folder of that name, letter case aside (as on a Windows share).
bool nomPris(const QString& dossier, const QString& fichier);

} // namespace kelvane::atelier
