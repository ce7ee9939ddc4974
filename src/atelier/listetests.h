#pragma once

#include <QString>
#include <QTreeWidget>
#include <QVariant>
#include <optional>
#include <vector>

namespace kelvane::atelier {

// One test of the folder as its list shows it.
struct LigneTest {
    QString fichier; // the file's name, with ".mdb"
    bool lu = false; // read as a test; otherwise `refus` says why and the figures are empty
    QString refus;
    int questions = 0;
    int chapitres = 0;
    QVariant temps;     // seconds
    QVariant tolerance; // percent
};

// The line of a test file; nothing when the file is not a test: not a database, damaged, a results file, the
// settings file or any other database.
std::optional<LigneTest> lireLigne(const QString& chemin);

// The tests of a folder (its "*.mdb" files, letter case aside, that are tests), sorted as the folder lists of the
// student program sort them. Nothing here raises an error: a file that cannot be read is left out.
std::vector<LigneTest> lireTestsDuDossier(const QString& dossier);

// "10:00" for 600 seconds; a dash when the value is not a number.
QString texteTemps(const QVariant& secondes);

// The list of the folder's tests, columns Test, Questions, Chapitres, Temps, Tolérance. A test being written in
// the editor and not saved yet has a line of its own, in italics, until the list is filled again.
class ListeTests : public QTreeWidget {
    Q_OBJECT
public:
    explicit ListeTests(QWidget* parent = nullptr);

    void remplir(const std::vector<LigneTest>& lignes);
    // Adds or replaces the line of that file, keeping the order.
    void mettreAJour(const LigneTest& ligne);
    void ajouterNouveau(const QString& fichier);

    // The chosen line's file name, or the empty text.
    QString fichierCourant() const;
    bool courantEstNouveau() const;
    // Makes the line of that file current, without signalling the change; false when there is none.
    bool choisirSansSignal(const QString& fichier);
    int nombreTests() const;

signals:
    // The teacher chose another line (with the mouse or the keyboard).
    void testChoisi(const QString& fichier, const QString& precedent);

private:
    void afficher(const QString& courant);
    QTreeWidgetItem* ligneDe(const QString& fichier) const;

    std::vector<LigneTest> lignes_; // sorted
    QString nouveau_;               // the file of the unsaved new test, or empty
};

} // namespace kelvane::atelier
