#include "edition/question.h"

#include "data/fichierresultats.h"

#include <QStringList>
#include <algorithm>

namespace kelvane::edition {

namespace {

using data::champ::B0;
using data::champ::R1;
using data::champ::S1;

std::size_t pos(int champ) {
    return static_cast<std::size_t>(champ);
}

int entier(const QVariant& v) {
    return v.isNull() ? 0 : v.toInt();
}

bool vrai(const QVariant& v) {
    return !v.isNull() && v.toBool();
}

} // namespace

QString texte(const Question& q) {
    return q[pos(data::champ::Question)].toString();
}

bool estQcm(const Question& q) {
    return vrai(q[pos(data::champ::Qcm)]);
}

int nbReponses(const Question& q) {
    return entier(q[pos(data::champ::NbreReponse)]);
}

QString reponse(const Question& q, int j) {
    return q[pos(R1 + j)].toString();
}

int valeur(const Question& q, int j) {
    return entier(q[pos(S1 + j)]);
}

bool niveau(const Question& q, int k) {
    return vrai(q[pos(B0 + k)]);
}

int chapitre(const Question& q) {
    return entier(q[pos(data::champ::Chapitre)]);
}

int numero(const Question& q) {
    return entier(q[pos(data::champ::Numero)]);
}

int tempsQuestion(const Question& q) {
    return entier(q[pos(data::champ::Temps)]);
}

QString niveaux(const Question& q) {
    QStringList liste;
    for (int k = 0; k < 5; ++k) {
        if (niveau(q, k)) {
            liste << kNiveaux[pos(k)];
        }
    }
    return liste.join(QLatin1Char(' '));
}

Question nouvelleQuestion(int chapitre, const std::array<bool, 5>& niveaux) {
    Question q;
    for (int k = 0; k < 5; ++k) {
        q[pos(B0 + k)] = niveaux[pos(k)];
        q[pos(R1 + k)] = QString();
        q[pos(S1 + k)] = 0;
    }
    q[pos(data::champ::Question)] = QString();
    q[pos(data::champ::NbreReponse)] = 2;
    q[pos(data::champ::Temps)] = 0;
    q[pos(data::champ::Qcm)] = true;
    q[pos(data::champ::Chapitre)] = chapitre;
    q[pos(data::champ::Numero)] = 0;
    return q;
}

void changerGenre(Question& q, bool qcm) {
    if (estQcm(q) == qcm) {
        return;
    }
    const int n = std::clamp(nbReponses(q), 0, 5);
    for (int j = 0; j < n; ++j) {
        q[pos(S1 + j)] = qcm ? int(valeur(q, j) == 1) : j + 1;
    }
    q[pos(data::champ::Qcm)] = qcm;
}

void changerNbReponses(Question& q, int n) {
    const int avant = std::clamp(nbReponses(q), 0, 5);
    n = std::clamp(n, 1, 5);
    for (int j = avant; j < n; ++j) {
        q[pos(R1 + j)] = QString();
        q[pos(S1 + j)] = estQcm(q) ? 0 : j + 1;
    }
    for (int j = n; j < 5; ++j) {
        q[pos(R1 + j)] = QString();
        q[pos(S1 + j)] = 0;
    }
    q[pos(data::champ::NbreReponse)] = n;
}

bool memeQuestion(const Question& a, const Question& b) {
    for (int k = 0; k < 5; ++k) {
        if (niveau(a, k) != niveau(b, k) || reponse(a, k) != reponse(b, k) || valeur(a, k) != valeur(b, k)) {
            return false;
        }
    }
    return texte(a) == texte(b) && estQcm(a) == estQcm(b) && nbReponses(a) == nbReponses(b) &&
           chapitre(a) == chapitre(b) && numero(a) == numero(b) && tempsQuestion(a) == tempsQuestion(b);
}

} // namespace kelvane::edition
