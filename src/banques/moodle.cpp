#include "banques/moodle.h"

#include "banques/assemblage.h"
#include "banques/texte.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>
#include <QXmlStreamReader>
#include <cmath>

namespace kelvane::banques {

namespace {

// Deeper than any Moodle bank (quiz, question, answer, feedback, text): a file nesting more is refused.
constexpr int kProfondeurMax = 64;
// The base64 of the largest picture kept, with room for line breaks; longer is not kept in memory.
constexpr qsizetype kTailleMaxBase64 = (data::kOctetsImageMax + 2) / 3 * 4 + 64 * 1024;
// A text longer than this (HTML included) cannot give a field of Kelvane and is not kept in memory.
constexpr qsizetype kTailleMaxTexte = 1024 * 1024;
// The base64 that one question may keep in memory, its text's and its answers' pictures together: as much as its
// pictures and one more take at most.
constexpr int kImagesParQuestion = data::NbReponsesMax + 2;
constexpr qsizetype kBudgetQuestion = kImagesParQuestion * kTailleMaxBase64;

const QRegularExpression kReference(QStringLiteral("@@PLUGINFILE@@/([^\"'<>\\s?#]*)"));

struct Fichier {
    QString cle; // its path less the leading "/", then its name: what @@PLUGINFILE@@/ is followed by
    QString nom;
    QString base64;
    bool tropGrand = false;
    bool horsBudget = false; // left unread: the question's files went over kBudgetQuestion
    bool base64Attendu = true;
};

struct Texte {
    QString contenu;
    QString format;
    bool tropLong = false;
    std::vector<Fichier> fichiers;
};

struct Reponse {
    Texte texte;
    double fraction = 0;
};

struct QuestionXml {
    QString type;
    int ligne = 0;
    QString nom;
    QString categorie;
    Texte enonce;
    std::vector<Reponse> reponses; // the first ones only, beyond what a question may hold
    std::size_t nombreReponses = 0;
    QStringList etiquettes;
};

// A text made plain, with the picture it refers to.
struct TexteLu {
    QString texte;
    std::optional<Image> image;
};

// The files a text refers to, as "@@PLUGINFILE@@/sous%20dossier/nom.png" is decoded: "sous dossier/nom.png".
QStringList references(const QString& texte) {
    QStringList noms;
    QSet<QString> vus;
    for (const QRegularExpressionMatch& m : kReference.globalMatch(texte)) {
        const QString nom = QUrl::fromPercentEncoding(m.captured(1).toUtf8());
        if (!vus.contains(nom)) {
            vus.insert(nom);
            noms << nom;
        }
    }
    return noms;
}

QString genre(const QString& type) {
    static const QHash<QString, QString> genres = {
        {QStringLiteral("essay"), QStringLiteral("réponse libre")},
        {QStringLiteral("matching"), QStringLiteral("appariement")},
        {QStringLiteral("randomsamatch"), QStringLiteral("appariement aléatoire")},
        {QStringLiteral("shortanswer"), QStringLiteral("réponse courte")},
        {QStringLiteral("numerical"), QStringLiteral("numérique")},
        {QStringLiteral("calculated"), QStringLiteral("calculée")},
        {QStringLiteral("calculatedsimple"), QStringLiteral("calculée simple")},
        {QStringLiteral("calculatedmulti"), QStringLiteral("calculée à choix multiple")},
        {QStringLiteral("multianswer"), QStringLiteral("réponses intégrées, cloze")},
        {QStringLiteral("description"), QStringLiteral("description, sans réponse")},
        {QStringLiteral("ddwtos"), QStringLiteral("glisser-déposer sur texte")},
        {QStringLiteral("gapselect"), QStringLiteral("mots manquants")},
        {QStringLiteral("ddimageortext"), QStringLiteral("glisser-déposer sur image")},
        {QStringLiteral("ddmarker"), QStringLiteral("glisser-déposer de marqueurs")},
        {QStringLiteral("random"), QStringLiteral("tirée au hasard")},
    };
    const auto trouve = genres.constFind(type);
    if (trouve == genres.cend()) {
        return QStringLiteral("type Moodle « %1 » inconnu").arg(type);
    }
    return QStringLiteral("type Moodle « %1 » (%2) non pris en charge").arg(type, *trouve);
}

class LecteurMoodle {
public:
    LecteurMoodle(QIODevice& fichier, const QString& nomFichier)
        : xml_(&fichier), nomFichier_(nomFichier), assembleur_(QFileInfo(nomFichier).completeBaseName()) {
        xml_.setEntityExpansionLimit(kLimiteEntites);
    }

