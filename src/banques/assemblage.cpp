#include "banques/assemblage.h"

#include "data/controletest.h"
#include "data/fichierresultats.h"
#include "data/images.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cstdint>
#include <numeric>

namespace kelvane::banques {

namespace {

constexpr QChar kSeparateur = QChar(0x1F);
constexpr int kLongueurTitre = 40;
constexpr int kMaxQuestions = 32767; // the test file's numbers are 16-bit

// The parts of a Moodle category path after the context ("$course$", "$system$"...) and its "top", a "//" being
// a "/" of a name.
QStringList parties(const QString& chemin) {
    QStringList morceaux;
    QString morceau;
    for (qsizetype i = 0; i < chemin.size(); ++i) {
        if (chemin[i] != u'/') {
            morceau += chemin[i];
        } else if (i + 1 < chemin.size() && chemin[i + 1] == u'/') {
            morceau += u'/';
            ++i;
        } else {
            morceaux << morceau.trimmed();
            morceau.clear();
        }
    }
    morceaux << morceau.trimmed();
    morceaux.removeAll(QString());
    static const QRegularExpression contexte(QStringLiteral("^\\$[a-z0-9]*\\$$"));
    if (!morceaux.isEmpty() && contexte.match(morceaux.first()).hasMatch()) {
        morceaux.removeFirst();
        if (!morceaux.isEmpty() && morceaux.first() == u"top") {
            morceaux.removeFirst();
        }
    }
    return morceaux;
}

std::array<bool, data::NbNiveaux> niveaux(const QStringList& etiquettes) {
    std::array<bool, data::NbNiveaux> donnes{};
    bool un = false;
    for (const QString& etiquette : etiquettes) {
        for (std::size_t i = 0; i < data::kNiveaux.size(); ++i) {
            if (etiquette.trimmed().compare(data::kNiveaux[i], Qt::CaseInsensitive) == 0) {
                donnes[i] = true;
                un = true;
            }
        }
    }
    if (!un) {
        donnes.fill(true);
    }
    return donnes;
}

// The question alone in a test of its own, as the shared checks read it.
data::Test testDUneQuestion(const QuestionLue& q) {
    data::Test test;
    test.temps = 1;
    test.tolerance = 0;
    test.chapitres = {{QStringLiteral("chapitre"), 1}};
    data::QuestionTest ligne;
    ligne.fill(0);
    for (std::size_t i = 0; i < data::kNiveaux.size(); ++i) {
        ligne[data::champ::B0 + i] = true;
    }
    ligne[data::champ::Question] = q.texte;
    ligne[data::champ::NbreReponse] = static_cast<int>(q.reponses.size());
    for (std::size_t i = 0; i < q.reponses.size(); ++i) {
        ligne[data::champ::R1 + i] = q.reponses[i].text;
        ligne[data::champ::S1 + i] = q.reponses[i].expected;
    }
    ligne[data::champ::Qcm] = q.qcm;
    ligne[data::champ::Chapitre] = 1;
    ligne[data::champ::Numero] = 1;
    test.questions.push_back(std::move(ligne));
    return test;
}

// A permutation of 0..n-1 drawn from the texts (FNV-1a, then xorshift), never the identity when n > 1.
std::vector<int> permutation(const std::vector<source::Answer>& reponses) {
    std::uint64_t graine = 0xcbf29ce484222325ULL;
    for (const source::Answer& r : reponses) {
        for (const QChar c : r.text) {
            graine = (graine ^ c.unicode()) * 0x100000001b3ULL;
        }
    }
    std::vector<int> ordre(reponses.size());
    std::iota(ordre.begin(), ordre.end(), 0);
    for (std::size_t i = ordre.size(); i > 1; --i) {
        graine ^= graine << 13;
        graine ^= graine >> 7;
        graine ^= graine << 17;
        std::swap(ordre[i - 1], ordre[graine % i]);
    }
    if (std::is_sorted(ordre.begin(), ordre.end())) {
        std::rotate(ordre.begin(), ordre.begin() + 1, ordre.end());
    }
    return ordre;
}

} // namespace

void placerReponsesOrdre(QuestionLue& q, const std::vector<int>& positions) {
    const std::size_t n = q.reponses.size();
    std::vector<int> places; // of each answer, 0-based
    for (const int p : positions) {
        places.push_back(p - 1);
    }
    std::vector<int> triees = places;
    std::sort(triees.begin(), triees.end());
    std::vector<int> identite(n);
    std::iota(identite.begin(), identite.end(), 0);
    if (places.size() != n || triees != identite || places == identite) {
        places = permutation(q.reponses);
    }
    if (n > q.images.reponses.size()) {
        return; // refused for its number of answers: nothing to place
    }
    std::vector<source::Answer> reponses(n);
    decltype(q.images.reponses) images;
    for (std::size_t i = 0; i < n; ++i) {
        const auto place = static_cast<std::size_t>(places[i]);
        reponses[place] = std::move(q.reponses[i]);
        reponses[place].expected = static_cast<int>(i) + 1;
        images[place] = std::move(q.images.reponses[i]);
    }
    q.reponses = std::move(reponses);
    q.images.reponses = std::move(images);
}

QString titreCourt(const QString& titre, const QString& texte) {
    const QString t = titre.simplified();
    if (!t.isEmpty()) {
        return t;
    }
    const QString debut = texte.simplified();
    return debut.size() <= kLongueurTitre ? debut : debut.left(kLongueurTitre).trimmed() + QStringLiteral("…");
}

Assembleur::Assembleur(QString chapitreParDefaut) : chapitreParDefaut_(std::move(chapitreParDefaut)) {}

void Assembleur::categorie(const QString& chemin, int ligne) {
    const QStringList morceaux = parties(chemin);
    const QString cle = morceaux.join(kSeparateur);
    if (const auto meme = parCle_.constFind(cle); meme != parCle_.cend()) {
        courante_ = *meme;
        return;
    }
    const QString nom = morceaux.isEmpty() ? chapitreParDefaut_ : morceaux.last();
    courante_ = static_cast<int>(categories_.size());
    categories_.push_back({cle, nom, ligne, 0, 0, false});
    parCle_.insert(cle, courante_);
}

int Assembleur::categorieCourante() {
    if (courante_ < 0) {
        categories_.push_back({QString(), chapitreParDefaut_, 0, 0, 0, true});
        courante_ = static_cast<int>(categories_.size()) - 1;
    }
    return courante_;
}

std::optional<QString> Assembleur::raisonRefus(const QuestionLue& q) const {
    if (q.reponses.empty()) {
        return QStringLiteral("aucune réponse");
    }
    if (q.reponses.size() > static_cast<std::size_t>(data::NbReponsesMax)) {
        return QStringLiteral("%1 réponses, %2 au plus").arg(q.reponses.size()).arg(data::NbReponsesMax);
    }
    QStringList raisons = q.problemes;
    const auto image = [&](const std::optional<Image>& i) {
        if (i) {
            const QString refus = data::refusImage(*i);
            if (!refus.isEmpty()) {
                raisons << QStringLiteral("image %1").arg(refus);
            }
        }
    };
    image(q.images.question);
    for (const auto& i : q.images.reponses) {
        image(i);
    }
    for (const data::Probleme& p : data::controlerTest(testDUneQuestion(q))) {
        raisons << p.message;
    }
    if (raisons.isEmpty()) {
        return std::nullopt;
    }
    return raisons.join(QStringLiteral(" ; "));
}

void Assembleur::ajouter(QuestionLue q) {
    Categorie& categorie = categories_[static_cast<std::size_t>(categorieCourante())];
    ++categorie.vues;
    if (resultat_.source.questions.size() >= static_cast<std::size_t>(kMaxQuestions)) {
        q.problemes << QStringLiteral("au-delà des %1 questions qu'un test tient").arg(kMaxQuestions);
    }
    if (const auto raison = raisonRefus(q)) {
        resultat_.rapport.ecartees.push_back({q.ligne, titreCourt(q.titre, q.texte), *raison});
        return;
    }
    ++categorie.gardees;
    source::SourceQuestion kept;
    kept.line = q.ligne;
    kept.numero = static_cast<int>(resultat_.source.questions.size()) + 1;
    kept.chapitre = courante_; // the category's index until terminer() numbers the chapters
    kept.levels = niveaux(q.etiquettes);
    kept.qcm = q.qcm;
    kept.text = std::move(q.texte);
    kept.answers = std::move(q.reponses);
    if (q.images.nombre() > 0) {
        resultat_.images[kept.numero] = std::move(q.images);
    }
    resultat_.source.questions.push_back(std::move(kept));
}

void Assembleur::ecarter(int ligne, const QString& titre, const QString& texte, const QString& raison) {
    if (courante_ >= 0) {
        ++categories_[static_cast<std::size_t>(courante_)].vues;
    }
    resultat_.rapport.ecartees.push_back({ligne, titreCourt(titre, texte), raison});
}

ResultatImport Assembleur::terminer() {
    QSet<QString> parents; // every key that leads to another category's
    for (const Categorie& c : categories_) {
        for (qsizetype fin = c.cle.lastIndexOf(kSeparateur); fin > 0; fin = c.cle.lastIndexOf(kSeparateur, fin - 1)) {
            parents.insert(c.cle.left(fin));
        }
    }
    std::vector<int> numeros(categories_.size(), 0);
    int numero = 0;
    for (std::size_t i = 0; i < categories_.size(); ++i) {
        const Categorie& c = categories_[i];
        const bool vide = c.gardees == 0;
        if (vide && (c.vues > 0 || c.cle.isEmpty() || parents.contains(c.cle))) {
            continue;
        }
        numeros[i] = ++numero;
        QString nom = c.nom;
        if (nom.size() > data::TailleChapitre) {
            nom = nom.left(data::TailleChapitre).trimmed();
            resultat_.rapport.notes << QStringLiteral("chapitre %1 : nom « %2 » coupé à %3 caractères")
                                           .arg(QString::number(numero), c.nom, QString::number(data::TailleChapitre));
        }
        resultat_.source.chapters.push_back({c.ligne, numero, nom});
    }
    for (source::SourceQuestion& q : resultat_.source.questions) {
        q.chapitre = numeros[static_cast<std::size_t>(q.chapitre)];
    }
    return std::move(resultat_);
}

} // namespace kelvane::banques
