#include "banques/texte.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

namespace kelvane::banques {

namespace {

// The named character references a teacher's bank may hold: Latin-1 (U+00A0 to U+00FF, in order), Greek
// (U+0391 to U+03A9 and U+03B1 to U+03C9, in order, U+03A2 having none) and a few more.
const QHash<QString, char32_t>& entites() {
    static const QHash<QString, char32_t> table = [] {
        QHash<QString, char32_t> t;
        const auto suite = [&](const char* noms, char32_t premier) {
            char32_t code = premier;
            for (const QString& nom : QString::fromLatin1(noms).split(u' ')) {
                if (nom != u"-") {
                    t.insert(nom, code);
                }
                ++code;
            }
        };
        suite("nbsp iexcl cent pound curren yen brvbar sect uml copy ordf laquo not shy reg macr deg plusmn sup2 sup3 "
              "acute micro para middot cedil sup1 ordm raquo frac14 frac12 frac34 iquest Agrave Aacute Acirc Atilde "
              "Auml Aring AElig Ccedil Egrave Eacute Ecirc Euml Igrave Iacute Icirc Iuml ETH Ntilde Ograve Oacute "
              "Ocirc Otilde Ouml times Oslash Ugrave Uacute Ucirc Uuml Yacute THORN szlig agrave aacute acirc atilde "
              "auml aring aelig ccedil egrave eacute ecirc euml igrave iacute icirc iuml eth ntilde ograve oacute "
              "ocirc otilde ouml divide oslash ugrave uacute ucirc uuml yacute thorn yuml",
              0xA0);
        suite("Alpha Beta Gamma Delta Epsilon Zeta Eta Theta Iota Kappa Lambda Mu Nu Xi Omicron Pi Rho - Sigma Tau "
              "Upsilon Phi Chi Psi Omega",
              0x391);
        suite("alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu nu xi omicron pi rho sigmaf sigma "
              "tau upsilon phi chi psi omega",
              0x3B1);
        const std::pair<const char*, char32_t> autres[] = {
            {"quot", 0x22},     {"amp", 0x26},     {"apos", 0x27},    {"lt", 0x3C},      {"gt", 0x3E},
            {"OElig", 0x152},   {"oelig", 0x153},  {"Scaron", 0x160}, {"scaron", 0x161}, {"Yuml", 0x178},
            {"circ", 0x2C6},    {"tilde", 0x2DC},  {"ensp", 0x2002},  {"emsp", 0x2003},  {"thinsp", 0x2009},
            {"ndash", 0x2013},  {"mdash", 0x2014}, {"lsquo", 0x2018}, {"rsquo", 0x2019}, {"sbquo", 0x201A},
            {"ldquo", 0x201C},  {"rdquo", 0x201D}, {"bdquo", 0x201E}, {"bull", 0x2022},  {"hellip", 0x2026},
            {"permil", 0x2030}, {"prime", 0x2032}, {"euro", 0x20AC},  {"trade", 0x2122}, {"ohm", 0x2126},
            {"larr", 0x2190},   {"rarr", 0x2192},  {"harr", 0x2194},  {"minus", 0x2212}, {"radic", 0x221A},
            {"infin", 0x221E},  {"asymp", 0x2248}, {"ne", 0x2260},    {"le", 0x2264},    {"ge", 0x2265},
        };
        for (const auto& [nom, code] : autres) {
            t.insert(QLatin1String(nom), code);
        }
        return t;
    }();
    return table;
}

bool baliseDeBloc(const QString& nom) {
    static const QStringList blocs = {
        QStringLiteral("br"), QStringLiteral("p"),     QStringLiteral("div"), QStringLiteral("li"),
        QStringLiteral("ul"), QStringLiteral("ol"),    QStringLiteral("tr"),  QStringLiteral("td"),
        QStringLiteral("th"), QStringLiteral("table"), QStringLiteral("hr"),  QStringLiteral("blockquote"),
        QStringLiteral("h1"), QStringLiteral("h2"),    QStringLiteral("h3"),  QStringLiteral("h4"),
        QStringLiteral("h5"), QStringLiteral("h6"),    QStringLiteral("pre"), QStringLiteral("img"),
    };
    return blocs.contains(nom);
}

void ajouterCode(QString& sortie, char32_t code) {
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        code = 0xFFFD;
    }
    sortie += QString::fromUcs4(&code, 1);
}

// Decodes the reference at html[i] ('&'); returns how many characters it takes, 0 when it is none.
qsizetype reference(QStringView html, qsizetype i, QString& sortie) {
    constexpr qsizetype kLongueurMax = 32; // of a reference's name, "CounterClockwiseContourIntegral" being the longest
    const qsizetype fin = html.mid(i + 1, kLongueurMax + 1).indexOf(u';') + i + 1;
    if (fin <= i) {
        return 0;
    }
    const QStringView nom = html.mid(i + 1, fin - i - 1);
    if (nom.startsWith(u'#')) {
        bool ok = false;
        const bool hexa = nom.size() > 1 && (nom[1] == u'x' || nom[1] == u'X');
        const uint code = nom.mid(hexa ? 2 : 1).toUInt(&ok, hexa ? 16 : 10);
        if (!ok) {
            return 0;
        }
        ajouterCode(sortie, code);
        return fin - i + 1;
    }
    const auto trouve = entites().constFind(nom.toString());
    if (trouve == entites().cend()) {
        return 0;
    }
    ajouterCode(sortie, *trouve);
    return fin - i + 1;
}

// The end of the tag starting at html[i] ('<'), quotes of its attributes skipped; -1 when it never ends.
qsizetype finDeBalise(QStringView html, qsizetype i) {
    QChar guillemet;
    for (qsizetype j = i + 1; j < html.size(); ++j) {
        const QChar c = html[j];
        if (!guillemet.isNull()) {
            if (c == guillemet) {
                guillemet = QChar();
            }
        } else if (c == u'"' || c == u'\'') {
            guillemet = c;
        } else if (c == u'>') {
            return j;
        }
    }
    return -1;
}

} // namespace

