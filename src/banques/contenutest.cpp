#include "banques/contenutest.h"

#include "data/fichierresultats.h"

#include <QSet>
#include <algorithm>

namespace kelvane::banques {

QString texteXml(const QString& texte) {
    QString propre;
    propre.reserve(texte.size());
    for (qsizetype i = 0; i < texte.size(); ++i) {
        const QChar c = texte[i];
        if (c.isHighSurrogate() && i + 1 < texte.size() && texte[i + 1].isLowSurrogate()) {
            propre += c;
            propre += texte[++i];
        } else if (!c.isSurrogate() && c.unicode() != 0xFFFE && c.unicode() != 0xFFFF &&
                   (c.unicode() >= 0x20 || c == u'\t' || c == u'\n' || c == u'\r')) {
            propre += c;
        }
    }
    return propre;
}

QString enTete(const data::Test& test) {
    const QString fichier = texteXml(test.fichier).simplified();
    return fichier.isEmpty() ? QStringLiteral("Test exporté par Kelvane")
                             : QStringLiteral("Test %1 exporté par Kelvane").arg(fichier);
}

std::vector<ChapitreExporte> chapitresExportes(const data::Test& test) {
    std::vector<ChapitreExporte> chapitres;
    QSet<QString> pris;
    for (const data::Test::Chapitre& c : test.chapitres) {
        QString nom = texteXml(c.nom.toString());
        if (pris.contains(nom)) {
            nom += QStringLiteral(" (chapitre %1)").arg(c.numero.toInt());
        }
        pris.insert(nom);
        chapitres.push_back(
            {c.numero.toInt(), QStringLiteral("$course$/top/") + nom.replace(u'/', QStringLiteral("//"))});
    }
    return chapitres;
}

std::vector<QuestionExportee> questionsExportees(const data::Test& test) {
    std::vector<QuestionExportee> questions;
    for (const data::QuestionTest& ligne : test.questions) {
        QuestionExportee q;
        q.numero = ligne[data::champ::Numero].toInt();
        q.chapitre = ligne[data::champ::Chapitre].toInt();
        for (std::size_t i = 0; i < q.niveaux.size(); ++i) {
            q.niveaux[i] = ligne[data::champ::B0 + i].toBool();
        }
        q.qcm = ligne[data::champ::Qcm].toBool();
        q.texte = texteXml(ligne[data::champ::Question].toString());
        const int n = std::clamp(ligne[data::champ::NbreReponse].toInt(), 0, data::NbReponsesMax);
        for (int i = 0; i < n; ++i) {
            const auto j = static_cast<std::size_t>(i);
            q.reponses.push_back({texteXml(ligne[data::champ::R1 + j].toString()), ligne[data::champ::S1 + j].toInt()});
        }
        questions.push_back(std::move(q));
    }
    std::stable_sort(questions.begin(), questions.end(),
                     [](const QuestionExportee& a, const QuestionExportee& b) { return a.numero < b.numero; });
    return questions;
}

} // namespace kelvane::banques
