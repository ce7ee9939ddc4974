#include "banques/exportmoodle.h"

#include "banques/contenutest.h"

#include <QUrl>
#include <QXmlStreamWriter>
#include <algorithm>
#include <numeric>

namespace kelvane::banques {

namespace {

// The name a picture is embedded under: its own, its folder and characters a path cannot hold left out, or
// "image" with the extension its bytes call for.
QString nomFichier(const Image& image) {
    QString nom = texteXml(image.nom).section(u'/', -1).section(u'\\', -1).trimmed();
    if (nom.isEmpty()) {
        nom =
            QStringLiteral("image.") +
            (data::extensionImage(image.octets).isEmpty() ? QStringLiteral("png") : data::extensionImage(image.octets));
    }
    return nom;
}

class EcrivainMoodle {
public:
    explicit EcrivainMoodle(QByteArray* sortie) : xml_(sortie) {
        xml_.setAutoFormatting(true);
        xml_.setAutoFormattingIndent(2);
    }

    void ecrire(const data::Test& test, const Images& images);

private:
    void categorie(const QString& chemin);
    void question(const QuestionExportee& q, const ImagesQuestion* images);
    void reponse(const QString& fraction, const QString& texte, const std::optional<Image>& image);
    // A text of the bank: the plain text as HTML in CDATA as Moodle writes it, the picture's reference after it and
    // the picture embedded.
    void texte(const QString& html, const std::optional<Image>& image);
    void vide(const char* element);

