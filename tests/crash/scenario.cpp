#include "scenario.h"

namespace scenario {

std::vector<fixtures::Chapitre> chapitres() {
    return {{QStringLiteral("Généralités"), 1},
            {QStringLiteral("Consignation"), 2},
            {QStringLiteral("Matériel de sécurité"), 3}};
}

std::vector<fixtures::Question> questions() {
    std::vector<fixtures::Question> qs;
    for (int i = 0; i < kNbQuestions; ++i) {
        fixtures::Question q;
        q.numero = (i * 7) % kNbQuestions + 1; // 7 and 30 share no factor: every number once
        q.chapitre = i % 3 + 1;
        q.niveaux = {i % 2 == 0, true, i % 3 == 0, i % 4 == 1, i % 5 == 2};
        q.qcm = i % 3 != 2;
        q.nbReponses = q.qcm ? 2 + i % 4 : 3 + i % 3;
        q.texte = QStringLiteral("Question %1 : que faut-il faire avant d'intervenir ?").arg(q.numero);
        for (int r = 0; r < q.nbReponses; ++r) {
            const auto k = static_cast<std::size_t>(r);
            q.reponses[k] = QStringLiteral("Réponse %1 de la question %2").arg(r + 1).arg(q.numero);
            // Ranks run backwards from the last answer; ticks follow the number's bits, at least one.
            q.attendu[k] = q.qcm ? ((q.numero >> r) & 1) : q.nbReponses - r;
        }
        if (q.qcm && q.numero % (1 << q.nbReponses) == 0) {
            q.attendu[0] = 1;
        }
        qs.push_back(q);
    }
    return qs;
}

std::optional<fixtures::Question> questionDeTexte(const QString& texte) {
    for (const fixtures::Question& q : questions()) {
        if (q.texte == texte) {
            return q;
        }
    }
    return std::nullopt;
}

QString ligneReponse(const char* mot, const Reponse& r) {
    QString ligne = QLatin1StringView(mot) + QLatin1Char(' ') + QString::number(r.numero);
    for (int v : r.valeurs) {
        ligne += QLatin1Char(' ') + QString::number(v);
    }
    return ligne + QLatin1Char(' ') + QString::number(r.juste ? 1 : 0);
}

namespace {
std::optional<Reponse> lireReponse(const QStringList& mots) {
    if (mots.size() != 8) {
        return std::nullopt;
    }
    Reponse r;
    bool ok = true;
    r.numero = mots.at(1).toInt(&ok);
    for (std::size_t i = 0; i < 5 && ok; ++i) {
        r.valeurs[i] = mots.at(static_cast<qsizetype>(i) + 2).toInt(&ok);
    }
    r.juste = mots.at(7) == QLatin1StringView("1");
    return ok ? std::optional<Reponse>(r) : std::nullopt;
}
} // namespace

void Journal::lire(const QString& ligne) {
    lignes << ligne;
    const QStringList mots = ligne.split(QLatin1Char(' '));
    const QString& mot = mots.first();
    if (mot == QLatin1StringView("PRET")) {
        pret = true;
        examen = mots.value(1) == QLatin1StringView("examen");
    } else if (mot == QLatin1StringView("LIBRE")) {
        libre = ligne.mid(6);
    } else if (mot == QLatin1StringView("DEBUT")) {
        fichier = ligne.mid(6);
    } else if (mot == QLatin1StringView("ENVOI")) {
        envoi = lireReponse(mots);
    } else if (mot == QLatin1StringView("REPONSE")) {
        if (const auto r = lireReponse(mots)) {
            reponses.push_back(*r);
            envoi.reset();
        } else {
            erreurs << QStringLiteral("ligne illisible: ") + ligne;
        }
    } else if (mot == QLatin1StringView("FIN")) {
        fin = true;
    } else {
        erreurs << ligne;
    }
}

} // namespace scenario
