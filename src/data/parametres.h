#pragma once

#include "data/format.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"

#include <QString>
#include <QVariant>

namespace kelvane::data {

// The code that opens the results viewer even when the stored one has been forgotten.
inline const QString kCodeMaitre = QStringLiteral("TRIVOLK");

// True when the typed code, in capitals, is the master code or the stored teacher code in capitals. A stored
// null matches nothing but the master code.
bool codeValide(const QString& saisi, const QVariant& stocke);

// Writes a settings file: table habilitation, one Text 20 field "code", one record holding the code (the empty
// text: no code set). Built under a temporary name and renamed when complete (data::ecrireAtomiquement, whose
// errors it throws); a code over 20 characters is error 3163 and nothing is written.
void ecrireParametres(const QString& chemin, const QString& code);

// The settings database habilitation.mdb of the application folder, open for the whole run: table habilitation,
// whose first record's first field holds the teacher code.
class FichierParametres {
public:
    // Opens habilitation.mdb in the folder and its table; the engine's errors are thrown (an empty table fails at
    // the first reading of the code, error 3021).
    static FichierParametres ouvrir(const QString& dossierAppli);

    QString chemin() const { return base_.path(); }
    // The stored code, read afresh from the first record: null, empty when no code is set, or the code.
    QVariant code();
    // No code is set: the field holds the empty text (a null is not "empty").
    bool sansCode();
    // Stores a new code in capitals, durable when this returns; on failure the old code stays.
    void enregistrerCode(const QString& code);
    // The most characters the code field takes; 0 when it cannot be told.
    int longueurCode();

private:
    FichierParametres() = default;
    // The first record made current, when there is one.
    void premier();

    db::Database base_;
    db::Recordset habilitation_;
};

} // namespace kelvane::data
