#include "banques/gift.h"

#include "banques/assemblage.h"
#include "banques/texte.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace kelvane::banques {

namespace {

// The lines of one question, joined by '\n', escapes resolved: escape tells for each character whether it was
// written with a backslash (and so is never markup), ligne the line it comes from.
struct Bloc {
    QString texte;
    std::vector<bool> echappe;
    std::vector<int> lignes;

    void ajouter(const QString& ligne, int numero) {
        if (!texte.isEmpty()) {
            pousser(u'\n', false, numero);
        }
        for (qsizetype i = 0; i < ligne.size(); ++i) {
            const QChar c = ligne[i];
            const QChar apres = i + 1 < ligne.size() ? ligne[i + 1] : QChar();
            if (c == u'\\' && QStringView(u"~=#{}:\\").contains(apres) && !apres.isNull()) {
                pousser(apres, true, numero);
                ++i;
            } else if (c == u'\\' && apres == u'n') {
                pousser(u'\n', true, numero);
                ++i;
            } else {
                pousser(c, false, numero);
            }
        }
    }
    void pousser(QChar c, bool e, int numero) {
        texte += c;
        echappe.push_back(e);
        lignes.push_back(numero);
    }
    bool est(qsizetype i, QChar c) const { return i < texte.size() && texte[i] == c && !echappe[i]; }
    // The first unescaped c in [debut, fin), or -1.
    qsizetype chercher(QChar c, qsizetype debut, qsizetype fin) const {
        for (qsizetype i = debut; i < fin; ++i) {
            if (est(i, c)) {
                return i;
            }
        }
        return -1;
    }
    int ligne(qsizetype i) const { return lignes.empty() ? 0 : lignes[std::min<std::size_t>(i, lignes.size() - 1)]; }
};

struct ErreurGift {
    int ligne;
    QString texte;
};

class LecteurGift {
public:
    explicit LecteurGift(const QString& nomFichier)
        : nomFichier_(nomFichier), assembleur_(QFileInfo(nomFichier).completeBaseName()) {}

    ResultatImport lire(const QByteArray& donnees);

private:
    void question(const Bloc& b, QStringList etiquettes);
    void reponses(const Bloc& b, qsizetype debut, qsizetype fin, QuestionLue& q);
    void choix(const Bloc& b, qsizetype debut, qsizetype fin, QuestionLue& q);
    void ordre(const Bloc& b, qsizetype debut, qsizetype fin, QuestionLue& q);
    QString texte(const Bloc& b, qsizetype debut, qsizetype fin) const;

