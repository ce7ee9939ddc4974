#include "editeur/formulairequestion.h"

#include "data/classeii.h"
#include "data/controletest.h"
#include "data/format.h"
#include "editeur/choiximage.h"
#include "editeur/fichierimage.h"
#include "editeur/titres.h"
#include "edition/testedite.h"
#include "platform/services/dialogs.h"
#include "platform/services/messages.h"
#include "platform/services/services.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kelvane::editeur {

namespace {

// The question whose three answers the candidate sees beside three pictures.

constexpr int kSaisieTexte = 1;
constexpr int kSaisieReponse = 2; // answer j: 2 + j
constexpr int kSaisieTemps = 7;

std::size_t ix(int i) {
    return static_cast<std::size_t>(i);
}

template <typename T> T* nomme(T* w, const QString& nom, const QString& accessible) {
    w->setObjectName(nom);
    w->setAccessibleName(accessible);
    return w;
}

QString restants(int longueur) {
    const int reste = data::TailleQuestion - longueur;
    if (reste < 0) {
        return QStringLiteral("%1 caractère%2 en trop").arg(-reste).arg(reste < -1 ? QStringLiteral("s") : QString());
    }
    return QStringLiteral("%1 caractère%2 restant%2").arg(reste).arg(reste > 1 ? QStringLiteral("s") : QString());
}

} // namespace

FormulaireQuestion::FormulaireQuestion(edition::TestEdite& test, services::Services& services, QWidget* parent)
    : QGroupBox(QStringLiteral("Question"), parent), test_(test), services_(services) {
    setObjectName(QStringLiteral("formulaire"));
    auto* colonne = new QVBoxLayout(this);
    construireTexte(colonne);
    colonne->addLayout(construireGenre());
    auto* grille = new QGridLayout;
    grille->setColumnStretch(1, 1);
    construireReponses(grille);
    construireClassement(grille);
    colonne->addLayout(grille);
    ordonnerTabulations();
    relierChamps();
    suivreLeTest();
    afficher(-1);
}

void FormulaireQuestion::construireTexte(QVBoxLayout* colonne) {
    texte_ = nomme(new QPlainTextEdit(this), QStringLiteral("texteQuestion"), QStringLiteral("Texte de la question"));
    texte_->setTabChangesFocus(true);
    texte_->setUndoRedoEnabled(false);
    texte_->setFixedHeight(texte_->fontMetrics().lineSpacing() * 3 + 14);
    auto* libelleTexte = new QLabel(QStringLiteral("Te&xte de la question"), this);
    libelleTexte->setBuddy(texte_);
    restants_ = nomme(new QLabel(this), QStringLiteral("caracteresRestants"), QStringLiteral("Caractères restants"));
    restants_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    indication_ = nomme(new QLabel(this), QStringLiteral("indicationClasseII"),
                        QStringLiteral("Indication sur la question de la classe II"));
    indication_->setWordWrap(true);
    indication_->setTextFormat(Qt::PlainText);
    indication_->setForegroundRole(QPalette::PlaceholderText);

    auto* enteteTexte = new QHBoxLayout;
    enteteTexte->addWidget(libelleTexte);
    enteteTexte->addStretch();
    enteteTexte->addWidget(restants_);
    colonne->addLayout(enteteTexte);
    auto* ligneTexte = new QHBoxLayout;
    ligneTexte->addWidget(texte_, 1);
    ligneTexte->addWidget(creerChoixImage(0), 0, Qt::AlignTop);
    colonne->addLayout(ligneTexte);
    colonne->addWidget(indication_);
}

