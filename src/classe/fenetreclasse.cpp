#include "classe/fenetreclasse.h"

#include "avertissements/erreurs.h"
#include "bilan/impressionbilan.h"
#include "classe/dialogueresultats.h"
#include "classe/modeleclasse.h"
#include "classe/panneauxclasse.h"
#include "exportations/formatsbilan.h"
#include "graphiques/graphiquesclasse.h"
#include "widgets/ecran.h"
#include "widgets/patience.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QProgressDialog>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <set>

namespace kelvane::classe {

namespace {

const QString kTitre = QStringLiteral("Résultats de la classe");
// The earliest day of the date boxes stands for "no bound".
const QDate kSansBorne(2000, 1, 1);

QLabel* etiquette(const QString& texte, QWidget* copain, QWidget* parent) {
    auto* label = new QLabel(texte, parent);
    label->setBuddy(copain);
    return label;
}

QComboBox* liste(const QString& nom, const QString& description, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(nom);
    combo->setAccessibleName(description);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return combo;
}

QDateEdit* borne(const QString& nom, const QString& description, const QString& sans, QWidget* parent) {
    auto* date = new QDateEdit(parent);
    date->setObjectName(nom);
    date->setAccessibleName(description);
    date->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    date->setCalendarPopup(true);
    date->setMinimumDate(kSansBorne);
    date->setSpecialValueText(sans);
    date->setDate(kSansBorne);
    return date;
}

QDate borneChoisie(const QDateEdit* date) {
    return date->date() == kSansBorne ? QDate() : date->date();
}

// A combo refilled with "all" then the values, keeping the value chosen when it is still there.
void remplir(QComboBox* combo, const QString& tous, const QStringList& valeurs) {
    const QString choisi = combo->currentData().toString();
    const QSignalBlocker bloque(combo);
    combo->clear();
    combo->addItem(tous, QString());
    for (const QString& v : valeurs) {
        combo->addItem(v.isEmpty() ? QStringLiteral("(sans nom)") : v, v);
    }
    const int place = combo->findData(choisi);
    combo->setCurrentIndex(place >= 0 ? place : 0);
}

QStringList triees(const std::set<QString>& valeurs) {
    QStringList liste(valeurs.begin(), valeurs.end());
    QCollator collation{QLocale(QLocale::French, QLocale::France)};
    collation.setNumericMode(true);
    std::sort(liste.begin(), liste.end(), collation);
    return liste;
}

// The class's table, whose columns are sized on their cells apart from their titles.
class TableClasse : public QTableView {
public:
    using QTableView::QTableView;
    using QTableView::sizeHintForColumn;
};

// "1 passage affiché", "0 passage affiché", "3 passages affichés".
QString pluriel(int n, const QString& un, const QString& plusieurs) {
    return QStringLiteral("%1 %2").arg(n).arg(n > 1 ? plusieurs : un);
}

QPushButton* bouton(const QString& texte, const QString& nom, const QString& aide, QWidget* parent) {
    auto* b = new QPushButton(texte, parent);
    b->setObjectName(nom);
    QString accessible = texte;
    b->setAccessibleName(accessible.remove(QLatin1Char('&')));
    b->setToolTip(aide);
    b->setAutoDefault(false);
    return b;
}

} // namespace

FenetreClasse::FenetreClasse(const services::Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window), services_(services) {
    setObjectName(QStringLiteral("FenetreClasse"));
    setWindowTitle(QStringLiteral("Kelvane — %1").arg(kTitre));
    modele_ = new ModeleClasse(this);
    filtre_ = new FiltreClasse(modele_, this);
    creerTable();
    creerOnglets();
    creerResume();

    auto* disposition = new QVBoxLayout(this);
    disposition->addWidget(creerEntete());
    disposition->addWidget(creerFiltres());
    disposition->addWidget(resume_);
    disposition->addWidget(onglets_, 1);
    disposition->addWidget(creerBoutons());

    auto* fermer = new QAction(this);
    fermer->setShortcut(QKeySequence::Close);
    connect(fermer, &QAction::triggered, this, &QWidget::close);
    addAction(fermer);

    widgets::ouvrirDansLEcran(this, QSize(1200, 800));
    majResume();
}

void FenetreClasse::creerTable() {
    table_ = new TableClasse(this);
    table_->setObjectName(QStringLiteral("tableEleves"));
    table_->setAccessibleName(QStringLiteral("Un passage par ligne ; Entrée ouvre ses résultats"));
    table_->setModel(filtre_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(ModeleClasse::Nom, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setAlternatingRowColors(true);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
    table_->horizontalHeader()->setHighlightSections(false);
    connect(table_, &QAbstractItemView::activated, this, &FenetreClasse::ouvrirLigne);
}

void FenetreClasse::creerOnglets() {
    repartition_ = new PanneauRepartition(this);
    auto* eleves = new QSplitter(Qt::Vertical, this);
    eleves->setObjectName(QStringLiteral("separationEleves"));
    eleves->setChildrenCollapsible(false);
    eleves->addWidget(table_);
    eleves->addWidget(repartition_);
    eleves->setStretchFactor(0, 3);
    eleves->setStretchFactor(1, 2);

    questions_ = new PanneauQuestionsClasse(this);
    niveaux_ = new PanneauNiveauxClasse(this);
    ignores_ = new PanneauIgnores(this);
    onglets_ = new QTabWidget(this);
    onglets_->setObjectName(QStringLiteral("onglets"));
    onglets_->addTab(eleves, QStringLiteral("Élèv&es"));
    onglets_->addTab(questions_, QStringLiteral("&Questions"));
    onglets_->addTab(niveaux_, QStringLiteral("&Niveaux et chapitres"));
    onglets_->addTab(ignores_, QStringLiteral("I&gnorés"));
    // Ctrl+1 to Ctrl+4 go to the tabs.
    for (int i = 0; i < onglets_->count(); ++i) {
        auto* aller = new QAction(this);
        aller->setObjectName(QStringLiteral("actionOnglet%1").arg(i + 1));
        aller->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i)));
        connect(aller, &QAction::triggered, onglets_, [this, i] { onglets_->setCurrentIndex(i); });
        addAction(aller);
        onglets_->setTabToolTip(i, QStringLiteral("Ctrl+%1").arg(i + 1));
    }
}

