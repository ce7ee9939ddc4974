#pragma once

#include "bilan/bilan.h"
#include "bilan/impressionbilan.h"

#include <QImage>
#include <QSize>
#include <array>
#include <vector>

class QChart;

namespace kelvane::graphiques {

// The spread of the candidates' shares in ten bins of ten points, the pass mark drawn on it as a vertical line.
QChart* creerHistogramme(const std::array<int, 10>& repartition, int seuil);
// Each question's share right as a bar, in the order of the numbers; the bars under the pass mark in red.
QChart* creerBarresQuestions(const std::vector<bilan::StatistiqueQuestion>& statistiques, int seuil);

// Draws the chart, taken over and deleted, on a white image of that size.
QImage rendre(QChart* graphique, QSize taille);

// The pass mark of a test over the lines: the one most of its files carry (70 when none does).
int seuilDuTest(const bilan::Selection& selection, const QString& test);

// The pictures of one test over the lines, as the printed summary takes them (PNG): the spread of the shares and
// the questions' shares. Needs a running QApplication.
std::vector<bilan::Image> illustrationsBilan(const bilan::Classe& classe, const QString& test,
                                             const bilan::Selection& selection);

} // namespace kelvane::graphiques