QLayout* FormulaireQuestion::construireGenre() {
    cases_ = nomme(new QRadioButton(QStringLiteral("&Cases à cocher"), this), QStringLiteral("genreCases"),
                   QStringLiteral("Question à cases à cocher"));
    ordre_ = nomme(new QRadioButton(QStringLiteral("&Ordre à rétablir"), this), QStringLiteral("genreOrdre"),
                   QStringLiteral("Question à remettre dans l'ordre"));
    auto* genres = new QButtonGroup(this);
    genres->addButton(cases_);
    genres->addButton(ordre_);
    nombre_ = nomme(new QSpinBox(this), QStringLiteral("nombreReponses"), QStringLiteral("Nombre de réponses"));
    nombre_->setRange(1, 5);
    auto* libelleNombre = new QLabel(QStringLiteral("Nom&bre de réponses"), this);
    libelleNombre->setBuddy(nombre_);

    auto* lignesGenre = new QHBoxLayout;
    lignesGenre->addWidget(cases_);
    lignesGenre->addWidget(ordre_);
    lignesGenre->addStretch();
    lignesGenre->addWidget(libelleNombre);
    lignesGenre->addWidget(nombre_);
    return lignesGenre;
}

void FormulaireQuestion::construireClassement(QGridLayout* grille) {
    // The levels, the chapter and the time, under the answers and aligned with them.
    auto* ligneNiveaux = new QHBoxLayout;
    for (int k = 0; k < 5; ++k) {
        const QString nom = data::kNiveaux[ix(k)];
        niveaux_[ix(k)] =
            nomme(new QCheckBox(nom, this), QStringLiteral("niveau") + nom, QStringLiteral("Niveau ") + nom);
        ligneNiveaux->addWidget(niveaux_[ix(k)]);
    }
    ligneNiveaux->addStretch();
    // Alt+V goes to B0 without ticking it, which a label's buddy that is a check box would do.
    auto* libelleNiveaux = new QLabel(QStringLiteral("Ni<u>v</u>eaux"), this);
    libelleNiveaux->setTextFormat(Qt::RichText);
    auto* versNiveaux = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_V), this);
    versNiveaux->setContext(Qt::WidgetWithChildrenShortcut);
    connect(versNiveaux, &QShortcut::activated, this, [this] { niveaux_[0]->setFocus(Qt::ShortcutFocusReason); });
    chapitre_ =
        nomme(new QComboBox(this), QStringLiteral("chapitreQuestion"), QStringLiteral("Chapitre de la question"));
    chapitre_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    chapitre_->setMinimumContentsLength(12);
    auto* libelleChapitre = new QLabel(QStringLiteral("C&hapitre"), this);
    libelleChapitre->setBuddy(chapitre_);
    temps_ =
        nomme(new QSpinBox(this), QStringLiteral("tempsQuestion"), QStringLiteral("Temps de la question, secondes"));
    temps_->setRange(0, 32767);
    temps_->setSuffix(QStringLiteral(" s"));
    auto* libelleTemps = new QLabel(QStringLiteral("Temps de la question"), this);
    libelleTemps->setBuddy(temps_);
    auto* ligneChapitre = new QHBoxLayout;
    ligneChapitre->addWidget(chapitre_, 1);
    ligneChapitre->addSpacing(16);
    ligneChapitre->addWidget(libelleTemps);
    ligneChapitre->addWidget(temps_);
    grille->addWidget(libelleNiveaux, 5, 0);
    grille->addLayout(ligneNiveaux, 5, 1, 1, 3);
    grille->addWidget(libelleChapitre, 6, 0);
    grille->addLayout(ligneChapitre, 6, 1, 1, 3);
}

void FormulaireQuestion::ordonnerTabulations() {
    // The order of the keyboard: text and its picture, kind, count, answers with their values and pictures, levels,
    // chapter, time.
    QWidget* precedent = texte_;
    auto suivre = [&precedent](QWidget* w) {
        setTabOrder(precedent, w);
        precedent = w;
    };
    precedent = images_[0]->ordonnerApres(precedent);
    suivre(cases_);
    suivre(ordre_);
    suivre(nombre_);
    for (int j = 0; j < 5; ++j) {
        suivre(reponses_[ix(j)]);
        suivre(coches_[ix(j)]);
        suivre(rangs_[ix(j)]);
        precedent = images_[ix(j + 1)]->ordonnerApres(precedent);
    }
    for (QCheckBox* n : niveaux_) {
        suivre(n);
    }
    suivre(chapitre_);
    suivre(temps_);
}

