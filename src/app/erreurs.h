#pragma once

#include "platform/error.h"

#include <QString>

namespace kelvane::app {

// The one way an engine or file failure reaches the user: a box with the error's number and French text,
// naming the file concerned when the text does not already.
void afficherErreur(const kelvane::Error& erreur, const QString& fichier = {});

// The text of that box.
QString texteErreur(const kelvane::Error& erreur, const QString& fichier = {});

} // namespace kelvane::app
