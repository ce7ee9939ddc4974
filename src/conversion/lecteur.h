#pragma once

#include "conversion/conversion.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// An address-space limit leaves no room for AddressSanitizer's shadow memory: sanitizer builds keep the time limit
// only, as Windows does.
#if defined(__SANITIZE_ADDRESS__)
#define KELVANE_SANS_LIMITE_MEMOIRE 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KELVANE_SANS_LIMITE_MEMOIRE 1
#endif
#endif

namespace kelvane::conversion {

// Whether Limites::memoireOctets is applied to the reader.
#if defined(Q_OS_UNIX) && !defined(KELVANE_SANS_LIMITE_MEMOIRE)
inline constexpr bool kMemoireLimitee = true;
#else
inline constexpr bool kMemoireLimitee = false;
#endif

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
// its output goes beyond the protocol's bound; on Unix its address space is limited to limites.memoireOctets and
// it leaves no core file. Never throws, never waits longer than the time allowed and a few seconds.
Lecture lireAvecLecteur(const QString& source, const Limites& limites);

} // namespace kelvane::conversion
