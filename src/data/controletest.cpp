#include "data/controletest.h"

#include "data/format.h"

#include <QSet>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace kelvane::data {

namespace {

constexpr int kMaxEntier = std::numeric_limits<std::int16_t>::max();

// A whole number from a stored value; nothing for a null, a text that is not a number or a fraction.
std::optional<qint64> entier(const QVariant& valeur) {
    if (valeur.isNull()) {
        return std::nullopt;
    }
    bool ok = false;
    const double nombre = valeur.toDouble(&ok);
    if (!ok || nombre != std::floor(nombre) || std::abs(nombre) > 1e15) {
        return std::nullopt;
    }
    return static_cast<qint64>(nombre);
}

QString texte(const QVariant& valeur) {
    return valeur.isNull() ? QString() : valeur.toString();
}

class Controle {
public:
    explicit Controle(const Test& test) : test_(test) {}

    std::vector<Probleme> faire() {
        parametre(test_.temps, QStringLiteral("temps du test"), 1, kMaxEntier, QStringLiteral(" s"));
        parametre(test_.tolerance, QStringLiteral("tolérance"), 0, 100, QStringLiteral(" %"));
        chapitres();
        for (std::size_t i = 0; i < test_.questions.size(); ++i) {
            question(static_cast<int>(i), test_.questions[i]);
        }
        numeros();
        std::stable_sort(problemes_.begin(), problemes_.end(),
                         [](const Probleme& a, const Probleme& b) { return a.question < b.question; });
        return problemes_;
    }

private:
    void signaler(int question, const QString& message) { problemes_.push_back({question, message}); }

    void parametre(const QVariant& valeur, const QString& quoi, int mini, int maxi, const QString& unite) {
        const auto n = entier(valeur);
        if (texte(valeur).isEmpty()) {
            signaler(-1, QStringLiteral("%1 vide").arg(quoi));
        } else if (!n) {
            signaler(-1, QStringLiteral("%1 : « %2 » n'est pas un nombre entier").arg(quoi, texte(valeur)));
        } else if (*n < mini || *n > maxi) {
            signaler(-1, QStringLiteral("%1 : %2%3 hors des limites (%4 à %5)")
                             .arg(quoi)
                             .arg(*n)
                             .arg(unite)
                             .arg(mini)
                             .arg(maxi));
        }
    }

    void longueur(int question, const QString& quoi, const QString& valeur, int taille) {
        if (valeur.size() > taille) {
            signaler(question,
                     QStringLiteral("%1 : %2 caractères, %3 au plus").arg(quoi).arg(valeur.size()).arg(taille));
        }
    }

    void chapitres() {
        if (test_.chapitres.empty()) {
            signaler(-1, QStringLiteral("aucun chapitre"));
        }
        for (const Test::Chapitre& c : test_.chapitres) {
            const auto n = entier(c.numero);
            if (!n || *n < 1 || *n > kMaxEntier) {
                signaler(-1, QStringLiteral("chapitre « %1 » : numéro « %2 » incorrect (1 à %3)")
                                 .arg(texte(c.nom), texte(c.numero))
                                 .arg(kMaxEntier));
                continue;
            }
            if (declares_.contains(*n)) {
                signaler(-1, QStringLiteral("chapitre %1 déclaré deux fois").arg(*n));
            }
            declares_.insert(*n);
            if (texte(c.nom).trimmed().isEmpty()) {
                signaler(-1, QStringLiteral("chapitre %1 : nom vide").arg(*n));
            }
            longueur(-1, QStringLiteral("chapitre %1 : nom").arg(*n), texte(c.nom), TailleChapitre);
        }
    }

    void question(int i, const QuestionTest& q) {
        const QString enonce = texte(q[champ::Question]);
        if (enonce.trimmed().isEmpty()) {
            signaler(i, QStringLiteral("texte de la question vide"));
        }
        longueur(i, QStringLiteral("texte de la question"), enonce, TailleQuestion);

        bool niveau = false;
        for (int j = 0; j < NbNiveaux; ++j) {
            niveau = niveau || (!q[static_cast<std::size_t>(champ::B0 + j)].isNull() &&
                                q[static_cast<std::size_t>(champ::B0 + j)].toBool());
        }
        if (!niveau) {
            signaler(i, QStringLiteral("aucun niveau (B0, B1, B2, BR ou BC)"));
        }

        const auto chapitre = entier(q[champ::Chapitre]);
        if (!chapitre || !declares_.contains(*chapitre)) {
            signaler(i, QStringLiteral("chapitre « %1 » non déclaré").arg(texte(q[champ::Chapitre])));
        }

        const auto n = entier(q[champ::NbreReponse]);
        if (!n || *n < 1 || *n > NbReponsesMax) {
            signaler(i, QStringLiteral("%1 réponses : il en faut de 1 à %2")
                            .arg(texte(q[champ::NbreReponse]), QString::number(NbReponsesMax)));
            return;
        }
        const bool qcm = !q[champ::Qcm].isNull() && q[champ::Qcm].toBool();
        bool aCocher = false;
        QSet<qint64> rangs;
        for (int j = 0; j < *n; ++j) {
            const QString quoi = QStringLiteral("réponse %1").arg(j + 1);
            const QString reponse = texte(q[static_cast<std::size_t>(champ::R1 + j)]);
            if (reponse.trimmed().isEmpty()) {
                signaler(i, QStringLiteral("%1 vide").arg(quoi));
            }
            longueur(i, quoi, reponse, TailleReponse);
            const auto valeur = entier(q[static_cast<std::size_t>(champ::S1 + j)]);
            if (qcm) {
                if (!valeur || (*valeur != 0 && *valeur != 1)) {
                    signaler(i, QStringLiteral("%1 : la valeur doit être 1 (à cocher) ou 0").arg(quoi));
                }
                aCocher = aCocher || (valeur && *valeur == 1);
            } else if (valeur && *valeur >= 1 && *valeur <= *n) {
                rangs.insert(*valeur);
            }
        }
        if (qcm && !aCocher) {
            signaler(i, QStringLiteral("aucune réponse à cocher"));
        }
        if (!qcm && rangs.size() != *n) {
            signaler(i,
                     QStringLiteral("question à remettre dans l'ordre : chaque rang de 1 à %1 doit être donné une fois")
                         .arg(*n));
        }
    }

    void numeros() {
        const auto total = static_cast<qint64>(test_.questions.size());
        if (total == 0) {
            signaler(-1, QStringLiteral("aucune question"));
            return;
        }
        std::map<qint64, int> vus; // number -> index of the first question that carries it
        for (std::size_t i = 0; i < test_.questions.size(); ++i) {
            const int indice = static_cast<int>(i);
            const QVariant& valeur = test_.questions[i][champ::Numero];
            const auto n = entier(valeur);
            if (!n || *n < 1 || *n > total) {
                signaler(indice, QStringLiteral("numéro « %1 » : les questions sont numérotées de 1 à %2")
                                     .arg(texte(valeur))
                                     .arg(total));
            } else if (const auto [it, nouveau] = vus.emplace(*n, indice); !nouveau) {
                signaler(indice, QStringLiteral("numéro %1 déjà donné à la question %2").arg(*n).arg(it->second + 1));
            }
        }
    }

    const Test& test_;
    QSet<qint64> declares_;
    std::vector<Probleme> problemes_;
};

} // namespace

std::vector<Probleme> controlerTest(const Test& test) {
    return Controle(test).faire();
}

} // namespace kelvane::data
