#include "edition/empreinte.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace kelvane::edition {

Empreinte Empreinte::de(const QString& chemin) {
    Empreinte e;
    const QFileInfo info(chemin);
    if (!info.exists()) {
        return e;
    }
    e.existe = true;
    e.taille = info.size();
    e.modification = info.lastModified();
    QFile fichier(chemin);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (fichier.open(QIODevice::ReadOnly) && hash.addData(&fichier)) {
        e.hash = hash.result();
    }
    return e;
}

bool Empreinte::memeContenu(const Empreinte& autre) const {
    if (existe != autre.existe) {
        return false;
    }
    if (!existe) {
        return true;
    }
    if (hash.isEmpty() || autre.hash.isEmpty() || taille != autre.taille) {
        return false;
    }
    // Same size and time: the hash decides all the same, since a colleague's save may keep both.
    return hash == autre.hash;
}

} // namespace kelvane::edition