void FenetreClasse::creerResume() {
    resume_ = new QLabel(this);
    resume_->setObjectName(QStringLiteral("resume"));
    QFont gras = resume_->font();
    gras.setBold(true);
    resume_->setFont(gras);
}

FenetreClasse::~FenetreClasse() = default;

QWidget* FenetreClasse::creerEntete() {
    auto* entete = new QWidget(this);
    auto* ligne = new QHBoxLayout(entete);
    ligne->setContentsMargins(0, 0, 0, 0);
    dossier_ = new QLabel(entete);
    dossier_->setObjectName(QStringLiteral("dossierClasse"));
    dossier_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    dossier_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* changer = bouton(QStringLiteral("Changer de d&ossier…"), QStringLiteral("boutonDossier"),
                           QStringLiteral("Lire les résultats d'un autre dossier"), entete);
    sousDossiers_ = new QCheckBox(QStringLiteral("Sous-&dossiers"), entete);
    sousDossiers_->setObjectName(QStringLiteral("caseSousDossiers"));
    sousDossiers_->setToolTip(QStringLiteral("Lire aussi les dossiers du dossier (un dossier par classe)"));
    auto* relire = bouton(QStringLiteral("&Relire"), QStringLiteral("boutonRelire"),
                          QStringLiteral("Lire le dossier à nouveau (F5)"), entete);
    relire->setShortcut(QKeySequence(Qt::Key_F5));
    ligne->addWidget(new QLabel(QStringLiteral("Dossier :"), entete));
    ligne->addWidget(dossier_, 1);
    ligne->addWidget(changer);
    ligne->addWidget(sousDossiers_);
    ligne->addWidget(relire);
    connect(changer, &QPushButton::clicked, this, &FenetreClasse::changerDossier);
    connect(relire, &QPushButton::clicked, this, [this] {
        if (!dossier().isEmpty()) {
            ouvrir(dossier());
        }
    });
    connect(sousDossiers_, &QCheckBox::toggled, this, [this] {
        if (!dossier().isEmpty()) {
            ouvrir(dossier());
        }
    });
    return entete;
}