void FormulaireQuestion::relierChamps() {
    connect(texte_, &QPlainTextEdit::textChanged, this, [this] {
        if (!actualisation_) {
            const QString t = texte_->toPlainText();
            modifier([&](data::QuestionTest& q) { q[data::champ::Question] = t; }, kSaisieTexte);
        }
    });
    connect(cases_, &QRadioButton::toggled, this, [this](bool qcm) {
        if (!actualisation_) {
            modifier([qcm](data::QuestionTest& q) { edition::changerGenre(q, qcm); });
        }
    });
    connect(nombre_, &QSpinBox::valueChanged, this, [this](int n) {
        if (!actualisation_) {
            modifier([n](data::QuestionTest& q) { edition::changerNbReponses(q, n); });
        }
    });
    for (int k = 0; k < 5; ++k) {
        connect(niveaux_[ix(k)], &QCheckBox::toggled, this, [this, k](bool oui) {
            if (!actualisation_) {
                modifier([k, oui](data::QuestionTest& q) { q[ix(data::champ::B0 + k)] = oui; });
            }
        });
    }
    connect(chapitre_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!actualisation_ && i >= 0) {
            const int numero = chapitre_->itemData(i).toInt();
            modifier([numero](data::QuestionTest& q) { q[data::champ::Chapitre] = numero; });
        }
    });
    connect(temps_, &QSpinBox::valueChanged, this, [this](int s) {
        if (!actualisation_) {
            modifier([s](data::QuestionTest& q) { q[data::champ::Temps] = s; }, kSaisieTemps);
        }
    });
}

void FormulaireQuestion::suivreLeTest() {
    connect(&test_, &edition::TestEdite::questionChangee, this, [this](int i) {
        if (i == indice_) {
            afficher(i);
        }
    });
    connect(&test_, &edition::TestEdite::chapitresChanges, this, [this] { afficher(indice_); });
}

void FormulaireQuestion::construireReponses(QGridLayout* grille) {
    for (int j = 0; j < 5; ++j) {
        const QString n = QString::number(j + 1);
        reponses_[ix(j)] =
            nomme(new QLineEdit(this), QStringLiteral("reponse") + n, QStringLiteral("Texte de la réponse ") + n);
        libelles_[ix(j)] = new QLabel(QStringLiteral("Réponse &") + n, this);
        libelles_[ix(j)]->setBuddy(reponses_[ix(j)]);
        coches_[ix(j)] = nomme(new QCheckBox(QStringLiteral("À cocher"), this), QStringLiteral("coche") + n,
                               QStringLiteral("Réponse %1 à cocher").arg(n));
        rangs_[ix(j)] =
            nomme(new QSpinBox(this), QStringLiteral("rang") + n, QStringLiteral("Rang de la réponse %1").arg(n));
        rangs_[ix(j)]->setRange(1, 5);
        rangs_[ix(j)]->setPrefix(QStringLiteral("Rang "));
        auto* valeur = new QHBoxLayout;
        valeur->addWidget(coches_[ix(j)]);
        valeur->addWidget(rangs_[ix(j)]);
        grille->addWidget(libelles_[ix(j)], j, 0);
        grille->addWidget(reponses_[ix(j)], j, 1);
        grille->addLayout(valeur, j, 2);
        grille->addWidget(creerChoixImage(j + 1), j, 3);
        grille->setColumnMinimumWidth(2, 96);

        connect(reponses_[ix(j)], &QLineEdit::textEdited, this, [this, j](const QString& t) {
            modifier([&](data::QuestionTest& q) { q[ix(data::champ::R1 + j)] = t; }, kSaisieReponse + j);
        });
        connect(coches_[ix(j)], &QCheckBox::toggled, this, [this, j](bool oui) {
            if (!actualisation_) {
                modifier([j, oui](data::QuestionTest& q) { q[ix(data::champ::S1 + j)] = oui ? 1 : 0; });
            }
        });
        connect(rangs_[ix(j)], &QSpinBox::valueChanged, this, [this, j](int rang) {
            if (!actualisation_) {
                modifier([j, rang](data::QuestionTest& q) { q[ix(data::champ::S1 + j)] = rang; });
            }
        });
        for (QWidget* w : std::initializer_list<QWidget*>{reponses_[ix(j)], rangs_[ix(j)]}) {
            w->installEventFilter(this);
        }
    }
    texte_->installEventFilter(this);
}

