#include "editeur/apercuquestion.h"

#include "edition/question.h"
#include "edition/testedite.h"
#include "frames/cadrequestion.h"
#include "session/session.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>

namespace kelvane::editeur {

ApercuQuestion::ApercuQuestion(QWidget* parent)
    : QGraphicsView(parent), cadre_(new frames::CadreQuestion(nullptr, QStringLiteral("Temps restant"))) {
    setObjectName(QStringLiteral("apercu"));
    setAccessibleName(QStringLiteral("Aperçu de la question"));
    setFocusPolicy(Qt::NoFocus);
    setInteractive(false);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    auto* scene = new QGraphicsScene(this);
    proxy_ = scene->addWidget(cadre_);
    proxy_->setPos(0, 0);
    cadre_->move(0, 0);
    scene->setSceneRect(0, 0, cadre_->width(), cadre_->height());
    setScene(scene);
    setBackgroundBrush(palette().window());
    cadre_->vider();
}

void ApercuQuestion::chargerImages(const QString& dossierTest) {
    cadre_->chargerImages(dossierTest);
}

void ApercuQuestion::montrer(const edition::TestEdite& test, int indice) {
    cadre_->vider();
    cadre_->afficherEntete(QStringLiteral("Aperçu"), test.test().nom + session::modeEntrainement().libelleMode, {});
    const int temps = test.tempsTest();
    cadre_->afficherTemps(QStringLiteral("%1 mn %2 s").arg(temps / 60).arg(temps % 60));
    const bool question = indice >= 0 && indice < test.nbQuestions();
    proxy_->setVisible(question);
    session::QuestionAffichee affichee;
    if (question) {
        const data::QuestionTest& q = test.question(indice);
        affichee.numero = edition::numero(q);
        affichee.texte = edition::texte(q);
        affichee.chapitre = test.nomChapitre(edition::chapitre(q));
        affichee.qcm = edition::estQcm(q);
        affichee.nbReponses = edition::nbReponses(q);
        for (int j = 0; j < data::NbReponsesMax; ++j) {
            affichee.reponses[static_cast<std::size_t>(j)] = edition::reponse(q, j);
        }
        affichee.images = test.images(indice);
    }
    cadre_->montrer(affichee, affichee.numero <= 1, test.placeAuTableau(indice) == test.nbQuestions() - 1);
}

void ApercuQuestion::resizeEvent(QResizeEvent* event) {
    QGraphicsView::resizeEvent(event);
    ajuster();
}

void ApercuQuestion::ajuster() {
    fitInView(sceneRect(), Qt::KeepAspectRatio);
}

} // namespace kelvane::editeur
