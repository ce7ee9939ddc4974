#include "editeur/editeurtest.h"

#include "editeur/apercuquestion.h"
#include "editeur/formulairequestion.h"
#include "editeur/panneauchapitres.h"
#include "editeur/panneauparametres.h"
#include "editeur/panneauquestions.h"
#include "editeur/titres.h"
#include "edition/question.h"
#include "edition/testedite.h"
#include "platform/error.h"
#include "platform/services/messages.h"
#include "platform/services/services.h"
#include "widgets/lectureimage.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QSplitter>
#include <QUndoStack>
#include <QVBoxLayout>

namespace kelvane::editeur {

class EditeurTest::Impl {
public:
    explicit Impl(services::Services& s) : services(s) {}

    services::Services& services;
    edition::TestEdite test;
    PanneauParametres* parametres = nullptr;
    PanneauChapitres* chapitres = nullptr;
    PanneauQuestions* questions = nullptr;
    FormulaireQuestion* formulaire = nullptr;
    ApercuQuestion* apercu = nullptr;
    QGroupBox* cadreProblemes = nullptr;
    QListWidget* problemes = nullptr;
    QAction* annuler = nullptr;
    QAction* refaire = nullptr;

    QString nomAffiche() const { return QDir::toNativeSeparators(test.chemin()); }
};

namespace {
constexpr int kRoleQuestion = Qt::UserRole;
} // namespace

EditeurTest::EditeurTest(services::Services& services, QWidget* parent)
    : QWidget(parent), impl_(std::make_unique<Impl>(services)) {
    setObjectName(QStringLiteral("editeurTest"));
    setAccessibleName(QStringLiteral("Éditeur de test"));
    impl_->test.lireImagesAvec([](const QByteArray& octets) { return widgets::lireImage(octets).refus; });
    QWidget* cadreApercu = creerPanneaux();
    disposer(cadreApercu);
    creerAnnulations();
    relier();
    actualiserProblemes();
}

QWidget* EditeurTest::creerPanneaux() {
    Impl& d = *impl_;
    d.parametres = new PanneauParametres(d.test, this);
    d.chapitres = new PanneauChapitres(d.test, *d.services.messages, this);
    d.questions = new PanneauQuestions(d.test, this);

    d.cadreProblemes = new QGroupBox(this);
    d.cadreProblemes->setObjectName(QStringLiteral("cadreProblemes"));
    d.problemes = new QListWidget(d.cadreProblemes);
    d.problemes->setObjectName(QStringLiteral("problemes"));
    d.problemes->setAccessibleName(QStringLiteral("Problèmes du test"));
    d.problemes->setWordWrap(true);
    (new QVBoxLayout(d.cadreProblemes))->addWidget(d.problemes);
    // Made in the order of the keyboard: the left column from top to bottom, then the question's form.
    d.formulaire = new FormulaireQuestion(d.test, d.services, this);

    auto* cadreApercu = new QGroupBox(QStringLiteral("Aperçu : la question telle que le candidat la verra"), this);
    cadreApercu->setObjectName(QStringLiteral("cadreApercu"));
    d.apercu = new ApercuQuestion(cadreApercu);
    (new QVBoxLayout(cadreApercu))->addWidget(d.apercu);
    return cadreApercu;
}

void EditeurTest::disposer(QWidget* cadreApercu) {
    Impl& d = *impl_;
    auto* gauche = new QWidget(this);
    auto* colonneGauche = new QVBoxLayout(gauche);
    colonneGauche->setContentsMargins(0, 0, 0, 0);
    colonneGauche->addWidget(d.parametres);
    colonneGauche->addWidget(d.chapitres);
    colonneGauche->addWidget(d.questions, 4);
    colonneGauche->addWidget(d.cadreProblemes, 1);
    auto* droite = new QWidget(this);
    auto* colonneDroite = new QVBoxLayout(droite);
    colonneDroite->setContentsMargins(0, 0, 0, 0);
    colonneDroite->addWidget(d.formulaire);
    colonneDroite->addWidget(cadreApercu, 1);
    auto* separation = new QSplitter(Qt::Horizontal, this);
    separation->setObjectName(QStringLiteral("separation"));
    separation->setChildrenCollapsible(false);
    separation->addWidget(gauche);
    separation->addWidget(droite);
    separation->setStretchFactor(0, 5);
    separation->setStretchFactor(1, 6);
    auto* tout = new QHBoxLayout(this);
    tout->setContentsMargins(8, 8, 8, 8);
    tout->addWidget(separation);
}

void EditeurTest::creerAnnulations() {
    Impl& d = *impl_;
    // Undo and redo of the editor alone; a window around it gives its own actions (see showEvent).
    d.annuler = d.test.pile()->createUndoAction(this, QStringLiteral("&Annuler"));
    d.annuler->setObjectName(QStringLiteral("annuler"));
    d.refaire = d.test.pile()->createRedoAction(this, QStringLiteral("&Rétablir"));
    d.refaire->setObjectName(QStringLiteral("refaire"));
    for (QAction* a : {d.annuler, d.refaire}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
    }
}

void EditeurTest::relier() {
    Impl& d = *impl_;
    edition::TestEdite* test = &d.test;
    connect(d.questions, &PanneauQuestions::questionCourante, this, [this, test](int i) {
        test->terminerSaisie();
        impl_->formulaire->afficher(i);
        impl_->apercu->montrer(*test, i);
    });
    connect(test, &edition::TestEdite::questionSelectionnee, d.questions, &PanneauQuestions::selectionner);
    connect(d.questions, &PanneauQuestions::questionAjoutee, d.formulaire, &FormulaireQuestion::prendreFocus);
    auto apercu = [this, test] { impl_->apercu->montrer(*test, impl_->questions->courante()); };
    connect(test, &edition::TestEdite::questionChangee, this, [this, apercu](int i) {
        if (i == impl_->questions->courante()) {
            apercu();
        }
    });
    connect(test, &edition::TestEdite::parametresChanges, this, apercu);
    connect(test, &edition::TestEdite::chapitresChanges, this, apercu);
    connect(test->pile(), &QUndoStack::indexChanged, this, [this] { actualiserProblemes(); });
    connect(test->pile(), &QUndoStack::cleanChanged, this, [this](bool propre) { emit modificationChangee(!propre); });
    connect(d.problemes, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { allerAuProbleme(item); });
    connect(d.problemes, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { allerAuProbleme(item); });
}

EditeurTest::~EditeurTest() {
    // What the test signals while it goes reaches nobody; the panels refer to the test, and closing the window still
    // sends them focus events: they go first.
    impl_->test.disconnect(this);
    impl_->test.pile()->disconnect(this);
    qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
}

bool EditeurTest::ouvrir(const QString& chemin) {
    if (const auto refus = impl_->test.ouvrir(chemin)) {
        impl_->services.messages->MsgBox(*refus, services::Buttons::OkOnly, kTitreEditeur);
        return false;
    }
    commencer();
    return true;
}

void EditeurTest::nouveau(const QString& chemin) {
    impl_->test.nouveau(chemin);
    commencer();
}

void EditeurTest::commencer() {
    impl_->apercu->chargerImages(QFileInfo(impl_->test.chemin()).absolutePath());
    // The first question of the table, whatever its stored place.
    impl_->questions->selectionner(impl_->test.nbQuestions() > 0 ? impl_->test.ordre().front() : -1);
    actualiserProblemes();
    emit modificationChangee(false);
}

QString EditeurTest::chemin() const {
    return impl_->test.chemin();
}

bool EditeurTest::estModifie() const {
    return impl_->test.estModifie();
}

QUndoStack* EditeurTest::pileAnnulation() const {
    return impl_->test.pile();
}

bool EditeurTest::enregistrer() {
    Impl& d = *impl_;
    services::MessageService& messages = *d.services.messages;
    actualiserProblemes();
    if (const auto n = d.problemes->count(); n > 0) {
        messages.MsgBox(QStringLiteral("Le test « %1 » n'est pas enregistré : %2 problème%3 à corriger, listé%3 dans "
                                       "le panneau Problèmes.")
                            .arg(d.test.test().nom)
                            .arg(n)
                            .arg(n > 1 ? QStringLiteral("s") : QString()),
                        services::Buttons::OkOnly, kTitreEditeur);
        d.problemes->setCurrentRow(0);
        d.problemes->setFocus(Qt::OtherFocusReason);
        return false;
    }
    if (d.test.modifieSurDisque()) {
        const QString question =
            QFileInfo::exists(d.test.chemin())
                ? QStringLiteral("Le fichier %1 a été modifié sur le disque depuis son ouverture. Le remplacer ?")
                : QStringLiteral("Le fichier %1 a été supprimé du disque depuis son ouverture. L'écrire à nouveau ?");
        if (messages.MsgBox(question.arg(d.nomAffiche()), services::Buttons::YesNo, kTitreEditeur) !=
            services::Answer::Yes) {
            return false;
        }
    }
    try {
        d.test.enregistrer();
    } catch (const Error& e) {
        messages.MsgBox(QStringLiteral("Le test n'a pas pu être enregistré : %1").arg(e.text()),
                        services::Buttons::OkOnly, kTitreEditeur);
        return false;
    }
    emit enregistre(d.test.chemin());
    return true;
}

bool EditeurTest::fermer() {
    if (!estModifie()) {
        return true;
    }
    const auto reponse = impl_->services.messages->MsgBox(
        QStringLiteral("Le test « %1 » a été modifié. Enregistrer les modifications avant de le fermer ?")
            .arg(impl_->test.test().nom),
        services::Buttons::YesNoCancel, kTitreEditeur);
    switch (reponse) {
    case services::Answer::Yes:
        return enregistrer();
    case services::Answer::No:
        return true;
    default:
        return false; // Annuler: the teacher goes on editing
    }
}

void EditeurTest::actualiserProblemes() {
    Impl& d = *impl_;
    const std::vector<data::Probleme> problemes = d.test.problemes();
    d.problemes->clear();
    for (const data::Probleme& p : problemes) {
        QString quoi = QStringLiteral("Test");
        if (p.question >= 0) {
            const int numero = edition::numero(d.test.question(p.question));
            const int ligne = d.test.placeAuTableau(p.question) + 1;
            quoi = numero == ligne ? QStringLiteral("Question %1").arg(numero)
                                   : QStringLiteral("Question de la ligne %1").arg(ligne);
        }
        auto* item = new QListWidgetItem(QStringLiteral("%1 : %2").arg(quoi, p.message), d.problemes);
        item->setData(kRoleQuestion, p.question);
    }
    d.cadreProblemes->setTitle(problemes.empty() ? QStringLiteral("Prob&lèmes : aucun, le test peut être enregistré")
                                                 : QStringLiteral("Prob&lèmes (%1)").arg(problemes.size()));
}

void EditeurTest::allerAuProbleme(QListWidgetItem* item) {
    const int question = item->data(kRoleQuestion).toInt();
    if (question >= 0) {
        impl_->questions->selectionner(question);
        impl_->formulaire->prendreFocus();
    } else if (item->text().contains(QStringLiteral("chapitre"))) {
        impl_->chapitres->prendreFocus();
    } else {
        impl_->parametres->prendreFocus();
    }
}

void EditeurTest::showEvent(QShowEvent* event) {
    // Shown alone, the editor answers the usual keys for undo and redo itself.
    impl_->annuler->setShortcut(isWindow() ? QKeySequence(QKeySequence::Undo) : QKeySequence());
    impl_->refaire->setShortcut(isWindow() ? QKeySequence(QKeySequence::Redo) : QKeySequence());
    QWidget::showEvent(event);
}

} // namespace kelvane::editeur