void FormulaireQuestion::modifier(const std::function<void(data::QuestionTest&)>& changement, int saisie) {
    if (indice_ < 0 || indice_ >= test_.nbQuestions()) {
        return;
    }
    data::QuestionTest q = test_.question(indice_);
    changement(q);
    test_.modifierQuestion(indice_, q, saisie);
}

ChoixImage* FormulaireQuestion::creerChoixImage(int place) {
    const QString nom = place == 0 ? QStringLiteral("Question") : QStringLiteral("Reponse%1").arg(place);
    const QString quoi = place == 0 ? QStringLiteral("de la question") : QStringLiteral("de la réponse %1").arg(place);
    auto* choix = new ChoixImage(nom, quoi, this);
    images_[ix(place)] = choix;
    connect(choix, &ChoixImage::choisir, this, [this, place] {
        const QString depart = dossierImages_.isEmpty() ? QFileInfo(test_.chemin()).absolutePath() : dossierImages_;
        const QString chemin = services_.dialogs->chooseFileToOpen(
            QStringLiteral("Choisir une image"), depart,
            QStringLiteral("Images PNG ou JPEG (*.png *.jpg *.jpeg *.PNG *.JPG *.JPEG);;Tous les fichiers (*)"));
        if (!chemin.isEmpty()) {
            poserImage(place, chemin);
        }
    });
    connect(choix, &ChoixImage::deposer, this, [this, place](const QString& chemin) { poserImage(place, chemin); });
    connect(choix, &ChoixImage::retirer, this, [this, place] { test_.changerImage(indice_, place, std::nullopt); });
    return choix;
}

void FormulaireQuestion::poserImage(int place, const QString& chemin) {
    if (indice_ < 0 || indice_ >= test_.nbQuestions()) {
        return;
    }
    dossierImages_ = QFileInfo(chemin).absolutePath();
    auto lue = lireFichierImage(chemin);
    if (const auto* refus = std::get_if<QString>(&lue)) {
        services_.messages->MsgBox(QStringLiteral("L'image n'est pas ajoutée : %1.").arg(*refus),
                                   services::Buttons::OkOnly, kTitreEditeur);
        return;
    }
    test_.changerImage(indice_, place, std::get<data::Image>(std::move(lue)));
}

void FormulaireQuestion::actualiserChapitres() {
    chapitre_->clear();
    for (const auto& c : test_.test().chapitres) {
        chapitre_->addItem(QStringLiteral("%1 %2").arg(c.numero.toString(), c.nom.toString()), c.numero.toInt());
    }
}

void FormulaireQuestion::actualiserTexte(const data::QuestionTest& q) {
    const QString texte = edition::texte(q);
    restants_->setText(restants(static_cast<int>(texte.size())));
    const QStringList images = data::imagesClasseII();
    QString indication =
        QStringLiteral("Le texte exact « %1 » montre au candidat trois images à côté des réponses 1 à 3, dans cet "
                       "ordre : le condensateur (%2), la terre (%3) et le double carré (%4), du dossier %5 du dossier "
                       "du test.")
            .arg(data::questionClasseII(), images[0], images[1], images[2], data::dossierImages());
    if (texte == data::questionClasseII()) {
        QStringList manquantes;
        const QDir dossier(QFileInfo(test_.chemin()).absoluteDir().filePath(data::dossierImages()));
        for (const QString& image : images) {
            if (!dossier.exists(image)) {
                manquantes << image;
            }
        }
        indication = manquantes.isEmpty()
                         ? QStringLiteral("Ce texte montre les trois images : le condensateur, la terre et le double "
                                          "carré, à côté des réponses 1 à 3.")
                         : QStringLiteral("Ce texte montre trois images, mais le dossier %1 du test n'a pas : %2.")
                               .arg(data::dossierImages(), manquantes.join(QStringLiteral(", ")));
    }
    indication_->setText(indication);
    if (texte_->toPlainText() != texte) {
        texte_->setPlainText(texte);
        texte_->moveCursor(QTextCursor::End);
    }
}

