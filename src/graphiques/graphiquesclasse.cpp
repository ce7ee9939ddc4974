#include "graphiques/graphiquesclasse.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QGraphicsScene>
#include <QLineSeries>
#include <QPainter>
#include <QStackedBarSeries>
#include <QValueAxis>
#include <algorithm>
#include <map>

namespace kelvane::graphiques {

namespace {

const QColor kBleu(46, 94, 170);
const QColor kVert(60, 150, 80);
const QColor kRouge(200, 60, 50);
const QColor kSeuil(200, 40, 30);

QChart* nouveauGraphique(const QString& titre) {
    auto* graphique = new QChart;
    graphique->setTitle(titre);
    QFont police = graphique->titleFont();
    police.setBold(true);
    graphique->setTitleFont(police);
    graphique->setAnimationOptions(QChart::NoAnimation);
    graphique->setBackgroundRoundness(0);
    graphique->setMargins(QMargins(4, 4, 4, 4));
    return graphique;
}

QValueAxis* axePourcentage(const QString& titre) {
    auto* axe = new QValueAxis;
    axe->setRange(0, 100);
    axe->setTickCount(6);
    axe->setLabelFormat(QStringLiteral("%d"));
    axe->setTitleText(titre);
    return axe;
}

double numero(const bilan::StatistiqueQuestion& s) {
    bool ok = false;
    const double n = s.question != nullptr ? s.question->numero.toDouble(&ok) : 0.0;
    return ok ? n : 1e9 + s.index;
}

} // namespace

QChart* creerHistogramme(const std::array<int, 10>& repartition, int seuil) {
    QChart* graphique = nouveauGraphique(QStringLiteral("Répartition des candidats"));
    auto* candidats = new QBarSet(QStringLiteral("Candidats"));
    auto* reussis = new QBarSet(QStringLiteral("Au-dessus du seuil"));
    QStringList classes;
    int plusHaut = 0;
    for (std::size_t i = 0; i < repartition.size(); ++i) {
        const int debut = static_cast<int>(i) * 10;
        // A bin at or above the pass mark holds candidates who passed it.
        const bool auDessus = debut >= seuil;
        *candidats << (auDessus ? 0 : repartition[i]);
        *reussis << (auDessus ? repartition[i] : 0);
        plusHaut = std::max(plusHaut, repartition[i]);
        classes << (i + 1 < repartition.size() ? QStringLiteral("%1–%2").arg(debut).arg(debut + 9)
                                               : QStringLiteral("90–100"));
    }
    candidats->setLabel(QStringLiteral("Sous le seuil"));
    candidats->setColor(kRouge);
    reussis->setColor(kVert);
    auto* barres = new QStackedBarSeries;
    barres->append(candidats);
    barres->append(reussis);
    barres->setBarWidth(0.9);
    graphique->addSeries(barres);

    auto* axeClasses = new QBarCategoryAxis;
    axeClasses->append(classes);
    axeClasses->setTitleText(QStringLiteral("Bonnes réponses (%)"));
    auto* axeNombre = new QValueAxis;
    axeNombre->setRange(0, std::max(plusHaut, 1) + (plusHaut >= 4 ? 1 : 0));
    axeNombre->setTickType(QValueAxis::TicksDynamic);
    axeNombre->setTickAnchor(0);
    axeNombre->setTickInterval(std::max(1, (plusHaut + 5) / 6));
    axeNombre->setLabelFormat(QStringLiteral("%d"));
    axeNombre->setTitleText(QStringLiteral("Candidats"));
    graphique->addAxis(axeClasses, Qt::AlignBottom);
    graphique->addAxis(axeNombre, Qt::AlignLeft);
    barres->attachAxis(axeClasses);
    barres->attachAxis(axeNombre);

    // The pass mark on a hidden axis of 0 to 100 over the same width as the ten bins.
    auto* axeSeuil = new QValueAxis;
    axeSeuil->setRange(0, 100);
    axeSeuil->setVisible(false);
    graphique->addAxis(axeSeuil, Qt::AlignTop);
    auto* ligne = new QLineSeries;
    ligne->setName(QStringLiteral("Seuil de réussite (%1 %)").arg(seuil));
    const double x = std::clamp(seuil, 0, 100);
    ligne->append(x, 0);
    ligne->append(x, axeNombre->max());
    QPen crayon(kSeuil);
    crayon.setWidth(3);
    crayon.setStyle(Qt::DashLine);
    ligne->setPen(crayon);
    graphique->addSeries(ligne);
    ligne->attachAxis(axeSeuil);
    ligne->attachAxis(axeNombre);
    graphique->legend()->setAlignment(Qt::AlignBottom);
    return graphique;
}

QChart* creerBarresQuestions(const std::vector<bilan::StatistiqueQuestion>& statistiques, int seuil) {
    QChart* graphique = nouveauGraphique(QStringLiteral("Bonnes réponses par question"));
    std::vector<const bilan::StatistiqueQuestion*> ordre;
    for (const bilan::StatistiqueQuestion& s : statistiques) {
        ordre.push_back(&s);
    }
    std::stable_sort(ordre.begin(), ordre.end(), [](const auto* a, const auto* b) { return numero(*a) < numero(*b); });
    auto* sous = new QBarSet(QStringLiteral("Sous le seuil"));
    auto* dessus = new QBarSet(QStringLiteral("Au-dessus du seuil"));
    sous->setColor(kRouge);
    dessus->setColor(kBleu);
    QStringList numeros;
    for (const bilan::StatistiqueQuestion* s : ordre) {
        const double part = s->pourcentage.value_or(0.0);
        const bool auDessous = s->pourcentage && part < seuil;
        *sous << (auDessous ? part : 0.0);
        *dessus << (auDessous ? 0.0 : part);
        numeros << (s->question != nullptr ? s->question->numero : QString::number(s->index + 1));
    }
    auto* barres = new QStackedBarSeries;
    barres->append(sous);
    barres->append(dessus);
    barres->setBarWidth(0.8);
    graphique->addSeries(barres);
    auto* axeQuestions = new QBarCategoryAxis;
    axeQuestions->append(numeros);
    axeQuestions->setTitleText(QStringLiteral("Question"));
    if (numeros.size() > 30) {
        QFont petite = axeQuestions->labelsFont();
        petite.setPointSizeF(std::max(5.0, petite.pointSizeF() * 30.0 / numeros.size()));
        axeQuestions->setLabelsFont(petite);
    }
    QValueAxis* axeParts = axePourcentage(QStringLiteral("%"));
    graphique->addAxis(axeQuestions, Qt::AlignBottom);
    graphique->addAxis(axeParts, Qt::AlignLeft);
    barres->attachAxis(axeQuestions);
    barres->attachAxis(axeParts);
    graphique->legend()->setAlignment(Qt::AlignBottom);
    return graphique;
}

QImage rendre(QChart* graphique, QSize taille) {
    QGraphicsScene scene;
    scene.addItem(graphique); // the scene deletes it
    graphique->setGeometry(QRectF(QPointF(0, 0), QSizeF(taille)));
    QImage image(taille, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter peintre(&image);
    peintre.setRenderHint(QPainter::Antialiasing);
    scene.render(&peintre, QRectF(QPointF(0, 0), QSizeF(taille)), QRectF(QPointF(0, 0), QSizeF(taille)));
    return image;
}

int seuilDuTest(const bilan::Selection& selection, const QString& test) {
    std::map<int, int> seuils;
    for (const bilan::Passage* p : selection) {
        if (p->test == test) {
            ++seuils[p->tolerance];
        }
    }
    const auto plusFrequent = std::max_element(seuils.begin(), seuils.end(),
                                               [](const auto& a, const auto& b) { return a.second < b.second; });
    return plusFrequent != seuils.end() ? plusFrequent->first : 70;
}

std::vector<bilan::Image> illustrationsBilan(const bilan::Classe& classe, const QString& test,
                                             const bilan::Selection& selection) {
    const int seuil = seuilDuTest(selection, test);
    const QSize taille(1600, 800);
    const auto png = [](const QImage& image) {
        QByteArray octets;
        QBuffer tampon(&octets);
        tampon.open(QIODevice::WriteOnly);
        image.save(&tampon, "PNG");
        return octets;
    };
    std::vector<bilan::Image> images;
    images.push_back({QStringLiteral("Répartition des candidats — %1").arg(test),
                      png(rendre(creerHistogramme(bilan::repartition(selection, test), seuil), taille))});
    images.push_back(
        {QStringLiteral("Bonnes réponses par question — %1").arg(test),
         png(rendre(creerBarresQuestions(bilan::statistiquesQuestions(classe, test, selection), seuil), taille))});
    return images;
}

} // namespace kelvane::graphiques
