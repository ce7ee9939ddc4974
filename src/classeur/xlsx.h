#pragma once

#include <QDate>
#include <QString>
#include <xlsxwriter.h>

namespace kelvane::classeur {

// An xlsx workbook being written by libxlsxwriter, at a path of its own. Every failure throws kelvane::Error with a
// French text naming `nomAffiche`. The destructor lets go of a workbook not closed, without reporting.
class Xlsx {
public:
    Xlsx(const QString& chemin, const QString& nomAffiche);
    ~Xlsx();
    Xlsx(const Xlsx&) = delete;
    Xlsx& operator=(const Xlsx&) = delete;

    lxw_worksheet* feuille(const QString& nom);
    lxw_format* format(); // a new one, owned by the workbook

    void texte(lxw_worksheet* f, int ligne, int colonne, const QString& valeur, lxw_format* fmt = nullptr);
    void nombre(lxw_worksheet* f, int ligne, int colonne, double valeur, lxw_format* fmt = nullptr);
    void date(lxw_worksheet* f, int ligne, int colonne, const QDate& valeur, lxw_format* fmt);
    // Checks what libxlsxwriter returned.
    void verifier(lxw_error code) const;

    // Writes the file and lets go of the workbook.
    void fermer();

private:
    lxw_workbook* classeur_ = nullptr;
    QString nomAffiche_;
};

} // namespace kelvane::classeur