    QXmlStreamWriter xml_;
};

void EcrivainMoodle::vide(const char* element) {
    xml_.writeStartElement(QLatin1String(element));
    xml_.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
    xml_.writeTextElement(QStringLiteral("text"), QString());
    xml_.writeEndElement();
}

void EcrivainMoodle::texte(const QString& html, const std::optional<Image>& image) {
    QString contenu = html;
    if (image) {
        contenu += QStringLiteral(" <img src=\"@@PLUGINFILE@@/%1\" alt=\"\">")
                       .arg(QString::fromUtf8(QUrl::toPercentEncoding(nomFichier(*image))));
    }
    xml_.writeStartElement(QStringLiteral("text"));
    xml_.writeCDATA(contenu);
    xml_.writeEndElement();
    if (image) {
        xml_.writeStartElement(QStringLiteral("file"));
        xml_.writeAttribute(QStringLiteral("name"), nomFichier(*image));
        xml_.writeAttribute(QStringLiteral("path"), QStringLiteral("/"));
        xml_.writeAttribute(QStringLiteral("encoding"), QStringLiteral("base64"));
        xml_.writeCharacters(QString::fromLatin1(image->octets.toBase64()));
        xml_.writeEndElement();
    }
}

void EcrivainMoodle::categorie(const QString& chemin) {
    xml_.writeStartElement(QStringLiteral("question"));
    xml_.writeAttribute(QStringLiteral("type"), QStringLiteral("category"));
    xml_.writeStartElement(QStringLiteral("category"));
    xml_.writeTextElement(QStringLiteral("text"), chemin);
    xml_.writeEndElement();
    vide("info");
    xml_.writeTextElement(QStringLiteral("idnumber"), QString());
    xml_.writeEndElement();
}

void EcrivainMoodle::reponse(const QString& fraction, const QString& texteReponse, const std::optional<Image>& image) {
    xml_.writeStartElement(QStringLiteral("answer"));
    xml_.writeAttribute(QStringLiteral("fraction"), fraction);
    xml_.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
    texte(texteReponse.toHtmlEscaped(), image);
    vide("feedback");
    xml_.writeEndElement();
}

void EcrivainMoodle::question(const QuestionExportee& q, const ImagesQuestion* images) {
    static const ImagesQuestion aucune;
    const ImagesQuestion& i = images ? *images : aucune;
    const int n = static_cast<int>(q.reponses.size());
    xml_.writeStartElement(QStringLiteral("question"));
    xml_.writeAttribute(QStringLiteral("type"), q.qcm ? QStringLiteral("multichoice") : QStringLiteral("ordering"));
    xml_.writeStartElement(QStringLiteral("name"));
    xml_.writeTextElement(QStringLiteral("text"), QStringLiteral("Question %1").arg(q.numero));
    xml_.writeEndElement();
    xml_.writeStartElement(QStringLiteral("questiontext"));
    xml_.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
    texte(QStringLiteral("<p>%1</p>").arg(q.texte.toHtmlEscaped()), i.question);
    xml_.writeEndElement();
    vide("generalfeedback");
    xml_.writeTextElement(QStringLiteral("defaultgrade"), QStringLiteral("1"));
    xml_.writeTextElement(QStringLiteral("penalty"), QStringLiteral("0.3333333"));
    xml_.writeTextElement(QStringLiteral("hidden"), QStringLiteral("0"));
    xml_.writeTextElement(QStringLiteral("idnumber"), QString());
    if (q.qcm) {
        const int justes = static_cast<int>(std::count_if(q.reponses.begin(), q.reponses.end(),
                                                          [](const source::Answer& r) { return r.expected == 1; }));
        const std::vector<qint64> pour = partsMoodle(justes, kCentPourCent);
        const std::vector<qint64> contre = partsMoodle(n - justes, justes > 1 ? -kCentPourCent : 0);
        xml_.writeTextElement(QStringLiteral("single"), justes == 1 ? QStringLiteral("true") : QStringLiteral("false"));
        xml_.writeTextElement(QStringLiteral("shuffleanswers"), QStringLiteral("true"));
        xml_.writeTextElement(QStringLiteral("answernumbering"), QStringLiteral("abc"));
        xml_.writeTextElement(QStringLiteral("showstandardinstruction"), QStringLiteral("0"));
        vide("correctfeedback");
        vide("partiallycorrectfeedback");
        vide("incorrectfeedback");
        xml_.writeEmptyElement(QStringLiteral("shownumcorrect"));
        std::size_t juste = 0;
        std::size_t faux = 0;
        for (int r = 0; r < n; ++r) {
            const auto j = static_cast<std::size_t>(r);
            const qint64 fraction = q.reponses[j].expected == 1 ? pour[juste++] : contre[faux++];
            reponse(fractionMoodle(fraction), q.reponses[j].text, i.reponses[j]);
        }
    } else {
        xml_.writeTextElement(QStringLiteral("layouttype"), QStringLiteral("VERTICAL"));
        xml_.writeTextElement(QStringLiteral("selecttype"), QStringLiteral("ALL"));
        xml_.writeTextElement(QStringLiteral("selectcount"), QString::number(n));
        xml_.writeTextElement(QStringLiteral("gradingtype"), QStringLiteral("ABSOLUTE_POSITION"));
        xml_.writeTextElement(QStringLiteral("showgrading"), QStringLiteral("SHOW"));
        xml_.writeTextElement(QStringLiteral("numberingstyle"), QStringLiteral("none"));
        vide("correctfeedback");
        vide("partiallycorrectfeedback");
        vide("incorrectfeedback");
        xml_.writeEmptyElement(QStringLiteral("shownumcorrect"));
        std::vector<int> parRang(static_cast<std::size_t>(n));
        std::iota(parRang.begin(), parRang.end(), 0);
        std::stable_sort(parRang.begin(), parRang.end(), [&](int a, int b) {
            return q.reponses[static_cast<std::size_t>(a)].expected < q.reponses[static_cast<std::size_t>(b)].expected;
        });
        for (const int r : parRang) {
            const auto j = static_cast<std::size_t>(r);
            reponse(QString::number(r + 1), q.reponses[j].text, i.reponses[j]);
        }
    }
    xml_.writeStartElement(QStringLiteral("tags"));
    for (std::size_t l = 0; l < q.niveaux.size(); ++l) {
        if (q.niveaux[l]) {
            xml_.writeStartElement(QStringLiteral("tag"));
            xml_.writeTextElement(QStringLiteral("text"), data::kNiveaux[l]);
            xml_.writeEndElement();
        }
    }
    xml_.writeEndElement();
    xml_.writeEndElement();
}

void EcrivainMoodle::ecrire(const data::Test& test, const Images& images) {
    xml_.writeStartDocument();
    xml_.writeStartElement(QStringLiteral("quiz"));
    xml_.writeComment(u' ' + enTete(test).replace(QStringLiteral("--"), QStringLiteral("- -")) + u' ');
    const std::vector<ChapitreExporte> chapitres = chapitresExportes(test);
    for (const ChapitreExporte& c : chapitres) {
        categorie(c.chemin);
    }
    int courant = chapitres.empty() ? 0 : chapitres.back().numero;
    for (const QuestionExportee& q : questionsExportees(test)) {
        if (q.chapitre != courant) {
            const auto c = std::find_if(chapitres.begin(), chapitres.end(),
                                        [&](const ChapitreExporte& c) { return c.numero == q.chapitre; });
            categorie(c != chapitres.end() ? c->chemin : QStringLiteral("$course$/top/Chapitre %1").arg(q.chapitre));
            courant = q.chapitre;
        }
        const auto i = images.find(q.numero);
        question(q, i == images.end() ? nullptr : &i->second);
    }
    xml_.writeEndElement();
    xml_.writeEndDocument();
}

} // namespace

QString fractionMoodle(qint64 fraction) {
    const qint64 absolue = fraction < 0 ? -fraction : fraction;
    QString texte = QString::number(absolue / 100000);
    if (const qint64 decimales = absolue % 100000; decimales != 0) {
        QString chiffres = QStringLiteral("%1").arg(decimales, 5, 10, QLatin1Char('0'));
        while (chiffres.endsWith(u'0')) {
            chiffres.chop(1);
        }
        texte += u'.' + chiffres;
    }
    return fraction < 0 ? u'-' + texte : texte;
}

std::vector<qint64> partsMoodle(int n, qint64 total) {
    if (n <= 0) {
        return {};
    }
    std::vector<qint64> parts(static_cast<std::size_t>(n), total / n);
    parts.back() = total - total / n * (n - 1);
    return parts;
}

QByteArray exporterMoodle(const data::Test& test, const Images& images) {
    QByteArray sortie;
    EcrivainMoodle(&sortie).ecrire(test, images);
    return sortie;
}

} // namespace kelvane::banques
