#include "classe/modeleclasse.h"

#include "results/verdict.h"

#include <QBrush>
#include <QColor>
#include <QDir>
#include <QLocale>
#include <cmath>

namespace kelvane::classe {

namespace {

const QColor kVert(0, 110, 40);
const QColor kRouge(170, 20, 20);

QString texteMode(bool examen) {
    return examen ? QStringLiteral("Examen") : QStringLiteral("Entraînement");
}

QVariant partTri(const std::optional<double>& pourcentage) {
    return pourcentage ? QVariant(*pourcentage) : QVariant();
}

const bilan::PourcentageChapitre* chapitre(const bilan::Passage& p, int numero) {
    for (const bilan::PourcentageChapitre& c : p.chapitres) {
        if (c.numero == numero) {
            return &c;
        }
    }
    return nullptr;
}

} // namespace

QString texteCoupe(const std::optional<double>& pourcentage) {
    if (!pourcentage) {
        return QStringLiteral("—");
    }
    return QString::number(static_cast<int>(std::floor(*pourcentage))) + QStringLiteral("\u00a0%");
}

ModeleClasse::ModeleClasse(QObject* parent) : QAbstractTableModel(parent) {
    setObjectName(QStringLiteral("modeleClasse"));
}

void ModeleClasse::charger(const bilan::Classe* classe) {
    beginResetModel();
    classe_ = classe;
    testChapitres_.clear();
    chapitres_.clear();
    endResetModel();
}

void ModeleClasse::montrerChapitres(const QString& test) {
    std::vector<bilan::PourcentageChapitre> chapitres;
    if (classe_ != nullptr && !test.isEmpty()) {
        const auto trouve = classe_->chapitresParTest.find(test);
        if (trouve != classe_->chapitresParTest.end()) {
            chapitres = trouve->second;
        }
    }
    beginResetModel();
    testChapitres_ = chapitres.empty() ? QString() : test;
    chapitres_ = std::move(chapitres);
    endResetModel();
}

const bilan::Passage& ModeleClasse::passage(int ligne) const {
    return classe_->passages.at(static_cast<std::size_t>(ligne));
}

int ModeleClasse::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || classe_ == nullptr ? 0 : static_cast<int>(classe_->passages.size());
}

int ModeleClasse::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : NbColonnesFixes + static_cast<int>(chapitres_.size());
}

QVariant ModeleClasse::valeur(const bilan::Passage& p, int colonne, bool pourTri) const {
    switch (colonne) {
    case Nom:
        return p.nom;
    case Prenom:
        return p.prenom;
    case Classe:
        return p.classe;
    case Test:
        return p.test;
    case Mode:
        return texteMode(p.examen);
    case Date:
        if (pourTri) {
            return p.jour.isValid() ? QVariant(p.jour) : QVariant();
        }
        return p.jour.isValid() ? p.jour.toString(QStringLiteral("dd/MM/yyyy")) : p.date;
    case Bonnes:
        return p.bonnes;
    case Repondues:
        return p.repondues;
    case Questions:
        return p.total;
    case Pourcentage:
        return pourTri ? QVariant(p.pourcentage) : QVariant(texteCoupe(p.pourcentage));
    case Verdict:
        return pourTri ? QVariant(p.reussi ? 1 : 0) : QVariant(results::texteVerdict(p.reussi));
    default:
        break;
    }
    if (colonne < NbColonnesFixes) {
        const auto& part = p.niveaux.at(static_cast<std::size_t>(colonne - B0));
        return pourTri ? partTri(part) : QVariant(texteCoupe(part));
    }
    const auto& numero = chapitres_.at(static_cast<std::size_t>(colonne - NbColonnesFixes)).numero;
    const bilan::PourcentageChapitre* c = p.test == testChapitres_ ? chapitre(p, numero) : nullptr;
    const std::optional<double> part = c != nullptr ? c->pourcentage : std::nullopt;
    return pourTri ? partTri(part) : QVariant(texteCoupe(part));
}

QVariant ModeleClasse::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || classe_ == nullptr) {
        return {};
    }
    const bilan::Passage& p = passage(index.row());
    const int colonne = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return valeur(p, colonne, false);
    case RoleTri:
        return valeur(p, colonne, true);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(colonne >= Bonnes && colonne != Verdict ? Qt::AlignRight | Qt::AlignVCenter
                                                                           : Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        if (colonne == Verdict || colonne == Pourcentage) {
            return QBrush(p.reussi ? kVert : kRouge);
        }
        return {};
    case Qt::ToolTipRole:
        return QDir::toNativeSeparators(p.fichier);
    default:
        return {};
    }
}

