#include "data/parametres.h"

#include "data/ecriture.h"
#include "platform/db/editscope.h"
#include "platform/services/files.h"

namespace kelvane::data {

bool codeValide(const QString& saisi, const QVariant& stocke) {
    const QString code = saisi.toUpper();
    if (code == kCodeMaitre) {
        return true;
    }
    return !stocke.isNull() && code == stocke.toString().toUpper();
}

void ecrireParametres(const QString& chemin, const QString& code) {
    if (code.size() > TailleCode) {
        throw Error(errc::FieldTooSmall,
                    QStringLiteral("code trop long : %1 caractères, %2 au plus").arg(code.size()).arg(TailleCode));
    }
    ecrireAtomiquement(chemin, [&](db::Database& base) {
        creerTable(base, kTableHabilitation, kChampsHabilitation);
        db::Recordset rs = base.OpenRecordset(kTableHabilitation);
        rs.AddNew();
        rs.SetField(QStringLiteral("code"), code.isNull() ? QStringLiteral("") : code);
        rs.Update();
    });
}

FichierParametres FichierParametres::ouvrir(const QString& dossierAppli) {
    FichierParametres parametres;
    parametres.base_ = db::OpenDatabase(services::joinPath(dossierAppli, kFichierParametres));
    parametres.habilitation_ = parametres.base_.OpenRecordset(kTableHabilitation);
    parametres.premier();
    return parametres;
}

void FichierParametres::premier() {
    // An empty table has no first record: reading or writing the code then fails with "no current record".
    if (habilitation_.RecordCount() > 0) {
        habilitation_.setAbsolutePosition(0);
    }
}

QVariant FichierParametres::code() {
    premier();
    return habilitation_.Fields(0);
}

bool FichierParametres::sansCode() {
    const QVariant stocke = code();
    return !stocke.isNull() && stocke.toString().isEmpty();
}

void FichierParametres::enregistrerCode(const QString& code) {
    premier();
    db::EditScope edition(habilitation_);
    edition.SetField(0, code.toUpper());
    edition.Update();
}

int FichierParametres::longueurCode() {
    try {
        const db::TableDef table = base_.TableDefs().Item(kTableHabilitation);
        if (table.Fields().Count() > 0) {
            const db::Field& champ = table.Fields()[0];
            if (champ.Type() == db::FieldType::Text && champ.Size() > 0) {
                return champ.Size();
            }
        }
    } catch (const Error&) {
        // The field cannot be read back: any length, and the engine refuses what does not fit.
    }
    return 0;
}

} // namespace kelvane::data
