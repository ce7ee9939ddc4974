#include "bilan/impressionbilan.h"

#include "platform/error.h"
#include "platform/services/files.h"
#include "platform/services/printer.h"
#include "platform/services/services.h"
#include "results/impression.h"
#include "results/verdict.h"
#include "session/modetest.h"

#include <QDir>
#include <QFileInfo>

namespace kelvane::bilan {

namespace {

using services::PrintPiece;
using services::Tab;

constexpr int LongueurQuestion = 72;

QString pourcent(const std::optional<double>& pourcentage) {
    return pourcentage ? QStringLiteral("%1 %").arg(pourcentageCoupe(*pourcentage)) : QStringLiteral("-");
}

void titre(services::PrinterService& imprimante, const QString& texte, double taille = 12.0) {
    imprimante.setFontSize(taille);
    imprimante.setBold(true);
    imprimante.printLine({texte});
    imprimante.setBold(false);
    imprimante.setFontSize(10.0);
}

// The text in lines of `longueur` characters at most, cut after the last blank that fits (or inside a word longer
// than a line).
QStringList lignesDe(const QString& texte, qsizetype longueur) {
    QStringList lignes;
    QString reste = texte;
    while (reste.size() > longueur) {
        const qsizetype blanc = reste.left(longueur + 1).lastIndexOf(QLatin1Char(' '));
        const qsizetype coupure = blanc > 0 ? blanc : longueur;
        lignes << reste.left(coupure);
        reste = reste.mid(coupure).trimmed();
    }
    lignes << reste;
    return lignes;
}

void entete(services::PrinterService& imprimante, const QList<PrintPiece>& pieces) {
    imprimante.setBold(true);
    imprimante.printLine(pieces);
    imprimante.setBold(false);
}

// In 9 points, so that a line of the class fits across a portrait page.
void imprimerLignes(services::PrinterService& imprimante, const Selection& selection) {
    imprimante.setFontSize(9.0);
    entete(imprimante, {"Candidat", Tab(34), "Test", Tab(47), "Mode", Tab(61), "Date", Tab(72), "Bonnes", Tab(91),
                        "Résultat", Tab(100), "Verdict"});
    for (const Passage* p : selection) {
        const QString candidat =
            p->nom.toUpper() + QLatin1Char(' ') + p->prenom + QStringLiteral(" (") + p->classe + QLatin1Char(')');
        imprimante.printLine({candidat.left(32), Tab(34), p->test.left(12), Tab(47),
                              session::modeTest(p->examen).nomMode, Tab(61), p->date, Tab(72),
                              QStringLiteral("%1 sur %2 (%3 rép.)").arg(p->bonnes).arg(p->total).arg(p->repondues),
                              Tab(91), pourcent(p->pourcentage), Tab(100), results::texteVerdict(p->reussi)});
    }
    imprimante.setFontSize(10.0);
}

void imprimerQuestions(services::PrinterService& imprimante, const Classe& classe, const QString& test,
                       const Selection& selection) {
    titre(imprimante, QStringLiteral("%1 : les questions, de la plus difficile à la plus facile").arg(test));
    entete(imprimante, {"N°", Tab(8), "Justes", Tab(16), "Sur", Tab(24), "Question"});
    for (const StatistiqueQuestion& s : statistiquesQuestions(classe, test, selection)) {
        const EnonceQuestion& q = *s.question;
        // A long wording goes on under itself, in its column.
        const QStringList texte = lignesDe(q.texte.simplified(), LongueurQuestion);
        imprimante.printLine({q.numero, Tab(8), pourcent(s.pourcentage), Tab(16),
                              QStringLiteral("%1/%2").arg(s.justes).arg(s.candidats), Tab(24), texte.first()});
        for (qsizetype i = 1; i < texte.size(); ++i) {
            imprimante.printLine({Tab(24), texte.at(i)});
        }
        if (q.qcm) {
            QStringList cochees;
            for (int j = 0; j < std::min(q.nbReponses, data::NbReponsesMax); ++j) {
                const auto i = static_cast<std::size_t>(j);
                cochees << QStringLiteral("R%1 : %2%3").arg(j + 1).arg(s.cochees[i]).arg(q.attendues[i] ? "*" : "");
            }
            imprimante.printLine({Tab(24), QStringLiteral("Cochées : ") + cochees.join(QStringLiteral("   "))});
        }
    }
    imprimante.printLine({"* réponse attendue"});
}

void imprimerCroisement(services::PrinterService& imprimante, const Classe& classe, const QString& test,
                        const Selection& selection) {
    const Croisement c = croiser(classe, test, selection);
    titre(imprimante, QStringLiteral("%1 : niveaux et chapitres").arg(test));
    QList<PrintPiece> pieces{"Chapitre"};
    for (std::size_t j = 0; j < NbNiveaux; ++j) {
        pieces << Tab(46 + 9 * static_cast<int>(j)) << data::kNiveaux[j];
    }
    pieces << Tab(46 + 9 * NbNiveaux) << "Ensemble";
    entete(imprimante, pieces);
    const auto ligne = [&](const QString& nom, const std::array<std::optional<double>, NbNiveaux>& cellules,
                           const std::optional<double>& ensemble) {
        QList<PrintPiece> l{nom.left(44)};
        for (std::size_t j = 0; j < NbNiveaux; ++j) {
            l << Tab(46 + 9 * static_cast<int>(j)) << pourcent(cellules[j]);
        }
        l << Tab(46 + 9 * NbNiveaux) << pourcent(ensemble);
        imprimante.printLine(l);
    };
    for (std::size_t i = 0; i < c.chapitres.size(); ++i) {
        ligne(QStringLiteral("%1 - %2").arg(c.chapitres[i].numero).arg(c.chapitres[i].nom), c.cellules[i],
              c.chapitres[i].pourcentage);
    }
    ligne(QStringLiteral("Tous les chapitres"), c.niveaux, c.ensemble);
}

// Makes the class folder current while the document is printed, so that a PDF written instead of a printed job
// lands beside the results; the folder before comes back afterwards.
class DossierCourant {
public:
    DossierCourant(services::FileService* fichiers, const QString& dossier) : fichiers_(fichiers) {
        if (fichiers_ != nullptr) {
            avant_ = fichiers_->currentFolder();
            fichiers_->setCurrentFolder(dossier);
        }
    }
    ~DossierCourant() {
        if (fichiers_ != nullptr) {
            try {
                fichiers_->setCurrentFolder(avant_);
            } catch (const Error&) { // the folder before has gone: staying in the class folder is harmless
            }
        }
    }
    DossierCourant(const DossierCourant&) = delete;
    DossierCourant& operator=(const DossierCourant&) = delete;

private:
    services::FileService* fichiers_;
    QString avant_;
};

} // namespace

services::PrintOutcome imprimerBilan(services::PrinterService& imprimante, const Classe& classe,
                                     const Selection& selection, const Illustrations& illustrations) {
    imprimante.setFontName(QStringLiteral("Arial"));
    titre(imprimante, QStringLiteral("Bilan de la classe"), 14.0);
    imprimante.printLine({QStringLiteral("Dossier : ") + QDir::toNativeSeparators(classe.dossier)});
    imprimante.printLine(
        {QStringLiteral("%1 passage(s), %2 fichier(s) à part").arg(selection.size()).arg(classe.ignores.size())});
    imprimante.printLine();
    imprimerLignes(imprimante, selection);
    for (const QString& test : tests(selection)) {
        imprimante.printLine();
        imprimerQuestions(imprimante, classe, test, selection);
        imprimante.printLine();
        imprimerCroisement(imprimante, classe, test, selection);
        if (illustrations) {
            for (const Image& image : illustrations(classe, test, selection)) {
                imprimante.printLine();
                // The title on the page of its chart.
                imprimante.setFontSize(11.0);
                imprimante.setBold(true);
                imprimante.printTitledPicture({image.titre}, image.png, image.titre);
                imprimante.setBold(false);
                imprimante.setFontSize(10.0);
            }
        }
    }
    if (!classe.ignores.empty()) {
        imprimante.printLine();
        titre(imprimante, QStringLiteral("Fichiers à part"));
        for (const Ignore& i : classe.ignores) {
            imprimante.printLine({QFileInfo(i.fichier).fileName(), Tab(40),
                                  (i.enCours ? QStringLiteral("En cours : ") : QString()) + i.raison});
        }
    }
    return imprimante.endDoc();
}

bool imprimerBilan(const services::Services& s, const Classe& classe, const Selection& selection,
                   const Illustrations& illustrations) {
    return results::imprimerAvecAvis(
        s, QStringLiteral("Bilan ") + QFileInfo(classe.dossier).fileName(),
        QStringLiteral("Aucune imprimante n'est installée : le bilan a été enregistré dans le fichier "),
        [&](services::PrinterService& imprimante) {
            const DossierCourant dossier(s.files, classe.dossier); // the PDF goes into the class folder
            return imprimerBilan(imprimante, classe, selection, illustrations);
        });
}

} // namespace kelvane::bilan
