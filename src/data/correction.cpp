#include "data/correction.h"

#include "data/valeurs.h"
#include "platform/error.h"

namespace kelvane::data {

namespace {

bool estChiffre(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

double valeurNumerique(const QString& texte) {
    QString compact;
    compact.reserve(texte.size());
    for (const QChar c : texte) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n')) {
            compact.append(c);
        }
    }

    const qsizetype taille = compact.size();
    qsizetype i = 0;
    if (i < taille && (compact.at(i) == QLatin1Char('+') || compact.at(i) == QLatin1Char('-'))) {
        ++i;
    }
    qsizetype chiffres = 0;
    while (i < taille && estChiffre(compact.at(i))) {
        ++i;
        ++chiffres;
    }
    if (i < taille && compact.at(i) == QLatin1Char('.')) {
        ++i;
        while (i < taille && estChiffre(compact.at(i))) {
            ++i;
            ++chiffres;
        }
    }
    if (chiffres == 0) {
        return 0.0;
    }
    qsizetype fin = i;
    // The exponent belongs to the number only when it has digits of its own: "3e" and "3e+" read as 3.
    if (i < taille && (compact.at(i) == QLatin1Char('e') || compact.at(i) == QLatin1Char('E'))) {
        ++i;
        if (i < taille && (compact.at(i) == QLatin1Char('+') || compact.at(i) == QLatin1Char('-'))) {
            ++i;
        }
        if (i < taille && estChiffre(compact.at(i))) {
            while (i < taille && estChiffre(compact.at(i))) {
                ++i;
            }
            fin = i;
        }
    }
    // toDouble reads the C locale's point whatever the machine's locale; a number too large for a double gives
    // an infinity, which valeurCombo then refuses as out of range.
    return compact.left(fin).toDouble();
}

std::int16_t valeurCombo(const QString& texte) {
    return entier16(valeurNumerique(texte), QStringLiteral("le rang « %1 »").arg(texte));
}

bool estJuste(const std::array<QVariant, 5>& attendues, const std::array<std::int16_t, 5>& reponses) {
    bool juste = true;
    for (std::size_t i = 0; i < attendues.size(); ++i) {
        if (attendues[i].isNull()) {
            continue;
        }
        bool ok = false;
        const double attendue = attendues[i].toDouble(&ok);
        if (!ok || attendue != reponses[i]) {
            juste = false;
        }
    }
    return juste;
}

} // namespace kelvane::data
