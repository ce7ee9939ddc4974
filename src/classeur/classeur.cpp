#include "classeur/classeur.h"

#include "bilan/exportbilan.h"
#include "classeur/xlsx.h"
#include "platform/error.h"
#include "platform/temporaryname.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <optional>

namespace kelvane::classeur {

namespace {

constexpr double LargeurMin = 6.0;
constexpr double LargeurMax = 60.0;

struct Formats {
    lxw_format* entete;
    lxw_format* pourcent;
    lxw_format* date;
};

// A table on its sheet: the header row bold and frozen, filters over the whole, each column as wide as its longest
// text.
void ecrireFeuille(Xlsx& xlsx, const QString& nom, const bilan::Tableau& tableau, const Formats& formats) {
    lxw_worksheet* f = xlsx.feuille(nom);
    const auto nbColonnes = static_cast<int>(tableau.entetes.size());
    std::vector<double> largeurs(static_cast<std::size_t>(nbColonnes), LargeurMin);
    const auto mesurer = [&](int colonne, qsizetype caracteres) {
        double& l = largeurs[static_cast<std::size_t>(colonne)];
        l = std::clamp(static_cast<double>(caracteres) + 2.0, l, LargeurMax);
    };
    for (int c = 0; c < nbColonnes; ++c) {
        xlsx.texte(f, 0, c, tableau.entetes[c], formats.entete);
        mesurer(c, tableau.entetes[c].size() + 3); // room for the filter's button
    }
    int ligne = 1;
    for (const std::vector<QVariant>& valeurs : tableau.lignes) {
        for (int c = 0; c < nbColonnes; ++c) {
            const QVariant& v = valeurs[static_cast<std::size_t>(c)];
            if (v.isNull()) {
                continue;
            }
            if (tableau.pourcentages[static_cast<std::size_t>(c)]) {
                xlsx.nombre(f, ligne, c, v.toDouble(), formats.pourcent);
            } else if (v.typeId() == QMetaType::QDate) {
                xlsx.date(f, ligne, c, v.toDate(), formats.date);
                mesurer(c, 10);
            } else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::Double) {
                xlsx.nombre(f, ligne, c, v.toDouble());
                mesurer(c, v.toString().size());
            } else {
                const QString texte = v.toString();
                xlsx.texte(f, ligne, c, texte);
                mesurer(c, texte.size());
            }
        }
        ++ligne;
    }
    for (int c = 0; c < nbColonnes; ++c) {
        xlsx.verifier(worksheet_set_column(f, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                                           largeurs[static_cast<std::size_t>(c)], nullptr));
    }
    worksheet_freeze_panes(f, 1, 0);
    if (nbColonnes > 0) {
        xlsx.verifier(
            worksheet_autofilter(f, 0, 0, static_cast<lxw_row_t>(ligne - 1), static_cast<lxw_col_t>(nbColonnes - 1)));
    }
}

} // namespace

void ecrireClasseur(const QString& chemin, const bilan::Classe& classe, const bilan::Selection& selection) {
    const QFileInfo cible(chemin);
    const auto echec = [&](const QString& cause) {
        return Error(errc::PathFileAccess, QStringLiteral("Impossible d'écrire le classeur « %1 » : %2")
                                               .arg(QDir::toNativeSeparators(cible.absoluteFilePath()), cause));
    };
    // A name of its own beside the workbook, so that the last step is a rename within one folder.
    std::optional<platform::TemporaryName> temporaire;
    try {
        temporaire.emplace(cible.absoluteFilePath(), platform::TemporaryName::Reserve::File);
    } catch (const Error& e) {
        throw echec(e.text());
    }
    {
        Xlsx xlsx(temporaire->path(), cible.absoluteFilePath());
        Formats formats{xlsx.format(), xlsx.format(), xlsx.format()};
        format_set_bold(formats.entete);
        format_set_num_format(formats.pourcent, "0.0%");
        format_set_num_format(formats.date, "dd/mm/yyyy");
        ecrireFeuille(xlsx, QStringLiteral("Élèves"), bilan::tableauEleves(classe, selection), formats);
        ecrireFeuille(xlsx, QStringLiteral("Questions"), bilan::tableauQuestions(classe, selection), formats);
        ecrireFeuille(xlsx, QStringLiteral("Niveaux et chapitres"), bilan::tableauNiveauxChapitres(classe, selection),
                      formats);
        xlsx.fermer();
    }
    const platform::Placement placement = temporaire->moveIntoPlace(platform::IfExists::Replace);
    if (placement.outcome != platform::Placement::Placed) {
        throw echec(placement.reason);
    }
}

} // namespace kelvane::classeur
