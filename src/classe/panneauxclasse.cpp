#include "classe/panneauxclasse.h"

#include "classe/cellulesclasse.h"
#include "graphiques/graphiquesclasse.h"

#include <QChart>
#include <QChartView>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kelvane::classe {

namespace {

QChartView* vueGraphique(QWidget* parent, const QString& nom, const QString& description) {
    auto* vue = new QChartView(parent);
    vue->setObjectName(nom);
    vue->setAccessibleName(description);
    vue->setRenderHint(QPainter::Antialiasing);
    // Room for the title, the axes and the legend, and a plot still readable on a laptop screen.
    vue->setMinimumHeight(230);
    return vue;
}

void remplacer(QChartView* vue, QChart* graphique) {
    QChart* ancien = vue->chart();
    vue->setChart(graphique);
    delete ancien;
}

QTableWidget* table(QWidget* parent, const QString& nom, const QString& description, const QStringList& entetes) {
    auto* t = new QTableWidget(0, static_cast<int>(entetes.size()), parent);
    t->setObjectName(nom);
    t->setAccessibleName(description);
    t->setHorizontalHeaderLabels(entetes);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setAlternatingRowColors(true);
    t->verticalHeader()->hide();
    t->setWordWrap(false);
    return t;
}

QLabel* titre(QWidget* parent, const QString& nom) {
    auto* label = new QLabel(parent);
    label->setObjectName(nom);
    QFont police = label->font();
    police.setBold(true);
    label->setFont(police);
    return label;
}

QString niveaux(const std::array<bool, bilan::NbNiveaux>& drapeaux) {
    QStringList noms;
    for (std::size_t j = 0; j < drapeaux.size(); ++j) {
        if (drapeaux[j]) {
            noms << data::kNiveaux.at(j);
        }
    }
    return noms.join(QLatin1Char(' '));
}

// "R1 12 ✓ · R2 3 · R3 0": how often each answer was ticked, the answers to tick marked.
QString cochees(const bilan::StatistiqueQuestion& s) {
    if (s.question == nullptr) {
        return {};
    }
    if (!s.question->qcm) {
        return QStringLiteral("(réponses à classer)");
    }
    QStringList parts;
    for (int j = 0; j < std::min(s.question->nbReponses, data::NbReponsesMax); ++j) {
        const auto i = static_cast<std::size_t>(j);
        parts << QStringLiteral("R%1 %2%3")
                     .arg(j + 1)
                     .arg(s.cochees.at(i))
                     .arg(s.question->attendues.at(i) ? QStringLiteral("\u00a0✓") : QString());
    }
    return parts.join(QStringLiteral(" · "));
}

QString nomChapitre(const bilan::Classe& classe, const QString& test, int numero) {
    const auto trouve = classe.chapitresParTest.find(test);
    if (trouve != classe.chapitresParTest.end()) {
        for (const bilan::PourcentageChapitre& c : trouve->second) {
            if (c.numero == numero) {
                return c.nom;
            }
        }
    }
    return {};
}

} // namespace

QString titreTest(const QString& test, const bilan::Selection& selection) {
    if (test.isEmpty()) {
        return QStringLiteral("Aucun passage ne répond aux filtres.");
    }
    const auto n = std::count_if(selection.begin(), selection.end(), [&](const auto* p) { return p->test == test; });
    return QStringLiteral("Test « %1 » : %2")
        .arg(test, n == 1 ? QStringLiteral("1 passage") : QStringLiteral("%1 passages").arg(n));
}

PanneauRepartition::PanneauRepartition(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("panneauRepartition"));
    auto* disposition = new QVBoxLayout(this);
    disposition->setContentsMargins(0, 0, 0, 0);
    graphique_ = vueGraphique(this, QStringLiteral("graphiqueRepartition"),
                              QStringLiteral("Répartition des pourcentages des candidats"));
    disposition->addWidget(graphique_);
}

void PanneauRepartition::montrer(const QString& test, const bilan::Selection& selection) {
    QChart* graphique =
        graphiques::creerHistogramme(bilan::repartition(selection, test), graphiques::seuilDuTest(selection, test));
    if (!test.isEmpty()) {
        graphique->setTitle(QStringLiteral("Répartition des candidats — %1").arg(test));
    }
    remplacer(graphique_, graphique);
}

