#include "classeur/xlsx.h"

#include "platform/error.h"
#include "platform/system.h"

#include <QDir>
#include <QFile>

namespace kelvane::classeur {

namespace {

QString cause(lxw_error code) {
    switch (code) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return QStringLiteral("mémoire insuffisante");
    case LXW_ERROR_CREATING_XLSX_FILE:
        return QStringLiteral("le fichier ne peut pas être créé (dossier en lecture seule ou introuvable)");
    case LXW_ERROR_CREATING_TMPFILE:
        return QStringLiteral("aucun fichier temporaire ne peut être créé (disque plein ?)");
    case LXW_ERROR_READING_TMPFILE:
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_PARAMETER_ERROR:
    case LXW_ERROR_ZIP_BAD_ZIP_FILE:
    case LXW_ERROR_ZIP_INTERNAL_ERROR:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        return QStringLiteral("l'écriture s'est interrompue (disque plein ?)");
    default:
        return QStringLiteral("erreur %1 de l'écriture du classeur (%2)")
            .arg(static_cast<int>(code))
            .arg(QString::fromUtf8(lxw_strerror(code)));
    }
}

} // namespace

Xlsx::Xlsx(const QString& chemin, const QString& nomAffiche) : nomAffiche_(nomAffiche) {
    classeur_ = workbook_new(platform::cLibraryFileName(chemin).constData());
    if (classeur_ == nullptr) {
        verifier(LXW_ERROR_MEMORY_MALLOC_FAILED);
    }
}

Xlsx::~Xlsx() {
    if (classeur_ != nullptr) {
        workbook_close(classeur_);
    }
}

void Xlsx::verifier(lxw_error code) const {
    if (code != LXW_NO_ERROR) {
        throw Error(errc::PathFileAccess, QStringLiteral("Impossible d'écrire le classeur « %1 » : %2")
                                              .arg(QDir::toNativeSeparators(nomAffiche_), cause(code)));
    }
}

lxw_worksheet* Xlsx::feuille(const QString& nom) {
    lxw_worksheet* f = workbook_add_worksheet(classeur_, nom.toUtf8().constData());
    if (f == nullptr) {
        verifier(LXW_ERROR_MEMORY_MALLOC_FAILED);
    }
    return f;
}

lxw_format* Xlsx::format() {
    lxw_format* fmt = workbook_add_format(classeur_);
    if (fmt == nullptr) {
        verifier(LXW_ERROR_MEMORY_MALLOC_FAILED);
    }
    return fmt;
}

void Xlsx::texte(lxw_worksheet* f, int ligne, int colonne, const QString& valeur, lxw_format* fmt) {
    if (valeur.isEmpty()) {
        return;
    }
    verifier(worksheet_write_string(f, static_cast<lxw_row_t>(ligne), static_cast<lxw_col_t>(colonne),
                                    valeur.toUtf8().constData(), fmt));
}

void Xlsx::nombre(lxw_worksheet* f, int ligne, int colonne, double valeur, lxw_format* fmt) {
    verifier(worksheet_write_number(f, static_cast<lxw_row_t>(ligne), static_cast<lxw_col_t>(colonne), valeur, fmt));
}

void Xlsx::date(lxw_worksheet* f, int ligne, int colonne, const QDate& valeur, lxw_format* fmt) {
    lxw_datetime d{valeur.year(), valeur.month(), valeur.day(), 0, 0, 0.0};
    verifier(worksheet_write_datetime(f, static_cast<lxw_row_t>(ligne), static_cast<lxw_col_t>(colonne), &d, fmt));
}

void Xlsx::fermer() {
    lxw_workbook* classeur = classeur_;
    classeur_ = nullptr;
    verifier(workbook_close(classeur));
}

} // namespace kelvane::classeur
