#include "frames/cadreresultats.h"

#include "results/resultats.h"
#include "widgets/controls.h"
#include "widgets/listes.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace kelvane::frames {

using namespace kelvane::widgets;

namespace {

QLabel* texte(QWidget* parent, const QString& nom, const QString& contenu, int l, int t, int w, int h, double points,
              bool gras, const QColor& couleur, Qt::Alignment alignement) {
    QLabel* label = creerLabel(parent, nom, contenu, l, t, w, h);
    setPolice(label, points, gras);
    setCouleurs(label, QColor(), couleur);
    label->setAlignment(alignement | Qt::AlignVCenter);
    label->setWordWrap(false);
    return label;
}

// A small printer drawn in code, 20 by 17 pixels, so that the button needs no picture file.
QIcon iconeImprimante() {
    QPixmap image(20, 17);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(5, 0, 9, 6); // the sheet going in
    p.setBrush(QColor(160, 160, 160));
    p.drawRect(1, 6, 17, 7); // the body
    p.setBrush(Qt::white);
    p.drawRect(4, 11, 11, 5); // the sheet coming out
    p.setPen(QColor(0, 128, 0));
    p.drawPoint(15, 8);
    return QIcon(image);
}

} // namespace

CadreResultats::CadreResultats(QWidget* parent, Options options) : QGroupBox(QStringLiteral("Résultats"), parent) {
    setObjectName(QStringLiteral("Frame5"));
    styliserCadre(this, kBleuClair, kMarine);
    setPolice(this, 8.25, true);
    const QColor rougeFonce(128, 0, 0);
    const QColor vertFonce(0, 128, 0);
    const auto gauche = Qt::AlignLeft;
    const auto centre = Qt::AlignHCenter;

    Label27 = texte(this, QStringLiteral("Label27"), {}, options.gaucheCandidat, 240, 5655, 375, 9.75, true, rougeFonce,
                    gauche);
    Label28 = texte(this, QStringLiteral("Label28"), {}, 6480, 240, 3855, 375, 9.75, true, vertFonce, Qt::AlignRight);
    Line5 = new QFrame(this);
    Line5->setObjectName(QStringLiteral("Line5"));
    Line5->setFrameShape(QFrame::NoFrame);
    Line5->setAutoFillBackground(true);
    setCouleurs(Line5, Qt::white);
    placer(Line5, 240, 720, 10080, 15);
    Label9 = texte(this, QStringLiteral("Label9"), {}, 360, 840, 9975, 375, 9.75, true, kMarine, centre);
    Label10 = texte(this, QStringLiteral("Label10"), {}, 360, 1320, 9975, 375, 9.75, true, kMarine, centre);
    Label25 =
        texte(this, QStringLiteral("Label25"), QStringLiteral("Bonnes Réponses par rapport au niveau d'Habilitation"),
              360, 1800, 4695, 255, 8.25, true, kMarine, centre);
    Label26 = texte(this, QStringLiteral("Label26"), QStringLiteral("Bonnes Réponses par rapport au Chapitre"), 5640,
                    1800, 4695, 255, 8.25, true, kMarine, centre);
    const std::array<const char*, 5> noms{"Label11", "Label12", "Label14", "Label23", "Label24"};
    for (std::size_t j = 0; j < noms.size(); ++j) {
        niveaux_[j] = texte(this, QString::fromLatin1(noms[j]), {}, 360, 2280 + 360 * static_cast<int>(j), 4695, 255,
                            8.25, false, kMarine, centre);
    }

    List2 = creerListe(this, QStringLiteral("List2"), 5640, 2160, 4695, 1815);
    List2->setAccessibleName(Label26->text());
    List1 = creerListe(this, QStringLiteral("List1"), 360, 4080, 9975, 2205);
    List1->setAccessibleName(QStringLiteral("Questions et réponses"));
    for (QListWidget* l : {List1, List2}) {
        setPolice(l, 8.25);
    }

    Fermer = creerBouton(this, QStringLiteral("Fermer"), QStringLiteral("Quitter"), 360, 6480, 1335, 375);
    ImprimerResultat = creerBouton(this, QStringLiteral("ImprimerResultat"), {}, 4320, 6480, 1455, 375);
    ImprimerResultat->setIcon(iconeImprimante());
    ImprimerResultat->setIconSize(QSize(20, 17));
    ImprimerResultat->setAccessibleName(QStringLiteral("Imprimer"));
    ImprimerResultat->setToolTip(QStringLiteral("Imprimer"));
    if (options.retourner) {
        Retourner = creerBouton(this, QStringLiteral("Retourner"), QStringLiteral("Retourner au questionnaire"), 7680,
                                6480, 2535, 375);
    }
    for (QPushButton* b : {Fermer, ImprimerResultat, Retourner}) {
        if (b != nullptr) {
            setPolice(b, 8.25);
        }
    }

    connect(Fermer, &QPushButton::clicked, this, &CadreResultats::fermer);
    connect(ImprimerResultat, &QPushButton::clicked, this, &CadreResultats::imprimer);
    if (Retourner != nullptr) {
        connect(Retourner, &QPushButton::clicked, this, &CadreResultats::retourner);
    }
    suivreChoix(List1, [this](int ligne) { emit questionChoisie(ligne); });
}

void CadreResultats::afficher(const results::TextesResultats& textes) {
    Label27->setText(textes.candidat);
    Label28->setText(textes.entete);
    Label9->setText(textes.nombreBonnes);
    Label10->setText(textes.verdict);
    for (std::size_t j = 0; j < niveaux_.size(); ++j) {
        niveaux_[j]->setText(textes.niveaux[j]);
    }
    List1->clear();
    List1->addItems(textes.lignesQuestions);
    List2->clear();
    List2->addItems(textes.lignesChapitres);
}

} // namespace kelvane::frames
