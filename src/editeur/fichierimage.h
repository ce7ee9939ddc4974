#pragma once

#include "data/images.h"

#include <QString>
#include <variant>

namespace kelvane::editeur {

// A picture file the teacher gives for a question or an answer: its name and bytes when the test can hold it and a
// candidate can see it, else why not, in French. A file over the size limit is refused before it is read.
std::variant<data::Image, QString> lireFichierImage(const QString& chemin);

} // namespace kelvane::editeur
