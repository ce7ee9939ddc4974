#include "bilan/exportbilan.h"

#include "platform/error.h"
#include "platform/nativepath.h"
#include "platform/temporaryname.h"
#include "results/verdict.h"
#include "session/modetest.h"

#include <QDir>
#include <map>

namespace kelvane::bilan {

namespace {

QVariant part(const std::optional<double>& pourcentage) {
    return pourcentage ? QVariant(*pourcentage / 100.0) : QVariant();
}

QString niveaux(const std::array<bool, NbNiveaux>& drapeaux) {
    QStringList noms;
    for (std::size_t j = 0; j < drapeaux.size(); ++j) {
        if (drapeaux[j]) {
            noms << data::kNiveaux[j];
        }
    }
    return noms.join(QLatin1Char(' '));
}

QString chapitre(const PourcentageChapitre& c) {
    return QStringLiteral("%1 - %2").arg(c.numero).arg(c.nom);
}

void ajouterColonne(Tableau& t, const QString& entete, bool pourcentage = false) {
    t.entetes << entete;
    t.pourcentages.push_back(pourcentage);
}

// The chapters of the selection by number, named as the files name them; "Chapitre n" when two tests give the
// same number different names.
std::map<int, QString> chapitresDe(const Selection& selection) {
    std::map<int, QString> noms;
    for (const Passage* p : selection) {
        for (const PourcentageChapitre& c : p->chapitres) {
            const auto [it, nouveau] = noms.try_emplace(c.numero, c.nom);
            if (!nouveau && it->second != c.nom) {
                it->second = QStringLiteral("Chapitre %1").arg(c.numero);
            }
        }
    }
    return noms;
}

QString champCsv(const QVariant& valeur, bool pourcentage) {
    QString texte;
    if (valeur.isNull()) {
        return texte;
    }
    if (pourcentage) {
        texte = QString::number(valeur.toDouble() * 100.0, 'f', 2);
    } else if (valeur.typeId() == QMetaType::Double) {
        texte = QString::number(valeur.toDouble(), 'f', 2);
    } else if (valeur.typeId() == QMetaType::QDate) {
        texte = valeur.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    } else {
        texte = valeur.toString();
    }
    if (pourcentage || valeur.typeId() == QMetaType::Double) {
        texte.replace(QLatin1Char('.'), QLatin1Char(','));
    }
    if (texte.contains(QLatin1Char(';')) || texte.contains(QLatin1Char('"')) || texte.contains(QLatin1Char('\n')) ||
        texte.contains(QLatin1Char('\r'))) {
        texte = QLatin1Char('"') + texte.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    }
    return texte;
}

} // namespace

Tableau tableauEleves(const Classe& /*classe*/, const Selection& selection) {
    Tableau t;
    for (const char* entete :
         {"Nom", "Prénom", "Classe", "Test", "Mode", "Date", "Bonnes réponses", "Questions répondues", "Questions"}) {
        ajouterColonne(t, QString::fromUtf8(entete));
    }
    ajouterColonne(t, QStringLiteral("Pourcentage"), true);
    ajouterColonne(t, QStringLiteral("Seuil"), true);
    ajouterColonne(t, QStringLiteral("Verdict"));
    for (const QString& niveau : data::kNiveaux) {
        ajouterColonne(t, niveau, true);
    }
    const std::map<int, QString> chapitres = chapitresDe(selection);
    for (const auto& [numero, nom] : chapitres) {
        ajouterColonne(t, chapitre({numero, nom, std::nullopt}), true);
    }
    ajouterColonne(t, QStringLiteral("Fichier"));

    for (const Passage* p : selection) {
        std::vector<QVariant> ligne{p->nom,
                                    p->prenom,
                                    p->classe,
                                    p->test,
                                    session::modeTest(p->examen).nomMode,
                                    p->jour.isValid() ? QVariant(p->jour) : QVariant(p->date),
                                    p->bonnes,
                                    p->repondues,
                                    p->total,
                                    p->pourcentage / 100.0,
                                    p->tolerance / 100.0,
                                    results::texteVerdict(p->reussi)};
        for (const std::optional<double>& niveau : p->niveaux) {
            ligne.push_back(part(niveau));
        }
        for (const auto& entree : chapitres) {
            const int numero = entree.first;
            const auto c = std::find_if(p->chapitres.begin(), p->chapitres.end(),
                                        [numero](const PourcentageChapitre& pc) { return pc.numero == numero; });
            ligne.push_back(c != p->chapitres.end() ? part(c->pourcentage) : QVariant());
        }
        ligne.push_back(QDir::toNativeSeparators(p->fichier));
        t.lignes.push_back(std::move(ligne));
    }
    return t;
}

Tableau tableauQuestions(const Classe& classe, const Selection& selection) {
    Tableau t;
    for (const char* entete : {"Test", "N°", "Chapitre", "Niveaux", "Question", "Candidats", "Répondues", "Justes"}) {
        ajouterColonne(t, QString::fromUtf8(entete));
    }
    ajouterColonne(t, QStringLiteral("Pourcentage"), true);
    ajouterColonne(t, QStringLiteral("Réponses attendues"));
    for (int j = 1; j <= data::NbReponsesMax; ++j) {
        ajouterColonne(t, QStringLiteral("Réponse %1 cochée").arg(j));
    }
    for (const QString& test : tests(selection)) {
        for (const StatistiqueQuestion& s : statistiquesQuestions(classe, test, selection)) {
            const EnonceQuestion& q = *s.question;
            QStringList attendues;
            for (std::size_t j = 0; j < q.attendues.size(); ++j) {
                if (q.attendues[j]) {
                    attendues << QString::number(j + 1);
                }
            }
            std::vector<QVariant> ligne{test,
                                        q.numero,
                                        q.chapitre,
                                        niveaux(q.niveaux),
                                        q.texte,
                                        s.candidats,
                                        s.repondues,
                                        s.justes,
                                        part(s.pourcentage),
                                        q.qcm ? attendues.join(QStringLiteral(", ")) : QString()};
            for (std::size_t j = 0; j < s.cochees.size(); ++j) {
                ligne.push_back(q.qcm && static_cast<int>(j) < q.nbReponses ? QVariant(s.cochees[j]) : QVariant());
            }
            t.lignes.push_back(std::move(ligne));
        }
    }
    return t;
}

Tableau tableauNiveauxChapitres(const Classe& classe, const Selection& selection) {
    Tableau t;
    ajouterColonne(t, QStringLiteral("Test"));
    ajouterColonne(t, QStringLiteral("Chapitre"));
    for (const QString& niveau : data::kNiveaux) {
        ajouterColonne(t, niveau, true);
    }
    ajouterColonne(t, QStringLiteral("Ensemble"), true);
    for (const QString& test : tests(selection)) {
        const Croisement c = croiser(classe, test, selection);
        for (std::size_t i = 0; i < c.chapitres.size(); ++i) {
            std::vector<QVariant> ligne{test, chapitre(c.chapitres[i])};
            for (const std::optional<double>& cellule : c.cellules[i]) {
                ligne.push_back(part(cellule));
            }
            ligne.push_back(part(c.chapitres[i].pourcentage));
            t.lignes.push_back(std::move(ligne));
        }
        std::vector<QVariant> total{test, QStringLiteral("Tous les chapitres")};
        for (const std::optional<double>& niveau : c.niveaux) {
            total.push_back(part(niveau));
        }
        total.push_back(part(c.ensemble));
        t.lignes.push_back(std::move(total));
    }
    return t;
}

QByteArray csv(const Tableau& tableau) {
    QString texte;
    QStringList champs;
    for (qsizetype i = 0; i < tableau.entetes.size(); ++i) {
        const bool pourcentage = tableau.pourcentages[static_cast<std::size_t>(i)];
        champs << champCsv(tableau.entetes[i] + (pourcentage ? QStringLiteral(" (%)") : QString()), false);
    }
    texte += champs.join(QLatin1Char(';')) + QLatin1String("\r\n");
    for (const std::vector<QVariant>& ligne : tableau.lignes) {
        champs.clear();
        for (std::size_t i = 0; i < ligne.size(); ++i) {
            champs << champCsv(ligne[i], tableau.pourcentages[i]);
        }
        texte += champs.join(QLatin1Char(';')) + QLatin1String("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + texte.toUtf8();
}

void ecrireCsv(const QString& chemin, const Classe& classe, const Selection& selection) {
    const QString echec = platform::writeWholeFile(chemin, csv(tableauEleves(classe, selection)));
    if (!echec.isEmpty()) {
        throw Error(
            errc::PathFileAccess,
            QStringLiteral("Impossible d'écrire le fichier « %1 » : %2").arg(platform::nativePath(chemin), echec));
    }
}

} // namespace kelvane::bilan
