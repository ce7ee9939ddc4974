#include "edition/testedite.h"

#include "data/ecriture.h"
#include "data/format.h"
#include "data/images.h"
#include "data/reglesfichiers.h"
#include "edition/commandes.h"
#include "platform/error.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <numeric>

namespace kelvane::edition {

namespace {
constexpr int kMaxNumero = 32767;
} // namespace

TestEdite::TestEdite(QObject* parent) : QObject(parent) {}

TestEdite::~TestEdite() {
    // The commands refer to this object: they go first.
    pile_.clear();
}

std::optional<QString> TestEdite::ouvrir(const QString& chemin) {
    // Taken before the reading: a change made meanwhile is seen as a change at the next save.
    const Empreinte empreinte = Empreinte::de(chemin);
    try {
        auto lu = data::lireTest(chemin);
        if (const auto* refus = std::get_if<data::TestRefuse>(&lu)) {
            return refus->message;
        }
        charger(std::get<data::Test>(std::move(lu)), chemin);
    } catch (const Error& e) {
        return QStringLiteral("Le fichier « %1 » ne peut pas être lu comme un test : %2")
            .arg(QDir::toNativeSeparators(chemin), e.text());
    }
    empreinte_ = empreinte;
    return std::nullopt;
}

void TestEdite::nouveau(const QString& chemin) {
    data::Test test;
    test.fichier = QFileInfo(chemin).fileName();
    test.nom = data::nomTestDeFichier(test.fichier);
    test.temps = 600;
    test.tolerance = 70;
    test.chapitres = {{QStringLiteral("Généralités"), 1}};
    charger(std::move(test), chemin);
    empreinte_ = Empreinte{}; // no file yet: one found at the save was made meanwhile
}

void TestEdite::charger(data::Test test, const QString& chemin) {
    pile_.clear();
    chemin_ = chemin;
    test_ = std::move(test);
    // Under edit, the pictures follow their records; they are filed by number again when the test is written.
    images_.assign(test_.questions.size(), {});
    for (std::size_t i = 0; i < test_.questions.size(); ++i) {
        bool lu = false;
        const int n = test_.questions[i][data::champ::Numero].toInt(&lu);
        if (const auto it = test_.images.find(n); lu && it != test_.images.end()) {
            images_[i] = it->second;
        }
    }
    test_.images.clear();
    empreinte_ = Empreinte::de(chemin);
    emit parametresChanges();
    emit chapitresChanges();
    emit questionsChangees();
}

std::optional<QString> TestEdite::nomChapitre(int numero) const {
    std::optional<QString> nom;
    for (const data::Test::Chapitre& c : test_.chapitres) {
        if (!c.numero.isNull() && c.numero.toInt() == numero) {
            nom = c.nom.toString();
        }
    }
    return nom;
}

std::vector<int> TestEdite::ordre() const {
    std::vector<int> places(test_.questions.size());
    std::iota(places.begin(), places.end(), 0);
    std::stable_sort(places.begin(), places.end(),
                     [this](int a, int b) { return numero(question(a)) < numero(question(b)); });
    return places;
}

int TestEdite::placeAuTableau(int i) const {
    const std::vector<int> places = ordre();
    const auto trouvee = std::find(places.begin(), places.end(), i);
    return trouvee != places.end() ? static_cast<int>(trouvee - places.begin()) : -1;
}

int TestEdite::tempsTest() const {
    return test_.temps.isNull() ? 0 : test_.temps.toInt();
}

int TestEdite::tolerance() const {
    return test_.tolerance.isNull() ? 0 : test_.tolerance.toInt();
}

bool TestEdite::modifieSurDisque() const {
    return !empreinte_.memeContenu(Empreinte::de(chemin_));
}

data::Test TestEdite::testAEcrire() const {
    data::Test test = test_;
    for (std::size_t i = 0; i < images_.size(); ++i) {
        bool lu = false;
        const int n = test_.questions[i][data::champ::Numero].toInt(&lu);
        if (lu && images_[i].nombre() > 0) {
            test.images[n] = images_[i];
        }
    }
    return test;
}

namespace {
QString placeImage(int place) {
    return place == 0 ? QStringLiteral("l'image de la question")
                      : QStringLiteral("l'image de la réponse %1").arg(place);
}
} // namespace

std::vector<data::Probleme> TestEdite::problemes() const {
    std::vector<data::Probleme> problemes = data::controlerTest(test_);
    QHash<QByteArray, QString> lectures;
    for (int i = 0; i < nbQuestions(); ++i) {
        const int nbReponses = edition::nbReponses(question(i));
        for (int place = 0; place < data::kPlacesImage; ++place) {
            const std::optional<data::Image>& image = images(i).place(place);
            if (!image) {
                continue;
            }
            QString message;
            if (place > nbReponses) {
                message = QStringLiteral("%1 n'a plus de réponse (la question en a %2) : retirez-la")
                              .arg(placeImage(place))
                              .arg(nbReponses);
            } else if (const QString refus = data::refusImage(*image); !refus.isEmpty()) {
                message = QStringLiteral("%1 : %2").arg(placeImage(place), refus);
            } else if (lecture_) {
                const auto deja = lectures_.constFind(image->octets);
                const QString lu = deja != lectures_.cend() ? *deja : lecture_(image->octets);
                lectures.insert(image->octets, lu);
                if (!lu.isEmpty()) {
                    message = QStringLiteral("%1 (« %2 ») est illisible : %3").arg(placeImage(place), image->nom, lu);
                }
            }
            if (!message.isEmpty()) {
                problemes.push_back({i, message});
            }
        }
    }
    lectures_ = std::move(lectures);
    return problemes;
}

void TestEdite::enregistrer() {
    data::ecrireTest(testAEcrire(), chemin_, platform::IfExists::Replace);
    empreinte_ = Empreinte::de(chemin_);
    pile_.setClean();
}

// ---- Settings

void TestEdite::changerTemps(int secondes) {
    if (tempsTest() != secondes || test_.temps.isNull()) {
        pile_.push(new CommandeParametres(*this, CommandeParametres::Temps, secondes, saisie_));
    }
}

void TestEdite::changerTolerance(int pourcent) {
    if (tolerance() != pourcent || test_.tolerance.isNull()) {
        pile_.push(new CommandeParametres(*this, CommandeParametres::Tolerance, pourcent, saisie_));
    }
}

// ---- Chapters

int TestEdite::ajouterChapitre() {
    int numero = 0;
    for (const data::Test::Chapitre& c : test_.chapitres) {
        numero = std::max(numero, c.numero.toInt());
    }
    numero = std::min(numero + 1, kMaxNumero);
    auto chapitres = test_.chapitres;
    chapitres.push_back({QStringLiteral("Chapitre %1").arg(numero), numero});
    pile_.push(new CommandeChapitres(*this, std::move(chapitres), QStringLiteral("Ajouter un chapitre")));
    return static_cast<int>(test_.chapitres.size()) - 1;
}

void TestEdite::renommerChapitre(int indice, const QString& nom) {
    auto chapitres = test_.chapitres;
    if (!estChapitre(indice) || chapitres[static_cast<std::size_t>(indice)].nom.toString() == nom) {
        return;
    }
    chapitres[static_cast<std::size_t>(indice)].nom = nom;
    pile_.push(new CommandeChapitres(*this, std::move(chapitres), QStringLiteral("Renommer un chapitre")));
}

std::optional<QString> TestEdite::renumeroterChapitre(int indice, int numero) {
    if (!estChapitre(indice)) {
        return std::nullopt;
    }
    const data::Test::Chapitre& chapitre = test_.chapitres[static_cast<std::size_t>(indice)];
    const int ancien = chapitre.numero.toInt();
    if (ancien == numero && !chapitre.numero.isNull()) {
        return std::nullopt;
    }
    if (numero < 1 || numero > kMaxNumero) {
        return QStringLiteral("Un chapitre est numéroté de 1 à %1.").arg(kMaxNumero);
    }
    for (const data::Test::Chapitre& c : test_.chapitres) {
        if (!c.numero.isNull() && c.numero.toInt() == numero) {
            return QStringLiteral("Le numéro %1 est déjà celui du chapitre « %2 ».").arg(numero).arg(c.nom.toString());
        }
    }
    // The questions follow their chapter, unless another chapter also carries the old number.
    const bool seul = std::count_if(test_.chapitres.begin(), test_.chapitres.end(), [&](const auto& c) {
                          return !c.numero.isNull() && c.numero.toInt() == ancien;
                      }) == 1;
    std::vector<int> questions;
    for (int i = 0; seul && !chapitre.numero.isNull() && i < nbQuestions(); ++i) {
        if (!question(i)[data::champ::Chapitre].isNull() && edition::chapitre(question(i)) == ancien) {
            questions.push_back(i);
        }
    }
    auto chapitres = test_.chapitres;
    chapitres[static_cast<std::size_t>(indice)].numero = numero;
    pile_.push(new CommandeChapitres(*this, std::move(chapitres), QStringLiteral("Renuméroter un chapitre"),
                                     std::move(questions), numero));
    return std::nullopt;
}

std::optional<QString> TestEdite::supprimerChapitre(int indice) {
    if (!estChapitre(indice)) {
        return std::nullopt;
    }
    const data::Test::Chapitre& chapitre = test_.chapitres[static_cast<std::size_t>(indice)];
    const int numero = chapitre.numero.toInt();
    const bool seul = std::count_if(test_.chapitres.begin(), test_.chapitres.end(), [&](const auto& c) {
                          return !c.numero.isNull() && c.numero.toInt() == numero;
                      }) == 1;
    if (seul && !chapitre.numero.isNull()) {
        const auto utilisees =
            std::count_if(test_.questions.begin(), test_.questions.end(), [&](const QuestionTest& q) {
                return !q[data::champ::Chapitre].isNull() && edition::chapitre(q) == numero;
            });
        if (utilisees > 0) {
            return QStringLiteral("Le chapitre « %1 » ne peut pas être supprimé : %2 question%3 %4 encore.")
                .arg(chapitre.nom.toString())
                .arg(utilisees)
                .arg(utilisees > 1 ? QStringLiteral("s") : QString())
                .arg(utilisees > 1 ? QStringLiteral("y sont") : QStringLiteral("y est"));
        }
    }
    auto chapitres = test_.chapitres;
    chapitres.erase(chapitres.begin() + indice);
    pile_.push(new CommandeChapitres(*this, std::move(chapitres), QStringLiteral("Supprimer un chapitre")));
    return std::nullopt;
}

// ---- Questions

int TestEdite::ajouterQuestion(int apres) {
    if (apres < 0 || apres >= nbQuestions()) {
        apres = nbQuestions() > 0 ? ordre().back() : -1;
    }
    QuestionTest q;
    if (apres >= 0) {
        std::array<bool, data::NbNiveaux> niveaux{};
        for (int k = 0; k < data::NbNiveaux; ++k) {
            niveaux[static_cast<std::size_t>(k)] = niveau(question(apres), k);
        }
        q = nouvelleQuestion(chapitre(question(apres)), niveaux);
    } else {
        q = nouvelleQuestion(test_.chapitres.empty() ? 1 : test_.chapitres.front().numero.toInt());
    }
    pile_.push(new CommandeListe(*this, CommandeListe::Genre::Insertion, apres + 1, -1, std::move(q)));
    return apres + 1;
}

int TestEdite::dupliquerQuestion(int indice) {
    if (!estQuestion(indice)) {
        return -1;
    }
    pile_.push(
        new CommandeListe(*this, CommandeListe::Genre::Insertion, indice + 1, -1, question(indice), images(indice)));
    return indice + 1;
}

void TestEdite::supprimerQuestion(int indice) {
    if (!estQuestion(indice)) {
        return;
    }
    pile_.push(new CommandeListe(*this, CommandeListe::Genre::Suppression, indice));
}

int TestEdite::deplacerQuestion(int indice, int sens) {
    const int voisine = placeAuTableau(indice) + (sens < 0 ? -1 : 1);
    if (!estQuestion(indice) || voisine < 0 || voisine >= nbQuestions()) {
        return indice;
    }
    const int cible = ordre()[static_cast<std::size_t>(voisine)];
    pile_.push(new CommandeListe(*this, CommandeListe::Genre::Deplacement, indice, cible));
    return cible;
}

void TestEdite::renumeroter() {
    if (!numerosSuiventOrdre()) {
        pile_.push(new CommandeListe(*this, CommandeListe::Genre::Renumerotation, 0));
    }
}

void TestEdite::renumeroterSelonLeTableau() {
    if (!numerosSuiventLeTableau()) {
        pile_.push(new CommandeListe(*this, CommandeListe::Genre::RenumerotationTableau, 0));
    }
}

void TestEdite::modifierQuestion(int indice, const QuestionTest& nouvelle, int saisie) {
    if (estQuestion(indice) && !memeQuestion(question(indice), nouvelle)) {
        pile_.push(new CommandeQuestion(*this, indice, question(indice), nouvelle, saisie, saisie_));
    }
}

void TestEdite::changerImage(int indice, int place, std::optional<data::Image> image) {
    if (estQuestion(indice) && place >= 0 && place < data::kPlacesImage && images(indice).place(place) != image) {
        pile_.push(new CommandeImage(*this, indice, place, std::move(image)));
    }
}

// ---- What the commands change

void TestEdite::poserQuestion(int i, const QuestionTest& q) {
    test_.questions[static_cast<std::size_t>(i)] = q;
    emit questionChangee(i);
}

void TestEdite::poserNumeros(const std::vector<QVariant>& numeros) {
    for (std::size_t i = 0; i < numeros.size() && i < test_.questions.size(); ++i) {
        test_.questions[i][data::champ::Numero] = numeros[i];
    }
}

std::vector<QVariant> TestEdite::numeros() const {
    std::vector<QVariant> n;
    n.reserve(test_.questions.size());
    for (const QuestionTest& q : test_.questions) {
        n.push_back(q[data::champ::Numero]);
    }
    return n;
}

bool TestEdite::numerosSuiventLeTableau() const {
    const std::vector<int> places = ordre();
    for (std::size_t k = 0; k < places.size(); ++k) {
        const QuestionTest& q = question(places[k]);
        if (q[data::champ::Numero].isNull() || numero(q) != static_cast<int>(k) + 1) {
            return false;
        }
    }
    return true;
}

bool TestEdite::numerosSuiventOrdre() const {
    for (int i = 0; i < nbQuestions(); ++i) {
        if (question(i)[data::champ::Numero].isNull() || numero(question(i)) != i + 1) {
            return false;
        }
    }
    return true;
}

} // namespace kelvane::edition
