#include "editeur/panneauquestions.h"

#include "edition/modelequestions.h"
#include "edition/question.h"
#include "edition/testedite.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace kelvane::editeur {

namespace {
QPushButton* bouton(QWidget* parent, const QString& nom, const QString& texte, const QString& accessible) {
    auto* b = new QPushButton(texte, parent);
    b->setObjectName(nom);
    b->setAccessibleName(accessible);
    return b;
}
} // namespace

PanneauQuestions::PanneauQuestions(edition::TestEdite& test, QWidget* parent)
    : QGroupBox(QStringLiteral("&Questions"), parent), test_(test) {
    setObjectName(QStringLiteral("questions"));
    modele_ = new edition::ModeleQuestions(test_, this);
    filtre_ = new edition::FiltreQuestions(*modele_, this);
    QLayout* filtres = creerFiltres();
    creerTable();
    QLayout* boutons = creerBoutons();
    auto* colonne = new QVBoxLayout(this);
    colonne->addLayout(filtres);
    colonne->addWidget(vue_, 1);
    colonne->addLayout(boutons);

    setTabOrder(filtreChapitre_, filtreNiveau_);
    setTabOrder(filtreNiveau_, vue_);
    setTabOrder(vue_, ajouter_);
    relier();
    actualiserFiltres();
    activerBoutons();
}

QLayout* PanneauQuestions::creerFiltres() {
    filtreChapitre_ = new QComboBox(this);
    filtreChapitre_->setObjectName(QStringLiteral("filtreChapitre"));
    filtreChapitre_->setAccessibleName(QStringLiteral("Filtre des questions par chapitre"));
    filtreChapitre_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    filtreChapitre_->setMinimumContentsLength(10);
    filtreNiveau_ = new QComboBox(this);
    filtreNiveau_->setObjectName(QStringLiteral("filtreNiveau"));
    filtreNiveau_->setAccessibleName(QStringLiteral("Filtre des questions par niveau"));
    filtreNiveau_->addItem(QStringLiteral("Tous les niveaux"), -1);
    for (int k = 0; k < 5; ++k) {
        filtreNiveau_->addItem(data::kNiveaux[static_cast<std::size_t>(k)], k);
    }
    auto* libelleChapitre = new QLabel(QStringLiteral("&Filtre : chapitre"), this);
    libelleChapitre->setBuddy(filtreChapitre_);
    auto* libelleNiveau = new QLabel(QStringLiteral("nivea&u"), this);
    libelleNiveau->setBuddy(filtreNiveau_);

    auto* filtres = new QHBoxLayout;
    filtres->addWidget(libelleChapitre);
    filtres->addWidget(filtreChapitre_, 1);
    filtres->addSpacing(12);
    filtres->addWidget(libelleNiveau);
    filtres->addWidget(filtreNiveau_);
    return filtres;
}

void PanneauQuestions::creerTable() {
    vue_ = new QTableView(this);
    vue_->setObjectName(QStringLiteral("tableQuestions"));
    vue_->setAccessibleName(QStringLiteral("Questions du test"));
    vue_->setModel(filtre_);
    vue_->setSelectionBehavior(QAbstractItemView::SelectRows);
    vue_->setSelectionMode(QAbstractItemView::SingleSelection);
    vue_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    vue_->setTabKeyNavigation(false);
    vue_->setWordWrap(false);
    vue_->setAlternatingRowColors(true);
    vue_->verticalHeader()->hide();
    vue_->verticalHeader()->setDefaultSectionSize(vue_->fontMetrics().height() + 8);
    QHeaderView* entete = vue_->horizontalHeader();
    entete->setStretchLastSection(true);
    entete->resizeSection(edition::ModeleQuestions::Numero, 44);
    entete->resizeSection(edition::ModeleQuestions::Chapitre, 120);
    entete->resizeSection(edition::ModeleQuestions::Niveaux, 90);
    entete->resizeSection(edition::ModeleQuestions::Genre, 56);
}

QLayout* PanneauQuestions::creerBoutons() {
    ajouter_ = bouton(this, QStringLiteral("ajouterQuestion"), QStringLiteral("&Ajouter"),
                      QStringLiteral("Ajouter une question après la question courante"));
    dupliquer_ = bouton(this, QStringLiteral("dupliquerQuestion"), QStringLiteral("&Dupliquer"),
                        QStringLiteral("Dupliquer la question courante"));
    supprimer_ = bouton(this, QStringLiteral("supprimerQuestion"), QStringLiteral("&Supprimer"),
                        QStringLiteral("Supprimer la question courante"));
    monter_ = bouton(this, QStringLiteral("monterQuestion"), QStringLiteral("&Monter"),
                     QStringLiteral("Monter la question d'une place"));
    descendre_ = bouton(this, QStringLiteral("descendreQuestion"), QStringLiteral("Desce&ndre"),
                        QStringLiteral("Descendre la question d'une place"));
    renumeroter_ = bouton(this, QStringLiteral("renumeroter"), QStringLiteral("Renuméroter"),
                          QStringLiteral("Renuméroter les questions de 1 à N dans l'ordre du tableau"));
    // Two rows of three, so that the editor fits beside the tests' list on a laptop screen.
    auto* boutons = new QGridLayout;
    int place = 0;
    for (QPushButton* b : {ajouter_, dupliquer_, supprimer_, monter_, descendre_, renumeroter_}) {
        boutons->addWidget(b, place / 3, place % 3);
        ++place;
    }
    return boutons;
}

