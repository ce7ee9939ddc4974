#include "data/valeurs.h"

#include "platform/error.h"

#include <cmath>
#include <limits>

namespace kelvane::data {

std::int16_t entier16(double valeur, const QString& quoi) {
    const double arrondi = std::nearbyint(valeur);
    if (!(arrondi >= std::numeric_limits<std::int16_t>::min() && arrondi <= std::numeric_limits<std::int16_t>::max())) {
        throw Error(errc::Overflow,
                    QStringLiteral("Dépassement de capacité: %1 (%2) ne tient pas dans un entier de -32768 à 32767")
                        .arg(quoi, QString::number(valeur, 'g', 17)));
    }
    return static_cast<std::int16_t>(arrondi);
}

std::int16_t entier16(const QVariant& valeur, const QString& quoi) {
    bool ok = false;
    const double nombre = valeur.isNull() ? 0.0 : valeur.toDouble(&ok);
    if (!ok) {
        throw Error(errc::TypeMismatch, QStringLiteral("Type incompatible: %1 n'est pas un nombre").arg(quoi));
    }
    return entier16(nombre, quoi);
}

bool estVrai(const QVariant& valeur) {
    return !valeur.isNull() && valeur.toBool();
}

QString texteChamp(const QVariant& valeur) {
    return valeur.isNull() ? QString() : valeur.toString();
}

} // namespace kelvane::data
