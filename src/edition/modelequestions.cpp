#include "edition/modelequestions.h"

#include "edition/question.h"
#include "edition/testedite.h"

namespace kelvane::edition {

ModeleQuestions::ModeleQuestions(TestEdite& test, QObject* parent) : QAbstractTableModel(parent), test_(test) {
    // The test has changed when its signals come: a reset or a change of data is all a view needs.
    connect(&test_, &TestEdite::questionsChangees, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(&test_, &TestEdite::questionChangee, this,
            [this](int i) { emit dataChanged(index(i, 0), index(i, NbColonnes - 1)); });
    connect(&test_, &TestEdite::chapitresChanges, this, [this] {
        if (rowCount() > 0) {
            emit dataChanged(index(0, Chapitre), index(rowCount() - 1, Chapitre));
        }
    });
}

int ModeleQuestions::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : test_.nbQuestions();
}

int ModeleQuestions::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : NbColonnes;
}

QVariant ModeleQuestions::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= test_.nbQuestions()) {
        return {};
    }
    const QuestionTest& q = test_.question(index.row());
    if (role == Qt::TextAlignmentRole && index.column() == Numero) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::AccessibleTextRole) {
        return {};
    }
    switch (index.column()) {
    case Numero:
        return numero(q);
    case Chapitre: {
        const auto nom = test_.nomChapitre(chapitre(q));
        return nom ? QStringLiteral("%1 %2").arg(chapitre(q)).arg(*nom) : QString::number(chapitre(q));
    }
    case Niveaux:
        return niveaux(q);
    case Genre:
        return estQcm(q) ? QStringLiteral("Cases") : QStringLiteral("Ordre");
    case Texte:
        return texte(q);
    default:
        return {};
    }
}

QVariant ModeleQuestions::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
    case Numero:
        return QStringLiteral("N°");
    case Chapitre:
        return QStringLiteral("Chapitre");
    case Niveaux:
        return QStringLiteral("Niveaux");
    case Genre:
        return QStringLiteral("Type");
    case Texte:
        return QStringLiteral("Texte");
    default:
        return {};
    }
}

FiltreQuestions::FiltreQuestions(ModeleQuestions& modele, QObject* parent)
    : QSortFilterProxyModel(parent), modele_(modele) {
    setSourceModel(&modele);
    sort(ModeleQuestions::Numero);
}

void FiltreQuestions::setChapitre(int numero) {
    chapitre_ = numero;
    invalidateFilter();
}

void FiltreQuestions::setNiveau(int niveau) {
    niveau_ = niveau;
    invalidateFilter();
}

bool FiltreQuestions::filterAcceptsRow(int ligne, const QModelIndex&) const {
    const QuestionTest& q = modele_.test().question(ligne);
    return (chapitre_ == 0 || chapitre(q) == chapitre_) && (niveau_ < 0 || niveau(q, niveau_));
}

bool FiltreQuestions::lessThan(const QModelIndex& gauche, const QModelIndex& droite) const {
    const int a = numero(modele_.test().question(gauche.row()));
    const int b = numero(modele_.test().question(droite.row()));
    return a != b ? a < b : gauche.row() < droite.row();
}

} // namespace kelvane::edition