QVariant ModeleClasse::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static const std::array<QString, B0> titres = {
        QStringLiteral("Nom"),       QStringLiteral("Prénom"), QStringLiteral("Classe"), QStringLiteral("Test"),
        QStringLiteral("Mode"),      QStringLiteral("Date"),   QStringLiteral("Bonnes"), QStringLiteral("Répondues"),
        QStringLiteral("Questions"), QStringLiteral("%"),      QStringLiteral("Verdict")};
    static const std::array<QString, B0> aides = {
        QString(),
        QString(),
        QString(),
        QString(),
        QString(),
        QStringLiteral("Date du dernier passage enregistrée dans le fichier"),
        QStringLiteral("Bonnes réponses"),
        QStringLiteral("Questions où le candidat a coché ou classé au moins une réponse"),
        QStringLiteral("Questions du test"),
        QStringLiteral("Pourcentage de bonnes réponses"),
        QStringLiteral("Résultat par rapport au seuil de réussite du fichier")};
    if (section < B0) {
        const auto i = static_cast<std::size_t>(section);
        return role == Qt::DisplayRole ? titres.at(i) : (aides.at(i).isEmpty() ? titres.at(i) : aides.at(i));
    }
    if (section < NbColonnesFixes) {
        const QString niveau = data::kNiveaux.at(static_cast<std::size_t>(section - B0));
        return role == Qt::DisplayRole ? niveau : QStringLiteral("Bonnes réponses au niveau %1").arg(niveau);
    }
    const bilan::PourcentageChapitre& c = chapitres_.at(static_cast<std::size_t>(section - NbColonnesFixes));
    return role == Qt::DisplayRole ? QStringLiteral("Ch. %1").arg(c.numero)
                                   : QStringLiteral("Chapitre %1 : %2").arg(c.numero).arg(c.nom);
}

FiltreClasse::FiltreClasse(ModeleClasse* source, QObject* parent)
    : QSortFilterProxyModel(parent), source_(source), collation_(QLocale(QLocale::French, QLocale::France)) {
    setObjectName(QStringLiteral("lignesFiltrees"));
    collation_.setCaseSensitivity(Qt::CaseInsensitive);
    collation_.setNumericMode(true);
    setSourceModel(source);
    setSortRole(ModeleClasse::RoleTri);
    connect(source, &QAbstractItemModel::modelReset, this, &FiltreClasse::recalculer);
    recalculer();
}

void FiltreClasse::appliquer(const bilan::Filtre& filtre) {
    filtre_ = filtre;
    recalculer();
}

void FiltreClasse::recalculer() {
    const bilan::Classe* classe = source_->classe();
    acceptees_.assign(classe != nullptr ? classe->passages.size() : 0, false);
    if (classe != nullptr && !classe->passages.empty()) {
        const bilan::Passage* premier = classe->passages.data();
        for (const bilan::Passage* p : bilan::filtrer(*classe, filtre_)) {
            acceptees_.at(static_cast<std::size_t>(p - premier)) = true;
        }
    }
    invalidateFilter();
}

bilan::Selection FiltreClasse::selection() const {
    bilan::Selection lignes;
    lignes.reserve(static_cast<std::size_t>(rowCount()));
    for (int i = 0; i < rowCount(); ++i) {
        lignes.push_back(&source_->passage(mapToSource(index(i, 0)).row()));
    }
    return lignes;
}

bool FiltreClasse::filterAcceptsRow(int ligne, const QModelIndex& parent) const {
    const auto i = static_cast<std::size_t>(ligne);
    return !parent.isValid() && i < acceptees_.size() && acceptees_[i];
}

bool FiltreClasse::lessThan(const QModelIndex& gauche, const QModelIndex& droite) const {
    const QVariant a = gauche.data(ModeleClasse::RoleTri);
    const QVariant b = droite.data(ModeleClasse::RoleTri);
    if (!a.isValid() || !b.isValid()) {
        return !a.isValid() && b.isValid(); // nothing sorts below every value
    }
    if (a.typeId() == QMetaType::QString) {
        return collation_.compare(a.toString(), b.toString()) < 0;
    }
    if (a.typeId() == QMetaType::QDate) {
        return a.toDate() < b.toDate();
    }
    return a.toDouble() < b.toDouble();
}

} // namespace kelvane::classe
