#pragma once

#include "data/images.h"

#include <QString>
#include <variant>

namespace kelvane::editeur {

// A picture file the teacher gives for a question or an answer: its name and bytes when the test can hold it
// (data::lireFichierImage) and a candidate can see it, else why not, in French.
std::variant<data::Image, QString> lireFichierImage(const QString& chemin);

} // namespace kelvane::editeur