void PanneauQuestions::relier() {
    connect(filtreChapitre_, &QComboBox::currentIndexChanged, this, &PanneauQuestions::filtrer);
    connect(filtreNiveau_, &QComboBox::currentIndexChanged, this, &PanneauQuestions::filtrer);
    connect(vue_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& courant) {
        if (!selection_ && courant.isValid()) {
            choisie(filtre_->mapToSource(courant).row());
        }
    });
    connect(ajouter_, &QPushButton::clicked, this, [this] {
        test_.ajouterQuestion(courante_);
        emit questionAjoutee();
    });
    connect(dupliquer_, &QPushButton::clicked, this, [this] {
        test_.dupliquerQuestion(courante_);
        emit questionAjoutee();
    });
    connect(supprimer_, &QPushButton::clicked, this, [this] { test_.supprimerQuestion(courante_); });
    connect(monter_, &QPushButton::clicked, this, [this] { test_.deplacerQuestion(courante_, -1); });
    connect(descendre_, &QPushButton::clicked, this, [this] { test_.deplacerQuestion(courante_, +1); });
    connect(renumeroter_, &QPushButton::clicked, &test_, &edition::TestEdite::renumeroterSelonLeTableau);
    connect(&test_, &edition::TestEdite::chapitresChanges, this, &PanneauQuestions::actualiserFiltres);
    connect(&test_, &edition::TestEdite::questionsChangees, this, &PanneauQuestions::activerBoutons);
}

void PanneauQuestions::actualiserFiltres() {
    const int choisi = filtreChapitre_->currentData().toInt();
    const QSignalBlocker bloque(filtreChapitre_);
    filtreChapitre_->clear();
    filtreChapitre_->addItem(QStringLiteral("Tous les chapitres"), 0);
    for (const auto& c : test_.test().chapitres) {
        filtreChapitre_->addItem(QStringLiteral("%1 %2").arg(c.numero.toString(), c.nom.toString()), c.numero.toInt());
    }
    filtreChapitre_->setCurrentIndex(std::max(0, filtreChapitre_->findData(choisi)));
    filtrer();
}

void PanneauQuestions::filtrer() {
    filtre_->setChapitre(filtreChapitre_->currentData().toInt());
    filtre_->setNiveau(filtreNiveau_->currentData().toInt());
    // The current question when the filter shows it, else the first one it shows.
    const QModelIndex ligne = filtre_->mapFromSource(modele_->index(courante_, 0));
    if (filtre_->rowCount() == 0) {
        vue_->selectionModel()->clearSelection();
    } else if (ligne.isValid()) {
        selectionner(courante_);
    } else {
        selectionner(filtre_->mapToSource(filtre_->index(0, 0)).row());
    }
}

void PanneauQuestions::activerBoutons() {
    const bool question = courante_ >= 0 && courante_ < test_.nbQuestions();
    for (QPushButton* b : {dupliquer_, supprimer_}) {
        b->setEnabled(question);
    }
    const int place = test_.placeAuTableau(courante_);
    monter_->setEnabled(question && place > 0);
    descendre_->setEnabled(question && place < test_.nbQuestions() - 1);
    renumeroter_->setEnabled(test_.nbQuestions() > 0);
}

void PanneauQuestions::choisie(int indice) {
    const bool change = indice != courante_;
    courante_ = indice;
    activerBoutons();
    if (change) {
        emit questionCourante(indice);
    }
}

void PanneauQuestions::selectionner(int indice) {
    if (indice >= test_.nbQuestions()) {
        indice = test_.nbQuestions() - 1;
    }
    QModelIndex ligne = filtre_->mapFromSource(modele_->index(indice, 0));
    if (indice >= 0 && !ligne.isValid()) {
        const QSignalBlocker a(filtreChapitre_);
        const QSignalBlocker b(filtreNiveau_);
        filtreChapitre_->setCurrentIndex(0);
        filtreNiveau_->setCurrentIndex(0);
        filtre_->setChapitre(0);
        filtre_->setNiveau(-1);
        ligne = filtre_->mapFromSource(modele_->index(indice, 0));
    }
    selection_ = true;
    if (ligne.isValid()) {
        vue_->selectionModel()->setCurrentIndex(ligne, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        vue_->scrollTo(ligne);
    } else {
        vue_->selectionModel()->clearSelection();
    }
    selection_ = false;
    // Always told: after a change of the order, the same place may hold another question.
    courante_ = indice;
    activerBoutons();
    emit questionCourante(indice);
}

void PanneauQuestions::prendreFocus() {
    vue_->setFocus(Qt::OtherFocusReason);
}

} // namespace kelvane::editeur
