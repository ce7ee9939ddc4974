#include "frames/cadrequestion.h"

#include "data/classeii.h"
#include "platform/services/files.h"
#include "widgets/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

namespace kelvane::frames {

using namespace kelvane::widgets;

CadreQuestion::CadreQuestion(QWidget* parent, const QString& libelleTemps) : QGroupBox(parent) {
    setObjectName(QStringLiteral("Frame3"));
    placer(this, 120, 120, 10575, 6975);
    styliserCadre(this, kBleuClair, kMarine);
    setPolice(this, 8.25, true);

    Label5 = creerLegende(this, QStringLiteral("Label5"), {}, 240, 240, 3600, 300);
    Label7 = creerLegende(this, QStringLiteral("Label7"), {}, 3960, 240, 3360, 300);
    Label6 = creerLegende(this, QStringLiteral("Label6"), {}, 7440, 240, 2900, 300);
    Label6->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Label6->setWordWrap(false);
    Label31 = creerLegende(this, QStringLiteral("Label31"), {}, 240, 720, 2400, 375);
    setPolice(Label31, 12, true);
    creerLegende(this, QStringLiteral("Label15"), QStringLiteral("Chapitre"), 2760, 780, 1000, 315);
    Label8 = creerLegende(this, QStringLiteral("Label8"), {}, 3840, 780, 6480, 315);
    setCouleurs(Label8, QColor(), QColor(128, 0, 0));
    Label22 = creerLegende(this, QStringLiteral("Label22"), {}, 240, 1200, 10080, 975);
    setPolice(Label22, 10, true);
    Label21 = creerLegende(this, QStringLiteral("Label21"), {}, 240, 2280, 8400, 300);
    setPolice(Label21, 8.25, true, true);

    const std::array<const char*, 5> nomsLibelles{"Label20", "Label19", "Label18", "Label17", "Label16"};
    for (std::size_t i = 0; i < 5; ++i) {
        const int haut = 2700 + 600 * static_cast<int>(i);
        const QString n = QString::number(i + 1);
        // The answer's text is centred on its row's box, on one or two lines.
        libelles_[i] = creerLegende(this, QString::fromLatin1(nomsLibelles[i]), {}, 1440, haut - 90, 7200, 555);
        setPolice(libelles_[i], 8.25, false);
        libelles_[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        cases_[i] = nommerControle(new QCheckBox(this), QStringLiteral("Check") + n, 480, haut, 600, 375);
        rangs_[i] = nommerControle(new QComboBox(this), QStringLiteral("Combo") + n, 360, haut, 900, 375);
        rangs_[i]->setEditable(true);
        rangs_[i]->setInsertPolicy(QComboBox::NoInsert);
        cases_[i]->hide();
        rangs_[i]->hide();
    }

    const std::array<std::pair<const char*, const char*>, 3> symboles{{{"Condo", "Symbole du condensateur"},
                                                                       {"Terre", "Symbole de la terre"},
                                                                       {"ClasseII", "Symbole de la classe II"}}};
    for (std::size_t i = 0; i < symboles.size(); ++i) {
        symboles_[i] = creerLabel(this, QString::fromLatin1(symboles[i].first), {}, 8760,
                                  2640 + 1080 * static_cast<int>(i), 1200, 1000);
        symboles_[i]->setAccessibleName(QString::fromUtf8(symboles[i].second));
        symboles_[i]->setAlignment(Qt::AlignCenter);
        symboles_[i]->hide();
    }

    auto* label13 = creerLegende(this, QStringLiteral("Label13"), libelleTemps, 240, 6000, 3600, 375);
    Text4 = creerTexte(this, QStringLiteral("Text4"), 3960, 6000, 1800, 375);
    Text4->setReadOnly(true);
    nommer(label13, Text4);
    Precedent = creerBouton(this, QStringLiteral("Precedent"), QStringLiteral("<<"), 3000, 6480, 1335, 375);
    Precedent->setAccessibleName(QStringLiteral("Question précédente"));
    Suivant = creerBouton(this, QStringLiteral("Suivant"), QStringLiteral(">>"), 4560, 6480, 1335, 375);
    Suivant->setAccessibleName(QStringLiteral("Question suivante"));
    AnnulerQuestion =
        creerBouton(this, QStringLiteral("AnnulerQuestion"), QStringLiteral("Abandonner"), 8400, 6480, 1695, 375);
    for (QPushButton* b : {Precedent, Suivant, AnnulerQuestion}) {
        setPolice(b, 8.25, true);
    }

    connect(Suivant, &QPushButton::clicked, this, &CadreQuestion::suivant);
    connect(Precedent, &QPushButton::clicked, this, &CadreQuestion::precedent);
    connect(AnnulerQuestion, &QPushButton::clicked, this, &CadreQuestion::abandon);
}

void CadreQuestion::chargerImages(const QString& dossierAppli) {
    const QString dossier = services::joinPath(dossierAppli, data::dossierImages());
    const QStringList fichiers = data::imagesClasseII();
    for (std::size_t i = 0; i < symboles_.size(); ++i) {
        symboles_[i]->setPixmap(QPixmap(services::joinPath(dossier, fichiers[static_cast<qsizetype>(i)])));
        symboles_[i]->hide();
    }
}

void CadreQuestion::vider() {
    Text4->clear();
    for (QLabel* l : {Label5, Label6, Label7, Label8, Label22, Label21, Label31}) {
        l->clear();
    }
    for (QLabel* l : {Label5, Label6, Label7}) {
        l->setToolTip({});
    }
}

namespace {
// A text on one line of its label, shortened with "…" where it would not fit; the whole text is its tool tip.
void surUneLigne(QLabel* label, const QString& texte, Qt::TextElideMode coupure) {
    label->setWordWrap(false);
    label->setText(label->fontMetrics().elidedText(texte, coupure, label->width()));
    label->setToolTip(texte);
    label->setAccessibleName(texte);
}
} // namespace

void CadreQuestion::afficherEntete(const QString& candidat, const QString& test, const QString& fichier) {
    surUneLigne(Label5, candidat, Qt::ElideRight);
    surUneLigne(Label7, test, Qt::ElideRight);
    // The end of a results file's name tells the mode and the day: it is shortened in its middle.
    surUneLigne(Label6, fichier, Qt::ElideMiddle);
}

void CadreQuestion::preparerReponses(int nbReponses, bool qcm) {
    for (QComboBox* c : rangs_) {
        c->clear();
    }
    for (int n = 1; n <= nbReponses; ++n) {
        for (QComboBox* c : rangs_) {
            c->addItem(QString::number(n));
        }
    }
    for (std::size_t i = 0; i < 5; ++i) {
        rangs_[i]->setCurrentIndex(-1);
        rangs_[i]->setEditText(QString());
        cases_[i]->setChecked(false);
    }
    // A count out of 1 to 5 leaves the boxes as the last question had them.
    if (nbReponses < 1 || nbReponses > 5) {
        return;
    }
    for (std::size_t i = 0; i < 5; ++i) {
        const bool utilisee = static_cast<int>(i) < nbReponses;
        cases_[i]->setVisible(utilisee && qcm);
        rangs_[i]->setVisible(utilisee && !qcm);
    }
}

void CadreQuestion::montrer(const session::QuestionAffichee& q, bool premiere, bool derniere) {
    Precedent->setEnabled(!premiere);
    Suivant->setText(derniere ? QStringLiteral("Terminer") : QStringLiteral(">>"));
    Suivant->setAccessibleName(derniere ? QStringLiteral("Terminer le test") : QStringLiteral("Question suivante"));

    preparerReponses(q.nbReponses, q.qcm);
    if (q.chapitre) {
        Label8->setText(*q.chapitre);
    }
    Label22->setText(q.texte);
    Label31->setText(QStringLiteral("Question n° ") + QString::number(q.numero));
    const bool symboles = q.texte == data::questionClasseII();
    for (QLabel* image : symboles_) {
        image->setVisible(symboles);
    }
    Label21->setText(q.qcm ? QStringLiteral("Cochez les bonnes réponses")
                           : QStringLiteral("Remettez les réponses dans l'ordre"));
    for (std::size_t i = 0; i < 5; ++i) {
        libelles_[i]->setText(q.reponses[i]);
        // Each answer's controls carry its text for screen readers.
        cases_[i]->setAccessibleName(q.reponses[i]);
        rangs_[i]->setAccessibleName(q.reponses[i]);
        if (q.qcm) {
            cases_[i]->setChecked(q.donnees[i] != 0);
        } else if (q.donnees[i] != 0) {
            rangs_[i]->setEditText(QString::number(q.donnees[i]));
        }
    }
}

session::Reponse CadreQuestion::reponse() const {
    session::Reponse r;
    for (std::size_t i = 0; i < 5; ++i) {
        r.cases[i] = cases_[i]->isChecked();
        r.rangs[i] = rangs_[i]->currentText();
    }
    return r;
}

void CadreQuestion::afficherTemps(const QString& texte) {
    Text4->setText(texte);
}

} // namespace kelvane::frames
