#pragma once

#include "platform/error.h"

#include <QString>

namespace kelvane::services {
class MessageService;
}

namespace kelvane::avertissements {

// The one way an engine or file failure reaches the user: a box with the error's number and French text,
// naming the file concerned when the text does not already.
void afficherErreur(services::MessageService& messages, const Error& erreur, const QString& fichier = {});

// The text of that box.
QString texteErreur(const Error& erreur, const QString& fichier = {});

} // namespace kelvane::avertissements
