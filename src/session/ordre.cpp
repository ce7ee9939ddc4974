#include "session/ordre.h"

#include <cmath>
#include <cstddef>

namespace kelvane::session {

double facteurSecondes(int seconde) {
    return seconde / 60.0;
}

std::vector<int> tirerOrdre(int n, double f, services::RandomService& aleatoire) {
    std::vector<int> ordre;
    if (n <= 0) {
        return ordre;
    }
    if (!(f >= 0.0 && f < 1.0)) {
        // With f in [0, 1) every j falls in 1..m and no draw is ever thrown back; outside it a draw could be
        // thrown back for ever.
        f = 0.0;
    }
    ordre.reserve(static_cast<std::size_t>(n));
    // pool[0] to pool[m - 1] are the positions not drawn yet, in the order the draw sees them.
    std::vector<int> pool(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        pool[static_cast<std::size_t>(i)] = i;
    }
    while (static_cast<int>(ordre.size()) < n) {
        const int m = n - static_cast<int>(ordre.size());
        const float r = aleatoire.next();
        const float rm = r * static_cast<float>(m);
        const double j = std::floor(1.0 + f * static_cast<double>(rm));
        if (j > 0.0 && j < m + 1) {
            const auto indice = static_cast<std::ptrdiff_t>(j) - 1;
            ordre.push_back(pool[static_cast<std::size_t>(indice)]);
            pool.erase(pool.begin() + indice);
        }
    }
    return ordre;
}

std::vector<int> ordreParNumero(const std::vector<QVariant>& numeros, int nbQuestions, std::vector<int> ordre) {
    if (nbQuestions <= 0) {
        return ordre;
    }
    const auto n = static_cast<std::size_t>(nbQuestions);
    if (ordre.size() < n) {
        ordre.resize(n, 0);
    }
    for (std::size_t position = 0; position < numeros.size(); ++position) {
        const QVariant& valeur = numeros[position];
        bool ok = false;
        const double numero = valeur.isNull() ? 0.0 : valeur.toDouble(&ok);
        if (ok && numero >= 1.0 && numero <= nbQuestions && numero == std::floor(numero)) {
            ordre[static_cast<std::size_t>(numero) - 1] = static_cast<int>(position);
        }
    }
    return ordre;
}

} // namespace kelvane::session