PanneauQuestionsClasse::PanneauQuestionsClasse(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("panneauQuestionsClasse"));
    titre_ = titre(this, QStringLiteral("titreQuestionsClasse"));
    table_ =
        table(this, QStringLiteral("tableQuestionsClasse"), QStringLiteral("Questions, les plus difficiles d'abord"),
              {QStringLiteral("N°"), QStringLiteral("Chapitre"), QStringLiteral("Niveaux"), QStringLiteral("Question"),
               QStringLiteral("Candidats"), QStringLiteral("Répondues"), QStringLiteral("Justes"), QStringLiteral("%"),
               QStringLiteral("Réponses cochées")});
    table_->horizontalHeaderItem(8)->setToolTip(
        QStringLiteral("Combien de candidats ont coché chaque réponse ; ✓ marque les réponses à cocher"));
    graphique_ = vueGraphique(this, QStringLiteral("graphiqueQuestions"),
                              QStringLiteral("Pourcentage de bonnes réponses par question"));
    auto* separation = new QSplitter(Qt::Vertical, this);
    separation->setObjectName(QStringLiteral("separationQuestionsClasse"));
    separation->setChildrenCollapsible(false);
    separation->addWidget(table_);
    separation->addWidget(graphique_);
    separation->setSizes({380, 260});
    auto* disposition = new QVBoxLayout(this);
    disposition->addWidget(titre_);
    disposition->addWidget(separation, 1);
}

void PanneauQuestionsClasse::montrer(const bilan::Classe& classe, const QString& test,
                                     const bilan::Selection& selection) {
    titre_->setText(titreTest(test, selection) + (test.isEmpty() ? QString()
                                                                 : QStringLiteral(" — les questions les "
                                                                                  "plus difficiles "
                                                                                  "d'abord")));
    const std::vector<bilan::StatistiqueQuestion> statistiques =
        test.isEmpty() ? std::vector<bilan::StatistiqueQuestion>{}
                       : bilan::statistiquesQuestions(classe, test, selection);
    table_->setSortingEnabled(false);
    table_->clearContents();
    table_->setRowCount(static_cast<int>(statistiques.size()));
    int ligne = 0;
    for (const bilan::StatistiqueQuestion& s : statistiques) {
        const bilan::EnonceQuestion vide;
        const bilan::EnonceQuestion& q = s.question != nullptr ? *s.question : vide;
        bool estNombre = false;
        const int numero = q.numero.toInt(&estNombre);
        table_->setItem(ligne, 0, estNombre ? celluleNombre(numero) : celluleTexte(q.numero));
        QTableWidgetItem* chapitre = celluleNombre(q.chapitre);
        chapitre->setToolTip(nomChapitre(classe, test, q.chapitre));
        table_->setItem(ligne, 1, chapitre);
        table_->setItem(ligne, 2, celluleTexte(niveaux(q.niveaux)));
        table_->setItem(ligne, 3, celluleTexte(q.texte.simplified()));
        table_->setItem(ligne, 4, celluleNombre(s.candidats));
        table_->setItem(ligne, 5, celluleNombre(s.repondues));
        table_->setItem(ligne, 6, celluleNombre(s.justes));
        table_->setItem(ligne, 7, cellulePartTeintee(s.pourcentage));
        table_->setItem(ligne, 8, celluleTexte(cochees(s)));
        ++ligne;
    }
    // Hardest first as given; a click on a header sorts on that column.
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->setSortingEnabled(true);
    table_->resizeColumnsToContents();
    table_->setColumnWidth(3, std::min(table_->columnWidth(3), 420));
    remplacer(graphique_, graphiques::creerBarresQuestions(statistiques, graphiques::seuilDuTest(selection, test)));
}

PanneauNiveauxClasse::PanneauNiveauxClasse(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("panneauNiveauxClasse"));
    titre_ = titre(this, QStringLiteral("titreNiveauxClasse"));
    QStringList entetes{QStringLiteral("Chapitre")};
    for (const QString& niveau : data::kNiveaux) {
        entetes << niveau;
    }
    entetes << QStringLiteral("Tout le chapitre");
    grille_ = table(this, QStringLiteral("grilleNiveaux"),
                    QStringLiteral("Pourcentage de bonnes réponses par niveau et par chapitre"), entetes);
    grille_->setAlternatingRowColors(false);
    grille_->setSelectionBehavior(QAbstractItemView::SelectItems);
    // As high as its lines when there is room; shorter, scrolling, for a test of many chapters on a small screen.
    grille_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    grille_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    grille_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grille_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    grille_->horizontalHeader()->setMinimumSectionSize(80);
    auto* legende =
        new QLabel(QStringLiteral("Chaque case : le pourcentage de bonnes réponses de la classe aux questions "
                                  "du chapitre qui portent ce niveau ; « — » : aucune question."),
                   this);
    legende->setObjectName(QStringLiteral("legendeNiveaux"));
    legende->setWordWrap(true);
    auto* disposition = new QVBoxLayout(this);
    disposition->addWidget(titre_);
    disposition->addWidget(grille_);
    disposition->addWidget(legende);
    disposition->addStretch(1);
}