    ResultatImport lire();

private:
    bool suivant();
    bool enfantSuivant();
    void sauter();
    QString contenu(qsizetype limite, bool& tropLong);
    QString texteDe(const char* element);
    Texte texte();
    void question();
    void tags(QStringList& etiquettes);
    void traiter(QuestionXml q);
    std::optional<TexteLu> resoudre(const Texte& t, const QString& quoi, QStringList& problemes) const;

    QXmlStreamReader xml_;
    QString nomFichier_;
    Assembleur assembleur_;
    int profondeur_ = 0;
    qsizetype budget_ = 0; // the base64 the question being read may still keep
};

bool LecteurMoodle::suivant() {
    if (xml_.atEnd()) {
        return false;
    }
    xml_.readNext();
    if (xml_.isStartElement() && ++profondeur_ > kProfondeurMax) {
        xml_.raiseError(QStringLiteral("éléments imbriqués sur plus de %1 niveaux").arg(kProfondeurMax));
    } else if (xml_.isEndElement()) {
        --profondeur_;
    }
    return !xml_.hasError() && !xml_.isEndDocument();
}

// Moves to the next child of the current element: true on its start, false at the current element's end.
bool LecteurMoodle::enfantSuivant() {
    while (suivant()) {
        if (xml_.isStartElement()) {
            return true;
        }
        if (xml_.isEndElement()) {
            return false;
        }
    }
    return false;
}

void LecteurMoodle::sauter() {
    const int fin = profondeur_ - 1;
    while (suivant()) {
        if (xml_.isEndElement() && profondeur_ == fin) {
            return;
        }
    }
}

// The characters of the current element, those of nested elements included, up to limite.
QString LecteurMoodle::contenu(qsizetype limite, bool& tropLong) {
    QString texte;
    const int fin = profondeur_ - 1;
    while (suivant()) {
        if (xml_.isCharacters()) {
            if (texte.size() + xml_.text().size() > limite) {
                tropLong = true;
            } else if (!tropLong) {
                texte += xml_.text();
            }
        } else if (xml_.isEndElement() && profondeur_ == fin) {
            break;
        }
    }
    return texte;
}

// The content of the current element's child named so, as <name><text>...</text></name>.
QString LecteurMoodle::texteDe(const char* element) {
    QString texte;
    while (enfantSuivant()) {
        if (xml_.name() == QLatin1String(element)) {
            bool tropLong = false;
            texte = contenu(kTailleMaxTexte, tropLong);
        } else {
            sauter();
        }
    }
    return texte;
}

// A text with its format and its embedded files, as <questiontext> and <answer> hold them. A file that the text,
// read before it as Moodle writes them, does not refer to is skipped unread.
Texte LecteurMoodle::texte() {
    Texte t;
    t.format = xml_.attributes().value(QLatin1String("format")).toString();
    std::optional<QSet<QString>> noms;
    while (enfantSuivant()) {
        if (xml_.name() == u"text") {
            t.contenu = contenu(kTailleMaxTexte, t.tropLong);
            const QStringList references = banques::references(t.contenu);
            noms = QSet<QString>(references.begin(), references.end());
        } else if (xml_.name() == u"file") {
            Fichier f;
            const QXmlStreamAttributes a = xml_.attributes();
            f.nom = a.value(QLatin1String("name")).toString();
            QString chemin = a.value(QLatin1String("path")).toString();
            if (!chemin.endsWith(u'/')) {
                chemin += u'/';
            }
            f.cle = chemin.mid(chemin.startsWith(u'/') ? 1 : 0) + f.nom;
            f.base64Attendu =
                a.value(QLatin1String("encoding")).compare(QLatin1String("base64"), Qt::CaseInsensitive) == 0;
            if (noms && !noms->contains(f.cle)) {
                sauter();
                continue;
            }
            bool depasse = false;
            f.base64 = contenu(std::min(kTailleMaxBase64, budget_), depasse);
            f.tropGrand = depasse && budget_ >= kTailleMaxBase64;
            f.horsBudget = depasse && !f.tropGrand;
            budget_ -= f.base64.size();
            t.fichiers.push_back(std::move(f));
        } else {
            sauter();
        }
    }
    return t;
}

void LecteurMoodle::tags(QStringList& etiquettes) {
    while (enfantSuivant()) {
        if (xml_.name() == u"tag") {
            etiquettes << texteDe("text").trimmed();
        } else {
            sauter();
        }
    }
}

void LecteurMoodle::question() {
    QuestionXml q;
    q.type = xml_.attributes().value(QLatin1String("type")).toString().trimmed().toLower();
    q.ligne = static_cast<int>(xml_.lineNumber());
    budget_ = kBudgetQuestion;
    while (enfantSuivant()) {
        const QStringView nom = xml_.name();
        if (nom == u"category") {
            q.categorie = texteDe("text");
        } else if (nom == u"name") {
            q.nom = texteDe("text");
        } else if (nom == u"questiontext") {
            q.enonce = texte();
        } else if (nom == u"answer" && ++q.nombreReponses > data::NbReponsesMax + 1) {
            sauter();
        } else if (nom == u"answer") {
            Reponse r;
            r.fraction = xml_.attributes().value(QLatin1String("fraction")).toDouble();
            r.texte = texte();
            q.reponses.push_back(std::move(r));
        } else if (nom == u"tags") {
            tags(q.etiquettes);
        } else {
            sauter();
        }
    }
    if (!xml_.hasError()) {
        traiter(std::move(q));
    }
}

std::optional<TexteLu> LecteurMoodle::resoudre(const Texte& t, const QString& quoi, QStringList& problemes) const {
    if (t.tropLong) {
        problemes << QStringLiteral("%1 : plus de %2 caractères").arg(quoi).arg(kTailleMaxTexte);
        return std::nullopt;
    }
    const QStringList noms = references(t.contenu);
    QString contenu = t.contenu;
    contenu.remove(kReference);
    static const QRegularExpression autreImage(
        QStringLiteral("<img\\b[^>]*\\bsrc\\s*=\\s*[\"']?(?!@@PLUGINFILE@@|[\"'])([^\"'\\s>]{0,40})"),
        QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = autreImage.match(t.contenu); m.hasMatch()) {
        problemes << QStringLiteral("%1 : image « %2 » hors du fichier, que Kelvane ne peut pas reprendre")
                         .arg(quoi, m.captured(1));
    }
    TexteLu lu{t.format == u"plain_text" || t.format == u"markdown" ? texteSimple(contenu)
               : t.format == u"moodle_auto_format"                  ? texteAuto(contenu)
                                                                    : texteDeHtml(contenu),
               std::nullopt};
    if (noms.size() > 1) {
        problemes << QStringLiteral("%1 : %2 images (« %3 »), une au plus")
                         .arg(quoi)
                         .arg(noms.size())
                         .arg(noms.join(QStringLiteral(" », « ")));
        return lu;
    }
    if (noms.isEmpty()) {
        return lu;
    }
    const auto fichier =
        std::find_if(t.fichiers.begin(), t.fichiers.end(), [&](const Fichier& f) { return f.cle == noms.first(); });
    if (fichier == t.fichiers.end()) {
        problemes << QStringLiteral("%1 : image « %2 » absente du fichier").arg(quoi, noms.first());
    } else if (fichier->tropGrand) {
        problemes << QStringLiteral("%1 : image « %2 » de plus de 1 Mio").arg(quoi, fichier->nom);
    } else if (fichier->horsBudget) {
        problemes << QStringLiteral("%1 : image « %2 » non lue, la question joignant plus de %3 images de 1 Mio")
                         .arg(quoi, fichier->nom)
                         .arg(kImagesParQuestion);
    } else if (!fichier->base64Attendu) {
        problemes << QStringLiteral("%1 : image « %2 » non codée en base64").arg(quoi, fichier->nom);
    } else {
        QByteArray base64 = fichier->base64.toLatin1();
        base64.removeIf([](char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; });
        auto decode = QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
        if (!decode) {
            problemes << QStringLiteral("%1 : image « %2 » mal codée (base64 incorrect)").arg(quoi, fichier->nom);
        } else {
            lu.image = Image{fichier->nom, std::move(*decode)};
        }
    }
    return lu;
}

void LecteurMoodle::traiter(QuestionXml q) {
    if (q.type == u"category") {
        assembleur_.categorie(q.categorie, q.ligne);
        return;
    }
    QuestionLue lue;
    lue.ligne = q.ligne;
    lue.titre = texteSimple(q.nom);
    lue.etiquettes = std::move(q.etiquettes);
    const std::optional<TexteLu> enonce = resoudre(q.enonce, QStringLiteral("texte de la question"), lue.problemes);
    lue.texte = enonce ? enonce->texte : QString();
    if (enonce) {
        lue.images.question = enonce->image;
    }
    const bool vraiFaux = q.type == u"truefalse";
    if (q.type != u"multichoice" && q.type != u"ordering" && !vraiFaux) {
        assembleur_.ecarter(lue.ligne, lue.titre, lue.texte, genre(q.type));
        return;
    }
    if (q.nombreReponses > data::NbReponsesMax) {
        assembleur_.ecarter(lue.ligne, lue.titre, lue.texte,
                            QStringLiteral("%1 réponses, %2 au plus").arg(q.nombreReponses).arg(data::NbReponsesMax));
        return;
    }
    lue.qcm = q.type != u"ordering";
    if (vraiFaux) {
        bool vrai = false;
        bool faux = false;
        for (std::size_t i = 0; i < q.reponses.size(); ++i) {
            const QString t = texteDeHtml(q.reponses[i].texte.contenu).toLower();
            const bool estVrai = t == u"true" || t == u"vrai" || (t != u"false" && t != u"faux" && i == 0);
            bool& juste = estVrai ? vrai : faux;
            juste = juste || q.reponses[i].fraction > 0;
        }
        lue.reponses = {{QStringLiteral("Vrai"), vrai ? 1 : 0}, {QStringLiteral("Faux"), faux ? 1 : 0}};
        if (q.reponses.size() != 2) {
            lue.problemes << QStringLiteral("question vrai/faux à %1 réponses au lieu de 2").arg(q.reponses.size());
        }
        assembleur_.ajouter(std::move(lue));
        return;
    }
    std::vector<int> positions; // of an ordering question's answers in the test, as Kelvane's export gives them
    for (std::size_t i = 0; i < q.reponses.size(); ++i) {
        const Reponse& r = q.reponses[i];
        if (r.fraction >= 1 && r.fraction == std::floor(r.fraction)) {
            positions.push_back(static_cast<int>(r.fraction));
        }
        const QString quoi = QStringLiteral("réponse %1").arg(i + 1);
        const std::optional<TexteLu> lu = resoudre(r.texte, quoi, lue.problemes);
        const int attendu = lue.qcm ? (r.fraction > 0 ? 1 : 0) : static_cast<int>(i) + 1;
        lue.reponses.push_back({lu ? lu->texte : QString(), attendu});
        if (lu && i < lue.images.reponses.size()) {
            lue.images.reponses[i] = lu->image;
        }
    }
    if (!lue.qcm) {
        placerReponsesOrdre(lue, positions);
    }
    assembleur_.ajouter(std::move(lue));
}

ResultatImport LecteurMoodle::lire() {
    while (suivant() && !xml_.isStartElement()) {
    }
    if (xml_.isStartElement() && xml_.name() != u"quiz") {
        xml_.raiseError(
            QStringLiteral("élément <%1> au lieu de <quiz> : ce n'est pas une banque Moodle XML").arg(xml_.name()));
    }
    while (!xml_.hasError() && enfantSuivant()) {
        if (xml_.name() == u"question") {
            question();
        } else {
            sauter();
        }
    }
    while (suivant()) {
        // the document's end: anything after </quiz> is still checked
    }
    if (!xml_.hasError() && profondeur_ == 0 && xml_.isEndDocument()) {
        return assembleur_.terminer();
    }
    ResultatImport echec;
    QString quoi;
    switch (xml_.error()) {
    case QXmlStreamReader::CustomError:
        quoi = xml_.errorString();
        break;
    case QXmlStreamReader::PrematureEndOfDocumentError:
        quoi = QStringLiteral("fichier XML vide ou incomplet");
        break;
    default:
        quoi = QStringLiteral("XML mal formé (%1)").arg(xml_.errorString());
        break;
    }
    echec.erreur =
        QStringLiteral("%1, ligne %2, colonne %3 : %4")
            .arg(nomFichier_, QString::number(xml_.lineNumber()), QString::number(xml_.columnNumber()), quoi);
    return echec;
}

} // namespace

ResultatImport importerMoodle(QIODevice& fichier, const QString& nomFichier) {
    return LecteurMoodle(fichier, nomFichier).lire();
}

} // namespace kelvane::banques