    QString nomFichier_;
    Assembleur assembleur_;
    QString format_;
};

QString LecteurGift::texte(const Bloc& b, qsizetype debut, qsizetype fin) const {
    const QStringView morceau = QStringView(b.texte).mid(debut, fin - debut);
    if (format_ == u"html") {
        return texteDeHtml(morceau);
    }
    return format_ == u"plain" || format_ == u"markdown" ? texteSimple(morceau) : texteAuto(morceau);
}

ResultatImport LecteurGift::lire(const QByteArray& donnees) {
    int fautive = 0;
    const std::optional<QStringList> lignes = lignesUtf8(donnees, fautive);
    if (!lignes) {
        ResultatImport echec;
        echec.erreur = QStringLiteral("%1, ligne %2 : texte non UTF-8 (enregistrez le fichier en UTF-8)")
                           .arg(nomFichier_, QString::number(fautive));
        return echec;
    }
    static const QRegularExpression etiquette(QStringLiteral("\\[tag:([^\\]]*)\\]"));
    try {
        Bloc bloc;
        QStringList etiquettes;
        bool ouvert = false; // inside braces: a blank line does not end the question
        const auto finir = [&] {
            if (!bloc.texte.trimmed().isEmpty()) {
                question(bloc, etiquettes);
            }
            bloc = Bloc();
            etiquettes.clear();
        };
        for (qsizetype i = 0; i <= lignes->size(); ++i) {
            const QString ligne = i < lignes->size() ? lignes->at(i) : QString();
            const QString nette = ligne.trimmed();
            const int numero = static_cast<int>(i) + 1;
            if (nette.startsWith(u"//")) {
                for (const QRegularExpressionMatch& m : etiquette.globalMatch(nette)) {
                    etiquettes << m.captured(1);
                }
                continue;
            }
            if (i == lignes->size() || (nette.isEmpty() && !ouvert)) {
                finir();
                continue;
            }
            if (nette.startsWith(u"$CATEGORY:") && bloc.texte.isEmpty()) {
                assembleur_.categorie(nette.mid(10).trimmed(), numero);
                continue;
            }
            const qsizetype debut = bloc.texte.size();
            bloc.ajouter(ligne, numero);
            for (qsizetype j = debut; j < bloc.texte.size(); ++j) {
                ouvert = bloc.est(j, u'{') || (ouvert && !bloc.est(j, u'}'));
            }
        }
    } catch (const ErreurGift& e) {
        ResultatImport echec;
        echec.erreur = QStringLiteral("%1, ligne %2 : %3").arg(nomFichier_, QString::number(e.ligne), e.texte);
        return echec;
    }
    return assembleur_.terminer();
}

void LecteurGift::question(const Bloc& b, QStringList etiquettes) {
    const qsizetype fin = b.texte.size();
    qsizetype i = 0;
    while (i < fin && b.texte[i].isSpace()) {
        ++i;
    }
    QuestionLue q;
    q.ligne = b.ligne(i);
    q.etiquettes = std::move(etiquettes);
    if (b.est(i, u':') && b.est(i + 1, u':')) {
        qsizetype j = i + 2;
        while (j < fin && !(b.est(j, u':') && b.est(j + 1, u':'))) {
            ++j;
        }
        if (j >= fin) {
            throw ErreurGift{q.ligne, QStringLiteral("titre sans « :: » de fin (écrire \\: pour un deux-points)")};
        }
        q.titre = texteSimple(QStringView(b.texte).mid(i + 2, j - i - 2));
        i = j + 2;
    }
    while (i < fin && b.texte[i].isSpace()) {
        ++i;
    }
    format_.clear();
    static const QRegularExpression marque(QStringLiteral("^\\[(html|plain|markdown|moodle)\\]"));
    if (const auto m = marque.match(QStringView(b.texte).mid(i)); m.hasMatch() && b.est(i, u'[')) {
        format_ = m.captured(1);
        i += m.capturedLength();
    }
    const qsizetype ouverture = b.chercher(u'{', i, fin);
    const qsizetype fermeture = ouverture < 0 ? -1 : b.chercher(u'}', ouverture + 1, fin);
    if (const qsizetype seule = b.chercher(u'}', i, ouverture < 0 ? fin : ouverture); seule >= 0) {
        throw ErreurGift{b.ligne(seule), QStringLiteral("« } » sans « { » (écrire \\} pour une accolade)")};
    }
    if (ouverture < 0) {
        assembleur_.ecarter(q.ligne, q.titre, texte(b, i, fin),
                            QStringLiteral("description sans réponses (aucun bloc « { … } »)"));
        return;
    }
    const qsizetype encore = b.chercher(u'{', ouverture + 1, fin);
    if (fermeture < 0 || (encore >= 0 && encore < fermeture)) {
        throw ErreurGift{b.ligne(ouverture), QStringLiteral("« { » sans « } » (écrire \\{ pour une accolade)")};
    }
    if (encore >= 0) {
        throw ErreurGift{b.ligne(encore), QStringLiteral("second « { » : une question n'a qu'un bloc de réponses "
                                                         "(écrire \\{ pour une accolade)")};
    }
    if (const qsizetype encore = b.chercher(u'}', fermeture + 1, fin); encore >= 0) {
        throw ErreurGift{b.ligne(encore), QStringLiteral("« } » sans « { » (écrire \\} pour une accolade)")};
    }
    q.texte = texte(b, i, ouverture);
    if (const QString suite = texte(b, fermeture + 1, fin); !suite.isEmpty()) {
        q.texte = texteSimple(QString(q.texte + QStringLiteral(" _____ ") + suite));
    }
    reponses(b, ouverture + 1, fermeture, q);
}

void LecteurGift::reponses(const Bloc& b, qsizetype debut, qsizetype fin, QuestionLue& q) {
    const QString contenu = b.texte.mid(debut, fin - debut).trimmed();
    while (debut < fin && b.texte[debut].isSpace()) {
        ++debut;
    }
    const auto ecarter = [&](const QString& raison) { assembleur_.ecarter(q.ligne, q.titre, q.texte, raison); };
    static const QRegularExpression vraiFaux(QStringLiteral("^(T|TRUE|F|FALSE)\\s*(#.*)?$"),
                                             QRegularExpression::CaseInsensitiveOption |
                                                 QRegularExpression::DotMatchesEverythingOption);
    bool fleche = false;
    for (qsizetype i = debut; i + 1 < fin; ++i) {
        fleche = fleche || (b.est(i, u'-') && b.est(i + 1, u'>'));
    }
    if (contenu.isEmpty()) {
        ecarter(QStringLiteral("question à réponse libre (essay), non prise en charge"));
    } else if (b.est(debut, u'#')) {
        ecarter(QStringLiteral("question numérique, non prise en charge"));
    } else if (b.est(debut, u'>')) {
        ordre(b, debut + 1, fin, q);
    } else if (const auto m = vraiFaux.match(contenu); m.hasMatch() && !b.echappe[debut]) {
        const bool vrai = m.captured(1).startsWith(u'T', Qt::CaseInsensitive);
        q.reponses = {{QStringLiteral("Vrai"), vrai ? 1 : 0}, {QStringLiteral("Faux"), vrai ? 0 : 1}};
        assembleur_.ajouter(std::move(q));
    } else if (fleche) {
        ecarter(QStringLiteral("question d'appariement (->), non prise en charge"));
    } else if (b.chercher(u'~', debut, fin) >= 0) {
        choix(b, debut, fin, q);
    } else if (b.chercher(u'=', debut, fin) >= 0) {
        ecarter(QStringLiteral("question à réponse courte (sans « ~ »), non prise en charge"));
    } else {
        throw ErreurGift{b.ligne(debut), QStringLiteral("réponses sans « = » ni « ~ » (écrire \\= ou \\~ pour le "
                                                        "caractère)")};
    }
}

// Multiple choice: each answer starts with '=' (right) or '~' (wrong), then an optional %weight%; '#' starts
// its feedback.
void LecteurGift::choix(const Bloc& b, qsizetype debut, qsizetype fin, QuestionLue& q) {
    std::vector<qsizetype> marques;
    for (qsizetype i = debut; i < fin; ++i) {
        if (b.est(i, u'=') || b.est(i, u'~')) {
            marques.push_back(i);
        }
    }
    if (marques.front() != debut) {
        throw ErreurGift{b.ligne(debut), QStringLiteral("texte avant la première réponse (« = » ou « ~ » attendu)")};
    }
    marques.push_back(fin);
    for (std::size_t k = 0; k + 1 < marques.size(); ++k) {
        qsizetype i = marques[k] + 1;
        const qsizetype suivante = marques[k + 1];
        bool coche = b.texte[marques[k]] == u'=';
        if (b.est(i, u'%')) {
            const qsizetype finPoids = b.chercher(u'%', i + 1, suivante);
            bool ok = false;
            const double poids = finPoids < 0 ? 0 : b.texte.mid(i + 1, finPoids - i - 1).toDouble(&ok);
            if (!ok) {
                throw ErreurGift{b.ligne(i), QStringLiteral("poids incorrect (« %50% » ou « %-25% » attendu)")};
            }
            coche = poids > 0;
            i = finPoids + 1;
        }
        const qsizetype retour = b.chercher(u'#', i, suivante);
        q.reponses.push_back({texte(b, i, retour < 0 ? suivante : retour), coche ? 1 : 0});
    }
    assembleur_.ajouter(std::move(q));
}

// The ordering plug-in: ">count [select] [layout] [grading] [show]" then one answer a line, in the right order.
void LecteurGift::ordre(const Bloc& b, qsizetype debut, qsizetype fin, QuestionLue& q) {
    static const QRegularExpression entete(
        QStringLiteral("^\\s*\\d+(?:[ \\t]+(?:ALL|EXACT|RANDOM|REL|CONTIGUOUS|CONTIG)(?=\\s|$))?"
                       "(?:[ \\t]+(?:HORIZONTAL|HORI|H|1|VERTICAL|VERT|V|0)(?=\\s|$))?"
                       "(?:[ \\t]+(?:ALL_OR_NOTHING|ABSOLUTE_POSITION|ABSOLUTE|ABS|RELATIVE_NEXT_EXCLUDE_LAST|"
                       "RELATIVE_NEXT_INCLUDE_LAST|RELATIVE_ONE_PREVIOUS_AND_NEXT|RELATIVE_ALL_PREVIOUS_AND_NEXT|"
                       "RELATIVE_TO_CORRECT|RELATIVE|REL|LONGEST_ORDERED_SUBSET|LONGEST_CONTIGUOUS_SUBSET)(?=\\s|$))?"
                       "(?:[ \\t]+(?:SHOW|TRUE|YES|1|HIDE|FALSE|NO|0)(?=\\s|$))?(?=\\s|$)"));
    const auto m = entete.match(QStringView(b.texte).mid(debut, fin - debut));
    if (!m.hasMatch()) {
        throw ErreurGift{b.ligne(debut), QStringLiteral("question à remettre dans l'ordre : « >nombre » attendu "
                                                        "après « { »")};
    }
    q.qcm = false;
    qsizetype i = debut + m.capturedLength();
    while (i < fin) {
        qsizetype finLigne = b.chercher(u'\n', i, fin);
        finLigne = finLigne < 0 ? fin : finLigne;
        if (const QString element = texte(b, i, finLigne); !element.isEmpty()) {
            q.reponses.push_back({element, static_cast<int>(q.reponses.size()) + 1});
        }
        i = finLigne + 1;
    }
    placerReponsesOrdre(q);
    assembleur_.ajouter(std::move(q));
}

} // namespace

ResultatImport importerGift(const QByteArray& donnees, const QString& nomFichier) {
    return LecteurGift(nomFichier).lire(donnees);
}

} // namespace kelvane::banques
