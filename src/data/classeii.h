#pragma once

#include <QString>
#include <QStringList>

namespace kelvane::data {

// The one question shown with three pictures beside its answers 1 to 3, recognised by its exact text.
inline QString questionClasseII() {
    return QStringLiteral("A quel sigle se reconnait un outil électrique de classe II?");
}

// The application folder's folder of pictures, and the three pictures of that question in the order of the answers:
// the capacitor, the earth, the double square.
inline QString dossierImages() {
    return QStringLiteral("Images");
}
inline QStringList imagesClasseII() {
    return {QStringLiteral("Condo.jpg"), QStringLiteral("Terre.jpg"), QStringLiteral("Classe II.jpg")};
}

} // namespace kelvane::data
