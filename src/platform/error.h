#pragma once

#include <QString>
#include <exception>

namespace kelvane {

// The one failure type of the platform layer: a number the user can quote and a French text
// that names the file concerned. Forms decide how to show it.
class Error : public std::exception {
public:
    Error(int number, QString text);

    int number() const noexcept { return number_; }
    const QString& text() const noexcept { return text_; }
    const char* what() const noexcept override { return utf8_.constData(); }

    // "Erreur 3024: ..." as shown in a message box.
    QString message() const;

private:
    int number_;
    QString text_;
    QByteArray utf8_;
};

// Error numbers, after the engine whose files Kelvane replaces, so that teachers who know them still can.
namespace errc {
inline constexpr int TypeMismatch = 13;         // "Type incompatible"
inline constexpr int Overflow = 6;              // "Dépassement de capacité"
inline constexpr int PathNotFound = 76;         // "Chemin d'accès introuvable"
inline constexpr int PathFileAccess = 75;       // "Erreur d'accès au chemin/fichier"
inline constexpr int InvalidArgument = 3001;    // "Argument non valide"
inline constexpr int TableExists = 3010;        // "La table existe déjà"
inline constexpr int UpdateWithoutEdit = 3020;  // "Update sans AddNew ou Edit"
inline constexpr int NoCurrentRecord = 3021;    // "Aucun enregistrement en cours"
inline constexpr int FileNotFound = 3024;       // "Fichier introuvable"
inline constexpr int DiskFull = 3026;           // "Espace disque insuffisant"
inline constexpr int ReadOnly = 3027;           // "Base de données ou objet en lecture seule"
inline constexpr int NoTransaction = 3034;      // "Aucune transaction commencée"
inline constexpr int CannotOpen = 3051;         // "Impossible d'ouvrir le fichier"
inline constexpr int TableNotFound = 3078;      // "Table introuvable"
inline constexpr int FieldTooSmall = 3163;      // "Champ trop petit pour accepter la quantité de données"
inline constexpr int DatabaseExists = 3204;     // "La base de données existe déjà"
inline constexpr int Locked = 3218;             // "Verrouillé"
inline constexpr int ItemNotFound = 3265;       // "Élément non trouvé dans cette collection"
inline constexpr int ZeroLength = 3315;         // "Le champ ne peut pas être une chaîne de longueur nulle"
inline constexpr int UnrecognizedFormat = 3343; // "Format de base de données non reconnu"
inline constexpr int ObjectClosed = 3420;       // "Objet non valide ou plus défini"
inline constexpr int Io = 3043;                 // "Erreur de disque ou de réseau"
} // namespace errc

} // namespace kelvane
