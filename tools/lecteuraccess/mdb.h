#pragma once

// Owners of libmdb's objects, so that every path out of the reader frees what it opened.

// mdbtools.h brings GLib, or on Windows the stand-in that libmdb is built with there.
#include <mdbtools.h>
#include <memory>

namespace kelvane::lecteuraccess {

struct FermerFichier {
    void operator()(MdbHandle* fichier) const { mdb_close(fichier); }
};
// An open Access file.
using Fichier = std::unique_ptr<MdbHandle, FermerFichier>;

struct LibererTable {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
// A table's definition, with its columns once mdb_read_columns has read them.
using Table = std::unique_ptr<MdbTableDef, LibererTable>;

struct LibererGlib {
    void operator()(char* texte) const { g_free(texte); }
};
// A text that libmdb allocated with g_malloc.
using TexteGlib = std::unique_ptr<char, LibererGlib>;

} // namespace kelvane::lecteuraccess
