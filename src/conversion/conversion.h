#pragma once

#include <QString>
#include <QtGlobal>

namespace kelvane::conversion {

// What a converted Access file became.
enum class Genre { Test, Resultats, Refuse };

// The outcome of one file's conversion, as the workbench and kelvane-outil report it.
struct CompteRendu {
    Genre genre = Genre::Refuse;
    QString cible;   // full path of the Kelvane file written; empty when nothing was written
    QString message; // one line in French, naming the file: what it became, or why it was refused
};

// How the Access file is read: by a child process, killed when it takes too long or too much memory.
struct Limites {
    QString lecteur;                            // the reader program; empty: kelvane-lecteur-access beside this one
    int delaiMs = 30000;                        // wall-clock time allowed to the reader
    qint64 memoireOctets = 512LL * 1024 * 1024; // address space allowed to the reader
};

// The Kelvane file's name for an Access file: its base name with the extension ".mdb" ("Essai.accdb" gives
// "Essai.mdb").
QString nomCible(const QString& source);

// Converts one Access file (Jet 3, Jet 4 or ACE) whose tables follow the test layout or the results layout into a
// Kelvane file named nomCible(source) in dossier, written under a temporary name and renamed when complete. A name
// already taken is never overwritten; a file that is neither layout, that does not pass the test checks, or that
// the reader cannot read is refused with the reason, and nothing is written. Never throws.
CompteRendu convertir(const QString& source, const QString& dossier, const Limites& limites = {});

} // namespace kelvane::conversion