void FormulaireQuestion::afficher(int indice) {
    actualisation_ = true;
    indice_ = indice;
    const bool question = indice >= 0 && indice < test_.nbQuestions();
    setEnabled(question);
    actualiserChapitres();
    const data::QuestionTest q = question ? test_.question(indice) : edition::nouvelleQuestion(0);
    setTitle(question ? QStringLiteral("Question n° %1").arg(edition::numero(q)) : QStringLiteral("Question"));
    actualiserTexte(q);
    images_[0]->montrer(test_.images(indice).place(0));
    const bool qcm = edition::estQcm(q);
    cases_->setChecked(qcm);
    ordre_->setChecked(!qcm);
    const int n = std::clamp(edition::nbReponses(q), 1, data::NbReponsesMax);
    nombre_->setValue(n);
    for (int j = 0; j < data::NbReponsesMax; ++j) {
        const bool utilisee = j < n;
        const QString texte = edition::reponse(q, j);
        if (reponses_[ix(j)]->text() != texte) {
            reponses_[ix(j)]->setText(texte);
        }
        for (QWidget* w :
             std::initializer_list<QWidget*>{libelles_[ix(j)], reponses_[ix(j)], coches_[ix(j)], rangs_[ix(j)]}) {
            w->setEnabled(utilisee);
        }
        // A picture left on an answer that is gone can still be removed.
        const std::optional<data::Image>& image = test_.images(indice).place(j + 1);
        images_[ix(j + 1)]->montrer(image);
        images_[ix(j + 1)]->setEnabled(utilisee || image.has_value());
        coches_[ix(j)]->setVisible(qcm);
        rangs_[ix(j)]->setVisible(!qcm);
        coches_[ix(j)]->setChecked(qcm && edition::valeur(q, j) == 1);
        rangs_[ix(j)]->setMaximum(std::max(data::NbReponsesMax, edition::valeur(q, j)));
        rangs_[ix(j)]->setValue(qcm ? 1 : edition::valeur(q, j));
    }
    for (int k = 0; k < data::NbNiveaux; ++k) {
        niveaux_[ix(k)]->setChecked(edition::niveau(q, k));
    }
    const int numero = edition::chapitre(q);
    int ligne = chapitre_->findData(numero);
    if (ligne < 0 && question) {
        chapitre_->addItem(QStringLiteral("%1 (non déclaré)").arg(numero), numero);
        ligne = chapitre_->count() - 1;
    }
    chapitre_->setCurrentIndex(ligne);
    temps_->setValue(edition::tempsQuestion(q));
    actualisation_ = false;
}

void FormulaireQuestion::prendreFocus() {
    texte_->setFocus(Qt::OtherFocusReason);
}

bool FormulaireQuestion::eventFilter(QObject* objet, QEvent* evenement) {
    if (evenement->type() == QEvent::FocusOut) {
        test_.terminerSaisie(); // the next typing in the field is a new step
    } else if (evenement->type() == QEvent::ShortcutOverride) {
        // Undo and redo go to the test's stack, not to the field's own.
        auto* touche = static_cast<QKeyEvent*>(evenement);
        if (touche->matches(QKeySequence::Undo) || touche->matches(QKeySequence::Redo)) {
            return true;
        }
    }
    return QGroupBox::eventFilter(objet, evenement);
}

} // namespace kelvane::editeur
