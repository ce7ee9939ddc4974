#include "atelier/listetests.h"

#include "atelier/noms.h"
#include "data/format.h"
#include "data/reglesfichiers.h"
#include "data/test.h"
#include "platform/error.h"
#include "widgets/listes.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QSignalBlocker>
#include <algorithm>

namespace kelvane::atelier {

namespace {

enum Colonne { ColTest, ColQuestions, ColChapitres, ColTemps, ColTolerance, NbColonnes };

const QString kTiret = QStringLiteral("—");

} // namespace

std::optional<LigneTest> lireLigne(const QString& chemin) {
    if (!data::estFichierTest(chemin)) {
        return std::nullopt;
    }
    LigneTest ligne;
    ligne.fichier = QFileInfo(chemin).fileName();
    try {
        const auto lu = data::lireTest(chemin, data::LectureImages::Sans);
        if (const auto* refus = std::get_if<data::TestRefuse>(&lu)) {
            ligne.refus = refus->message;
            return ligne;
        }
        const auto& test = std::get<data::Test>(lu);
        ligne.lu = true;
        ligne.questions = static_cast<int>(test.questions.size());
        ligne.chapitres = static_cast<int>(test.chapitres.size());
        ligne.temps = test.temps;
        ligne.tolerance = test.tolerance;
    } catch (const Error& e) {
        ligne.refus = e.text();
    }
    return ligne;
}

std::vector<LigneTest> lireTestsDuDossier(const QString& dossier) {
    QDir d(dossier);
    d.setNameFilters({QLatin1Char('*') + data::kExtension});
    d.setFilter(QDir::Files | QDir::Hidden);
    QStringList noms = d.entryList();
    widgets::trierNoms(noms);
    std::vector<LigneTest> lignes;
    for (const QString& nom : noms) {
        if (auto ligne = lireLigne(d.filePath(nom))) {
            lignes.push_back(*ligne);
        }
    }
    return lignes;
}

QString texteTemps(const QVariant& secondes) {
    bool nombre = false;
    const int s = secondes.toInt(&nombre);
    if (!nombre || secondes.isNull() || s < 0) {
        return kTiret;
    }
    return QStringLiteral("%1:%2").arg(s / 60, 2, 10, QLatin1Char('0')).arg(s % 60, 2, 10, QLatin1Char('0'));
}

ListeTests::ListeTests(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("listeTests"));
    setAccessibleName(QStringLiteral("Tests du dossier"));
    setColumnCount(NbColonnes);
    setHeaderLabels({QStringLiteral("Test"), QStringLiteral("Questions"), QStringLiteral("Chapitres"),
                     QStringLiteral("Temps"), QStringLiteral("Tolérance")});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(ColTest, QHeaderView::Stretch);
    for (int c = ColQuestions; c < NbColonnes; ++c) {
        header()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
        headerItem()->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    }
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* courant, QTreeWidgetItem* avant) {
        if (courant != nullptr) {
            emit testChoisi(courant->data(ColTest, Qt::UserRole).toString(),
                            avant != nullptr ? avant->data(ColTest, Qt::UserRole).toString() : QString());
        }
    });
}

void ListeTests::remplir(const std::vector<LigneTest>& lignes) {
    const QString courant = fichierCourant();
    lignes_ = lignes;
    nouveau_.clear();
    afficher(courant);
}

void ListeTests::mettreAJour(const LigneTest& ligne) {
    const QString courant = fichierCourant();
    auto meme = [&ligne](const LigneTest& l) { return l.fichier.compare(ligne.fichier, Qt::CaseInsensitive) == 0; };
    lignes_.erase(std::remove_if(lignes_.begin(), lignes_.end(), meme), lignes_.end());
    lignes_.push_back(ligne);
    QStringList noms;
    for (const LigneTest& l : lignes_) {
        noms << l.fichier;
    }
    widgets::trierNoms(noms);
    std::sort(lignes_.begin(), lignes_.end(), [&noms](const LigneTest& a, const LigneTest& b) {
        return noms.indexOf(a.fichier) < noms.indexOf(b.fichier);
    });
    if (nouveau_.compare(ligne.fichier, Qt::CaseInsensitive) == 0) {
        nouveau_.clear();
    }
    afficher(courant);
}

void ListeTests::ajouterNouveau(const QString& fichier) {
    nouveau_ = fichier;
    afficher(fichier);
}

void ListeTests::afficher(const QString& courant) {
    const QSignalBlocker bloque(this);
    clear();
    auto ajouter = [this](const QString& fichier) {
        auto* item = new QTreeWidgetItem(this);
        item->setText(ColTest, nomAffiche(fichier));
        item->setData(ColTest, Qt::UserRole, fichier);
        for (int c = ColQuestions; c < NbColonnes; ++c) {
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        }
        return item;
    };
    for (const LigneTest& ligne : lignes_) {
        QTreeWidgetItem* item = ajouter(ligne.fichier);
        item->setToolTip(ColTest, ligne.lu ? ligne.fichier : ligne.fichier + QStringLiteral(" : ") + ligne.refus);
        if (ligne.lu) {
            item->setText(ColQuestions, QString::number(ligne.questions));
            item->setText(ColChapitres, QString::number(ligne.chapitres));
            item->setText(ColTemps, texteTemps(ligne.temps));
            item->setText(ColTolerance,
                          ligne.tolerance.isNull() ? kTiret : ligne.tolerance.toString() + QStringLiteral(" %"));
        } else {
            for (int c = ColQuestions; c < NbColonnes; ++c) {
                item->setText(c, kTiret);
            }
        }
    }
    if (!nouveau_.isEmpty()) {
        QTreeWidgetItem* item = ajouter(nouveau_);
        QFont italique = item->font(ColTest);
        italique.setItalic(true);
        for (int c = 0; c < NbColonnes; ++c) {
            item->setFont(c, italique);
        }
        item->setText(ColQuestions, QStringLiteral("nouveau"));
        item->setToolTip(ColTest, QStringLiteral("%1 : pas encore enregistré").arg(nouveau_));
    }
    if (QTreeWidgetItem* item = ligneDe(courant)) {
        setCurrentItem(item);
    }
}

QTreeWidgetItem* ListeTests::ligneDe(const QString& fichier) const {
    if (fichier.isEmpty()) {
        return nullptr;
    }
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->data(ColTest, Qt::UserRole).toString().compare(fichier, Qt::CaseInsensitive) == 0) {
            return topLevelItem(i);
        }
    }
    return nullptr;
}

QString ListeTests::fichierCourant() const {
    return currentItem() != nullptr ? currentItem()->data(ColTest, Qt::UserRole).toString() : QString();
}

bool ListeTests::courantEstNouveau() const {
    return !nouveau_.isEmpty() && fichierCourant() == nouveau_;
}

bool ListeTests::choisirSansSignal(const QString& fichier) {
    const QSignalBlocker bloque(this);
    QTreeWidgetItem* item = ligneDe(fichier);
    setCurrentItem(item);
    if (item == nullptr) {
        clearSelection();
    }
    return item != nullptr;
}

int ListeTests::nombreTests() const {
    return static_cast<int>(lignes_.size());
}

} // namespace kelvane::atelier
