#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace kelvane::edition {

// What a file was on disk when the editor read or wrote it: whether it existed, its size, its modification time and
// a hash of its bytes.
struct Empreinte {
    bool existe = false;
    qint64 taille = 0;
    QDateTime modification;
    QByteArray hash;

    // Taken now; a file that cannot be read gives an empreinte that matches no other.
    static Empreinte de(const QString& chemin);
    // The same bytes (or both absent): a file touched without being changed is the same file.
    bool memeContenu(const Empreinte& autre) const;
};

} // namespace kelvane::edition