QWidget* FenetreClasse::creerFiltres() {
    auto* cadre = new QGroupBox(QStringLiteral("Filtres"), this);
    cadre->setObjectName(QStringLiteral("cadreFiltres"));
    auto* ligne = new QHBoxLayout(cadre);
    choixClasse_ = liste(QStringLiteral("filtreClasse"), QStringLiteral("Classe"), cadre);
    test_ = liste(QStringLiteral("filtreTest"), QStringLiteral("Test"), cadre);
    mode_ = liste(QStringLiteral("filtreMode"), QStringLiteral("Mode"), cadre);
    mode_->addItem(QStringLiteral("Tous les modes"));
    mode_->addItem(QStringLiteral("Entraînement"), false);
    mode_->addItem(QStringLiteral("Examen"), true);
    du_ = borne(QStringLiteral("filtreDu"), QStringLiteral("Passages depuis le"), QStringLiteral("le début"), cadre);
    au_ = borne(QStringLiteral("filtreAu"), QStringLiteral("Passages jusqu'au"), QStringLiteral("la fin"), cadre);
    verdict_ = liste(QStringLiteral("filtreVerdict"), QStringLiteral("Verdict"), cadre);
    verdict_->addItem(QStringLiteral("Tous"));
    verdict_->addItem(QStringLiteral("Réussi"), true);
    verdict_->addItem(QStringLiteral("Non réussi"), false);
    dernier_ = new QCheckBox(QStringLiteral("Dernier &passage seulement"), cadre);
    dernier_->setObjectName(QStringLiteral("caseDernierPassage"));
    dernier_->setToolTip(QStringLiteral("Ne garder que le dernier passage de chaque candidat à chaque test"));
    remplir(choixClasse_, QStringLiteral("Toutes"), {});
    remplir(test_, QStringLiteral("Tous les tests"), {});

    const std::pair<QString, QWidget*> champs[] = {{QStringLiteral("C&lasse :"), choixClasse_},
                                                   {QStringLiteral("&Test :"), test_},
                                                   {QStringLiteral("&Mode :"), mode_},
                                                   {QStringLiteral("D&u :"), du_},
                                                   {QStringLiteral("&Au :"), au_},
                                                   {QStringLiteral("&Verdict :"), verdict_}};
    for (const auto& [texte, champ] : champs) {
        ligne->addWidget(etiquette(texte, champ, cadre));
        ligne->addWidget(champ);
        ligne->addSpacing(6);
    }
    ligne->addWidget(dernier_);
    ligne->addStretch(1);

    for (QComboBox* combo : {choixClasse_, test_, mode_, verdict_}) {
        connect(combo, &QComboBox::currentIndexChanged, this, &FenetreClasse::appliquerFiltres);
    }
    for (QDateEdit* date : {du_, au_}) {
        connect(date, &QDateEdit::dateChanged, this, &FenetreClasse::appliquerFiltres);
    }
    connect(dernier_, &QCheckBox::toggled, this, &FenetreClasse::appliquerFiltres);
    return cadre;
}

QWidget* FenetreClasse::creerBoutons() {
    auto* barre = new QWidget(this);
    auto* ligne = new QHBoxLayout(barre);
    ligne->setContentsMargins(0, 0, 0, 0);
    auto* classeur = bouton(QStringLiteral("Classeur (.&xlsx)…"), QStringLiteral("boutonClasseur"),
                            QStringLiteral("Écrire les passages affichés, les questions et les niveaux dans un "
                                           "classeur"),
                            barre);
    auto* csv = bouton(QStringLiteral("&CSV…"), QStringLiteral("boutonCsv"),
                       QStringLiteral("Écrire les passages affichés dans un fichier CSV pour un tableur"), barre);
    auto* imprimer = bouton(QStringLiteral("&Imprimer le bilan"), QStringLiteral("boutonImprimer"),
                            QStringLiteral("Imprimer les passages affichés, les questions et les graphiques"), barre);
    auto* fermer = bouton(QStringLiteral("&Fermer"), QStringLiteral("boutonFermer"),
                          QStringLiteral("Fermer cette fenêtre"), barre);
    etat_ = new QLabel(barre);
    etat_->setObjectName(QStringLiteral("etatClasse"));
    etat_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    ligne->addWidget(classeur);
    ligne->addWidget(csv);
    ligne->addWidget(imprimer);
    ligne->addWidget(etat_, 1);
    ligne->addWidget(fermer);
    exports_ = {classeur, csv, imprimer};
    connect(classeur, &QPushButton::clicked, this, &FenetreClasse::exporterClasseur);
    connect(csv, &QPushButton::clicked, this, &FenetreClasse::exporterCsv);
    connect(imprimer, &QPushButton::clicked, this, &FenetreClasse::imprimer);
    connect(fermer, &QPushButton::clicked, this, &QWidget::close);
    return barre;
}

