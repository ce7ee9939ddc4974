#pragma once

#include "conversion/conversion.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace kelvane::conversion {

// What the reader child program gave for one file: its whole dump, or why there is none.
struct Lecture {
    bool reussie = false;
    QByteArray vidage;
    QString raison; // in French, for "le fichier Access n'a pas pu être lu (raison)"
};

// The reader program used when Limites::lecteur is empty: kelvane-lecteur-access beside the running program, or
// the one this build made.
QString lecteurParDefaut();

// Runs the reader on `source` in a child process: killed (with whatever it started) after limites.delaiMs or when
// its output goes beyond the protocol's bound; its memory is limited to limites.memoireOctets
// (platform::ChildLimits). Never throws, never waits longer than the time allowed and a few seconds.
Lecture lireAvecLecteur(const QString& source, const Limites& limites);

} // namespace kelvane::conversion
