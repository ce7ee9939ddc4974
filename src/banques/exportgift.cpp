#include "banques/exportgift.h"

#include "banques/contenutest.h"
#include "banques/exportmoodle.h"

#include <algorithm>
#include <numeric>

namespace kelvane::banques {

namespace {

// A text as GIFT reads it back: its special characters after a backslash, a line break as "\n".
QString echapper(const QString& texte) {
    QString sortie;
    sortie.reserve(texte.size());
    for (const QChar c : texte) {
        if (QStringView(u"\\~=#{}:").contains(c)) {
            sortie += u'\\';
            sortie += c;
        } else if (c == u'\n') {
            sortie += QStringLiteral("\\n");
        } else if (c != u'\r') {
            sortie += c;
        }
    }
    return sortie;
}

QString question(const QuestionExportee& q) {
    QStringList etiquettes;
    for (std::size_t l = 0; l < q.niveaux.size(); ++l) {
        if (q.niveaux[l]) {
            etiquettes << QStringLiteral("[tag:%1]").arg(data::kNiveaux[l]);
        }
    }
    QString sortie = etiquettes.isEmpty() ? QString() : QStringLiteral("// ") + etiquettes.join(u' ') + u'\n';
    sortie += QStringLiteral("::Question %1::[plain]%2 {").arg(q.numero).arg(echapper(q.texte));
    const int n = static_cast<int>(q.reponses.size());
    if (q.qcm) {
        const int justes = static_cast<int>(std::count_if(q.reponses.begin(), q.reponses.end(),
                                                          [](const source::Answer& r) { return r.expected == 1; }));
        const std::vector<qint64> pour = partsMoodle(justes, kCentPourCent);
        const std::vector<qint64> contre = partsMoodle(n - justes, -kCentPourCent);
        std::size_t juste = 0;
        std::size_t faux = 0;
        for (const source::Answer& r : q.reponses) {
            const bool coche = r.expected == 1;
            QString marque = coche ? QStringLiteral("=") : QStringLiteral("~");
            if (justes > 1) {
                marque = QStringLiteral("~%%1%").arg(fractionMoodle(coche ? pour[juste++] : contre[faux++]));
            }
            sortie += QStringLiteral("\n\t%1%2").arg(marque, echapper(r.text));
        }
    } else {
        sortie += QStringLiteral(">%1 ALL VERTICAL ABSOLUTE_POSITION SHOW").arg(n);
        std::vector<int> parRang(static_cast<std::size_t>(n));
        std::iota(parRang.begin(), parRang.end(), 0);
        std::stable_sort(parRang.begin(), parRang.end(), [&](int a, int b) {
            return q.reponses[static_cast<std::size_t>(a)].expected < q.reponses[static_cast<std::size_t>(b)].expected;
        });
        for (const int r : parRang) {
            sortie += QStringLiteral("\n\t") + echapper(q.reponses[static_cast<std::size_t>(r)].text);
        }
    }
    return sortie + QStringLiteral("\n}\n\n");
}

} // namespace

QByteArray exporterGift(const data::Test& test, const Images& images, QStringList& notes) {
    QString sortie = QStringLiteral("// ") + enTete(test) + QStringLiteral("\n\n");
    const std::vector<ChapitreExporte> chapitres = chapitresExportes(test);
    int courant = 0;
    bool premier = true;
    for (const QuestionExportee& q : questionsExportees(test)) {
        if (premier || q.chapitre != courant) {
            const auto c = std::find_if(chapitres.begin(), chapitres.end(),
                                        [&](const ChapitreExporte& c) { return c.numero == q.chapitre; });
            sortie +=
                QStringLiteral("$CATEGORY: %1\n\n")
                    .arg(c != chapitres.end() ? c->chemin : QStringLiteral("$course$/top/Chapitre %1").arg(q.chapitre));
            courant = q.chapitre;
            premier = false;
        }
        sortie += question(q);
    }
    int nombre = 0;
    for (const auto& [numero, i] : images) {
        nombre += i.nombre();
    }
    if (nombre > 0) {
        notes << QStringLiteral("%1 image%2 non reprise%2 : GIFT ne tient pas d'images (l'export Moodle XML les "
                                "garde)")
                     .arg(nombre)
                     .arg(nombre > 1 ? QStringLiteral("s") : QString());
    }
    return sortie.toUtf8();
}

} // namespace kelvane::banques