void PanneauNiveauxClasse::montrer(const bilan::Classe& classe, const QString& test,
                                   const bilan::Selection& selection) {
    titre_->setText(titreTest(test, selection) +
                    (test.isEmpty() ? QString() : QStringLiteral(" — bonnes réponses par niveau et par chapitre")));
    const bilan::Croisement croisement = test.isEmpty() ? bilan::Croisement{} : bilan::croiser(classe, test, selection);
    const int nbChapitres = static_cast<int>(croisement.chapitres.size());
    grille_->clearContents();
    grille_->setRowCount(test.isEmpty() ? 0 : nbChapitres + 1);
    for (int i = 0; i < nbChapitres; ++i) {
        const auto& c = croisement.chapitres.at(static_cast<std::size_t>(i));
        grille_->setItem(i, 0, celluleTexte(QStringLiteral("%1. %2").arg(c.numero).arg(c.nom)));
        for (int j = 0; j < bilan::NbNiveaux; ++j) {
            const auto& cellules = i < static_cast<int>(croisement.cellules.size())
                                       ? croisement.cellules.at(static_cast<std::size_t>(i))
                                       : std::array<std::optional<double>, bilan::NbNiveaux>{};
            grille_->setItem(i, j + 1, cellulePartTeintee(cellules.at(static_cast<std::size_t>(j))));
        }
        grille_->setItem(i, bilan::NbNiveaux + 1, cellulePartTeintee(c.pourcentage));
    }
    if (!test.isEmpty()) {
        QTableWidgetItem* total = celluleTexte(QStringLiteral("Tous les chapitres"));
        QFont gras = total->font();
        gras.setBold(true);
        total->setFont(gras);
        grille_->setItem(nbChapitres, 0, total);
        for (int j = 0; j < bilan::NbNiveaux; ++j) {
            grille_->setItem(nbChapitres, j + 1,
                             cellulePartTeintee(croisement.niveaux.at(static_cast<std::size_t>(j))));
        }
        // The corner: every answer of the test's lines.
        int bonnes = 0;
        int questions = 0;
        for (const bilan::Passage* p : selection) {
            if (p->test == test) {
                bonnes += p->bonnes;
                questions += p->total;
            }
        }
        grille_->setItem(
            nbChapitres, bilan::NbNiveaux + 1,
            cellulePartTeintee(questions > 0 ? std::optional<double>(bonnes * 100.0 / questions) : std::nullopt));
    }
    grille_->resizeColumnsToContents();
    // No higher than its lines, the room left below it.
    int hauteur = grille_->horizontalHeader()->height() + 2 * grille_->frameWidth();
    for (int i = 0; i < grille_->rowCount(); ++i) {
        hauteur += grille_->rowHeight(i);
    }
    grille_->setMaximumHeight(hauteur);
}

PanneauIgnores::PanneauIgnores(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("panneauIgnores"));
    titre_ = new QLabel(this);
    titre_->setObjectName(QStringLiteral("titreIgnores"));
    titre_->setWordWrap(true);
    liste_ = new QTreeWidget(this);
    liste_->setObjectName(QStringLiteral("listeIgnores"));
    liste_->setAccessibleName(QStringLiteral("Fichiers laissés de côté"));
    liste_->setHeaderLabels({QStringLiteral("Fichier"), QStringLiteral("État"), QStringLiteral("Raison")});
    liste_->setRootIsDecorated(false);
    liste_->setAlternatingRowColors(true);
    auto* disposition = new QVBoxLayout(this);
    disposition->addWidget(titre_);
    disposition->addWidget(liste_, 1);
}

void PanneauIgnores::montrer(const bilan::Classe& classe) {
    liste_->clear();
    const QDir dossier(classe.dossier);
    int enCours = 0;
    for (const bilan::Ignore& ignore : classe.ignores) {
        auto* ligne = new QTreeWidgetItem(liste_);
        ligne->setText(0, QDir::toNativeSeparators(dossier.relativeFilePath(ignore.fichier)));
        ligne->setToolTip(0, QDir::toNativeSeparators(ignore.fichier));
        ligne->setText(1, ignore.enCours ? QStringLiteral("En cours") : QStringLiteral("Ignoré"));
        ligne->setText(2, ignore.raison);
        ligne->setToolTip(2, ignore.raison);
        enCours += ignore.enCours ? 1 : 0;
    }
    const auto n = static_cast<int>(classe.ignores.size());
    QString texte = n == 0   ? QStringLiteral("Aucun fichier laissé de côté.")
                    : n == 1 ? QStringLiteral("1 fichier laissé de côté.")
                             : QStringLiteral("%1 fichiers laissés de côté.").arg(n);
    if (enCours > 0) {
        texte += QStringLiteral(" En cours : une session tient le fichier ou le commence ; il compte dès qu'elle est "
                                "finie (Relire, F5).");
    }
    titre_->setText(texte);
    for (int c = 0; c < 2; ++c) {
        liste_->resizeColumnToContents(c);
    }
}

} // namespace kelvane::classe