bool FenetreClasse::ouvrir(const QString& dossier) {
    const QString absolu = QFileInfo(dossier).absoluteFilePath();
    auto nouvelle = std::make_unique<bilan::Classe>();
    {
        QProgressDialog progression(QStringLiteral("Lecture des résultats…"), QString(), 0, 0, this);
        progression.setObjectName(QStringLiteral("progressionLecture"));
        progression.setWindowTitle(kTitre);
        progression.setWindowModality(Qt::WindowModal);
        progression.setMinimumDuration(500);
        try {
            const widgets::Patience patience;
            *nouvelle = bilan::lireResultatsDuDossier(absolu, {.sousDossiers = sousDossiers_->isChecked()},
                                                      [&progression](int faits, int total) {
                                                          progression.setMaximum(total);
                                                          progression.setValue(faits);
                                                      });
        } catch (const Error& e) {
            avertissements::afficherErreur(*services_.messages, e, absolu);
            return false;
        }
    }
    modele_->charger(nullptr);
    classe_ = std::move(nouvelle);
    modele_->charger(classe_.get());
    dossier_->setText(QDir::toNativeSeparators(absolu));
    dossier_->setToolTip(dossier_->text());
    setWindowTitle(QStringLiteral("Kelvane — %1 — %2").arg(kTitre, QDir::toNativeSeparators(absolu)));
    remplirChoix();
    ignores_->montrer(*classe_);
    onglets_->setTabText(3, classe_->ignores.empty() ? QStringLiteral("I&gnorés")
                                                     : QStringLiteral("I&gnorés (%1)").arg(classe_->ignores.size()));
    etat_->clear();
    appliquerFiltres();
    return true;
}

QString FenetreClasse::dossier() const {
    return classe_ != nullptr ? classe_->dossier : QString();
}

DialogueResultats* FenetreClasse::dialogueResultats() const {
    return dialogue_;
}

bilan::Selection FenetreClasse::selection() const {
    return filtre_->selection();
}

void FenetreClasse::remplirChoix() {
    std::set<QString> classes;
    std::set<QString> tests;
    for (const bilan::Passage& p : classe_->passages) {
        classes.insert(p.classe);
        tests.insert(p.test);
    }
    remplir(choixClasse_, QStringLiteral("Toutes"), triees(classes));
    remplir(test_, QStringLiteral("Tous les tests"), triees(tests));
}

void FenetreClasse::appliquerFiltres() {
    bilan::Filtre filtre;
    filtre.classe = choixClasse_->currentData().toString();
    filtre.test = test_->currentData().toString();
    if (mode_->currentData().isValid()) {
        filtre.examen = mode_->currentData().toBool();
    }
    filtre.du = borneChoisie(du_);
    filtre.au = borneChoisie(au_);
    if (verdict_->currentData().isValid()) {
        filtre.reussi = verdict_->currentData().toBool();
    }
    filtre.dernierSeulement = dernier_->isChecked();
    filtre_->appliquer(filtre);
    const std::vector<QString> testsMontres = bilan::tests(selection());
    testMontre_ = !filtre.test.isEmpty() ? filtre.test : (testsMontres.empty() ? QString() : testsMontres.front());
    // The chapters' columns belong to one test: they show when every line shown is of that test.
    modele_->montrerChapitres(testsMontres.size() == 1 ? testMontre_ : QString());
    const bilan::Selection lignes = selection();
    if (classe_ != nullptr) {
        repartition_->montrer(testMontre_, lignes);
        questions_->montrer(*classe_, testMontre_, lignes);
        niveaux_->montrer(*classe_, testMontre_, lignes);
    }
    ajusterColonnes();
    majResume();
}

void FenetreClasse::ajusterColonnes() {
    // As wide as the cells or the title, without the room a header keeps for the sort arrow: the class's line fits
    // on a 1200-pixel screen with its levels and chapters.
    const QFontMetrics mesure(table_->horizontalHeader()->font());
    for (int c = 0; c < filtre_->columnCount(); ++c) {
        const QString titre = filtre_->headerData(c, Qt::Horizontal).toString();
        const int cellules = static_cast<TableClasse*>(table_)->sizeHintForColumn(c);
        table_->setColumnWidth(c, std::max(cellules, mesure.horizontalAdvance(titre) + 14));
    }
}