QString texteSimple(QStringView texte) {
    QString sortie;
    sortie.reserve(texte.size());
    qsizetype i = 0;
    while (i < texte.size()) {
        if (!texte[i].isSpace()) {
            sortie += texte[i++];
            continue;
        }
        bool insecable = true;
        const qsizetype debut = i;
        for (; i < texte.size() && texte[i].isSpace(); ++i) {
            insecable = insecable && (texte[i] == QChar(0xA0) || texte[i] == QChar(0x202F));
        }
        if (!sortie.isEmpty() && i < texte.size()) {
            sortie += insecable ? texte[debut] : QChar(u' ');
        }
    }
    return sortie;
}

QString texteDeHtml(QStringView html) {
    QString sortie;
    sortie.reserve(html.size());
    qsizetype i = 0;
    while (i < html.size()) {
        const QChar c = html[i];
        const QChar apres = i + 1 < html.size() ? html[i + 1] : QChar();
        if (c == u'&') {
            if (const qsizetype n = reference(html, i, sortie)) {
                i += n;
                continue;
            }
        } else if (c == u'<' && html.mid(i).startsWith(u"<!--")) {
            const qsizetype fin = html.indexOf(u"-->", i + 4);
            i = fin < 0 ? html.size() : fin + 3;
            continue;
        } else if (c == u'<' && (apres.isLetter() || apres == u'/' || apres == u'!' || apres == u'?')) {
            const qsizetype fin = finDeBalise(html, i);
            if (fin < 0) {
                break; // a tag that the text's end cuts is dropped, as a browser does
            }
            const bool fermante = apres == u'/';
            const qsizetype debutNom = i + (fermante ? 2 : 1);
            qsizetype finNom = debutNom;
            while (finNom < fin && html[finNom].isLetterOrNumber()) {
                ++finNom;
            }
            const QString nom = html.mid(debutNom, finNom - debutNom).toString().toLower();
            i = fin + 1;
            if (!fermante && (nom == u"script" || nom == u"style")) {
                const qsizetype fermeture = html.indexOf(QStringLiteral("</%1").arg(nom), i, Qt::CaseInsensitive);
                const qsizetype finFermeture = fermeture < 0 ? -1 : finDeBalise(html, fermeture);
                i = finFermeture < 0 ? html.size() : finFermeture + 1;
            } else if (baliseDeBloc(nom)) {
                sortie += u' ';
            }
            continue;
        }
        sortie += c;
        ++i;
    }
    return texteSimple(sortie);
}

QString texteAuto(QStringView texte) {
    static const QRegularExpression html(
        QStringLiteral("</?(p|br|b|i|u|s|em|strong|span|div|sub|sup|img|a|ul|ol|li|table|tr|td|th|h[1-6]|font|code|"
                       "pre|hr|blockquote|small|big|center|tt)\\b[^<>]*>|&([a-zA-Z][a-zA-Z0-9]{1,31}|#[0-9]{1,7}|"
                       "#[xX][0-9a-fA-F]{1,6});"),
        QRegularExpression::CaseInsensitiveOption);
    return html.match(texte).hasMatch() ? texteDeHtml(texte) : texteSimple(texte);
}

std::optional<QStringList> lignesUtf8(const QByteArray& donnees, int& ligneFautive) {
    QStringList lignes;
    qsizetype debut = donnees.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (debut <= donnees.size()) {
        qsizetype fin = donnees.indexOf('\n', debut);
        if (fin < 0) {
            fin = donnees.size();
        }
        QByteArrayView octets(donnees.constData() + debut, fin - debut);
        if (octets.endsWith('\r')) {
            octets.chop(1);
        }
        QStringDecoder decodeur(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        lignes << decodeur(octets);
        if (decodeur.hasError()) {
            ligneFautive = static_cast<int>(lignes.size());
            return std::nullopt;
        }
        debut = fin + 1;
    }
    return lignes;
}

} // namespace kelvane::banques
