#pragma once

#include "atelier/essai.h"

#include <QObject>
#include <QString>

class QWidget;

namespace kelvane::data {
struct Test;
}
namespace kelvane::services {
struct Services;
}

namespace kelvane::atelier {

class ListeTests;
class PlaceEditeur;

// What the workbench does to the folder's test files: new, duplicate, rename, delete, import, export and try. It
// works on the test chosen in the list, closes or opens the editor around what it changes, asks and warns through
// the message service, and says what it did to the window.
class ActionsTests : public QObject {
    Q_OBJECT
public:
    ActionsTests(services::Services& services, ListeTests& liste, PlaceEditeur& place, QWidget* fenetre);

    void setDossier(const QString& dossier) { dossier_ = dossier; }
    // The folder of the last try of a test, or the empty text.
    QString dossierEssai() const { return essai_.dossier(); }

    void nouveau();
    void dupliquer();
    void renommer();
    void supprimer();
    void importer();
    void exporter();
    void essayer();

signals:
    // The folder's files changed: the window reads them again.
    void dossierModifie();
    // A line for the status bar.
    void information(const QString& texte);

private:
    void importerSource(const QString& source);
    void importerAccess(const QString& source);
    void importerKelvane(const QString& source);
    void importerBanque(const QString& source);
    // The test name an imported file takes: its own, or one asked when it cannot name a test or is taken.
    QString nomImporte(const QString& source);
    // The imported test written under that name (never over a file), then shown; a failure is said.
    void enregistrerImporte(const data::Test& test, const QString& fichier);
    // The folder read again, then that test chosen and opened when the current editor may close.
    void montrer(const QString& fichier);

    // A test's file name typed by the teacher, asked again while it is wrong or taken; empty when cancelled.
    QString demanderNom(const QString& question, const QString& titre);
    QString chemin(const QString& fichier) const;
    QString testCourant() const; // the chosen test's file name, when it is on disk
    void avertir(const QString& texte);
    bool confirmer(const QString& question);

    services::Services& services_;
    ListeTests& liste_;
    PlaceEditeur& place_;
    QWidget* fenetre_;
    QString dossier_;
    Essai essai_;
};

} // namespace kelvane::atelier