void FenetreClasse::majResume() {
    const bilan::Selection lignes = selection();
    const int total = classe_ != nullptr ? static_cast<int>(classe_->passages.size()) : 0;
    for (QPushButton* b : exports_) {
        b->setEnabled(!lignes.empty());
    }
    if (classe_ == nullptr) {
        resume_->setText(QStringLiteral("Aucun dossier lu."));
        return;
    }
    if (total == 0) {
        resume_->setText(QStringLiteral("Ce dossier n'a aucun fichier de résultats."));
        return;
    }
    const auto reussis = std::count_if(lignes.begin(), lignes.end(), [](const auto* p) { return p->reussi; });
    double somme = 0.0;
    for (const bilan::Passage* p : lignes) {
        somme += p->pourcentage;
    }
    const auto n = static_cast<int>(lignes.size());
    QString texte = QStringLiteral("%1 sur %2")
                        .arg(pluriel(n, QStringLiteral("passage affiché"), QStringLiteral("passages affichés")))
                        .arg(total);
    if (n > 0) {
        texte += QStringLiteral(" · %1 · moyenne %2")
                     .arg(pluriel(static_cast<int>(reussis), QStringLiteral("réussi"), QStringLiteral("réussis")),
                          texteCoupe(somme / n));
    }
    resume_->setText(texte);
}

void FenetreClasse::ouvrirLigne(const QModelIndex& index) {
    if (!index.isValid()) {
        return;
    }
    const bilan::Passage& p = modele_->passage(filtre_->mapToSource(index).row());
    if (dialogue_ != nullptr) {
        dialogue_->close();
    }
    dialogue_ = DialogueResultats::ouvrir(services_, p.fichier, this);
    if (dialogue_ != nullptr) {
        dialogue_->setWindowModality(Qt::WindowModal);
        // Closed, it gives the keyboard back to the line it came from.
        connect(dialogue_, &QDialog::finished, this, [this] {
            activateWindow();
            table_->setFocus();
        });
        dialogue_->show();
    }
}

void FenetreClasse::changerDossier() {
    const QString choisi = services_.dialogs->chooseFolder(QStringLiteral("Dossier des résultats"), dossier());
    if (!choisi.isEmpty()) {
        ouvrir(choisi);
    }
}

QString FenetreClasse::demanderCible(const QString& titre, const QString& nom, const QString& filtre,
                                     const QString& extension) {
    const QString propose = QDir(dossier()).filePath(nom + QLatin1Char('.') + extension);
    QString cible = services_.dialogs->chooseFileToSave(titre, propose, filtre);
    if (cible.isEmpty()) {
        return {};
    }
    // The save box asks before replacing the file it was given; a name completed here is asked about here.
    if (QFileInfo(cible).suffix().compare(extension, Qt::CaseInsensitive) != 0) {
        cible += QLatin1Char('.') + extension;
        if (QFileInfo::exists(cible) &&
            services_.messages->MsgBox(QStringLiteral("Le fichier « %1 » existe déjà. Voulez-vous le remplacer ?")
                                           .arg(QDir::toNativeSeparators(cible)),
                                       services::Buttons::YesNo, kTitre) != services::Answer::Yes) {
            return {};
        }
    }
    return cible;
}

void FenetreClasse::exporterClasseur() {
    exporter(*exportations::formatBilan(QStringLiteral("xlsx")));
}

void FenetreClasse::exporterCsv() {
    exporter(*exportations::formatBilan(QStringLiteral("csv")));
}

void FenetreClasse::exporter(const exportations::FormatBilan& format) {
    const QString cible = demanderCible(QStringLiteral("Enregistrer le %1").arg(format.nom), nomPropose(),
                                        format.filtre, format.extension);
    if (cible.isEmpty()) {
        return;
    }
    try {
        format.ecrire(cible, *classe_, selection());
    } catch (const Error& e) {
        avertissements::afficherErreur(*services_.messages, e, cible);
        return;
    }
    informer(QStringLiteral("%1%2 écrit : %3")
                 .arg(format.nom.left(1).toUpper(), format.nom.mid(1), QDir::toNativeSeparators(cible)));
}

void FenetreClasse::imprimer() {
    if (bilan::imprimerBilan(services_, *classe_, selection(), graphiques::illustrationsBilan)) {
        informer(QStringLiteral("Bilan imprimé"));
    }
}

QString FenetreClasse::nomPropose() const {
    const QString test = test_->currentData().toString();
    return QStringLiteral("Bilan %1%2")
        .arg(QDir(dossier()).dirName(), test.isEmpty() ? QString() : QLatin1Char(' ') + test);
}

void FenetreClasse::informer(const QString& texte) {
    etat_->setText(texte);
    etat_->setToolTip(texte);
}

} // namespace kelvane::classe
