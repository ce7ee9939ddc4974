#include "edition/question.h"

#include "data/format.h"

#include <QStringList>
#include <algorithm>

namespace kelvane::edition {

namespace {

using data::NbNiveaux;
using data::NbReponsesMax;
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

QString texte(const QuestionTest& q) {
    return q[pos(data::champ::Question)].toString();
}

bool estQcm(const QuestionTest& q) {
    return vrai(q[pos(data::champ::Qcm)]);
}

int nbReponses(const QuestionTest& q) {
    return entier(q[pos(data::champ::NbreReponse)]);
}

QString reponse(const QuestionTest& q, int j) {
    return q[pos(R1 + j)].toString();
}

int valeur(const QuestionTest& q, int j) {
    return entier(q[pos(S1 + j)]);
}

bool niveau(const QuestionTest& q, int k) {
    return vrai(q[pos(B0 + k)]);
}

int chapitre(const QuestionTest& q) {
    return entier(q[pos(data::champ::Chapitre)]);
}

int numero(const QuestionTest& q) {
    return entier(q[pos(data::champ::Numero)]);
}

int tempsQuestion(const QuestionTest& q) {
    return entier(q[pos(data::champ::Temps)]);
}

QString niveaux(const QuestionTest& q) {
    QStringList liste;
    for (int k = 0; k < NbNiveaux; ++k) {
        if (niveau(q, k)) {
            liste << data::kNiveaux[pos(k)];
        }
    }
    return liste.join(QLatin1Char(' '));
}

QuestionTest nouvelleQuestion(int chapitre, const std::array<bool, NbNiveaux>& niveaux) {
    QuestionTest q;
    for (int k = 0; k < NbNiveaux; ++k) {
        q[pos(B0 + k)] = niveaux[pos(k)];
    }
    for (int j = 0; j < NbReponsesMax; ++j) {
        q[pos(R1 + j)] = QString();
        q[pos(S1 + j)] = 0;
    }
    q[pos(data::champ::Question)] = QString();
    q[pos(data::champ::NbreReponse)] = 2;
    q[pos(data::champ::Temps)] = 0;
    q[pos(data::champ::Qcm)] = true;
    q[pos(data::champ::Chapitre)] = chapitre;
    q[pos(data::champ::Numero)] = 0;
    return q;
}

void changerGenre(QuestionTest& q, bool qcm) {
    if (estQcm(q) == qcm) {
        return;
    }
    const int n = std::clamp(nbReponses(q), 0, NbReponsesMax);
    for (int j = 0; j < n; ++j) {
        q[pos(S1 + j)] = qcm ? int(valeur(q, j) == 1) : j + 1;
    }
    q[pos(data::champ::Qcm)] = qcm;
}

void changerNbReponses(QuestionTest& q, int n) {
    const int avant = std::clamp(nbReponses(q), 0, NbReponsesMax);
    n = std::clamp(n, 1, NbReponsesMax);
    for (int j = avant; j < n; ++j) {
        q[pos(R1 + j)] = QString();
        q[pos(S1 + j)] = estQcm(q) ? 0 : j + 1;
    }
    for (int j = n; j < NbReponsesMax; ++j) {
        q[pos(R1 + j)] = QString();
        q[pos(S1 + j)] = 0;
    }
    q[pos(data::champ::NbreReponse)] = n;
}

bool memeQuestion(const QuestionTest& a, const QuestionTest& b) {
    for (int k = 0; k < NbNiveaux; ++k) {
        if (niveau(a, k) != niveau(b, k)) {
            return false;
        }
    }
    for (int j = 0; j < NbReponsesMax; ++j) {
        if (reponse(a, j) != reponse(b, j) || valeur(a, j) != valeur(b, j)) {
            return false;
        }
    }
    return texte(a) == texte(b) && estQcm(a) == estQcm(b) && nbReponses(a) == nbReponses(b) &&
           chapitre(a) == chapitre(b) && numero(a) == numero(b) && tempsQuestion(a) == tempsQuestion(b);
}

} // namespace kelvane::edition
