#pragma once

#include "bilan/bilan.h"
#include "platform/services/services.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableView;

namespace kelvane::exportations {
struct FormatBilan;
}

namespace kelvane::classe {

class DialogueResultats;
class FiltreClasse;
class ModeleClasse;
class PanneauIgnores;
class PanneauNiveauxClasse;
class PanneauQuestionsClasse;
class PanneauRepartition;

// The class at a glance: every results file of a folder (and its subfolders on request) as a line, filtered by
// class, test, mode, dates and verdict, the latest session per candidate on request, sorted on any column; per test
// its questions hardest first, its levels × chapters and its pictures; the files left aside; the workbook, the CSV
// and the printed summary of the lines shown. A line opens its file's results as the viewer shows them. Files are
// only ever read.
class FenetreClasse : public QWidget {
    Q_OBJECT
public:
    explicit FenetreClasse(const services::Services& services, QWidget* parent = nullptr);
    ~FenetreClasse() override;

    // Reads the folder afresh and shows it; false after a message when the folder cannot be read (what was shown
    // stays).
    bool ouvrir(const QString& dossier);
    QString dossier() const;

    // The lines shown, in the order shown.
    bilan::Selection selection() const;
    // The test whose questions, levels × chapters and pictures show: the one filtered on, else the first of the
    // lines shown in name order; the empty text when no line is shown.
    QString testMontre() const { return testMontre_; }
    // The results box of the line last opened, while it is open.
    DialogueResultats* dialogueResultats() const;

private:
    // The window's pieces from top to bottom: the folder, the filters, the summary line, the tabs (the lines'
    // table and its chart, the questions, the levels, the files left aside) and the buttons.
    void creerTable();
    void creerOnglets();
    void creerResume();
    QWidget* creerEntete();
    QWidget* creerFiltres();
    QWidget* creerBoutons();
    void remplirChoix();
    void appliquerFiltres();
    void ajusterColonnes();
    void majResume();
    void ouvrirLigne(const QModelIndex& index);

    void changerDossier();
    void exporterClasseur();
    void exporterCsv();
    // Writes the lines shown in one of the summary's formats, at the place the teacher chooses.
    void exporter(const exportations::FormatBilan& format);
    void imprimer();
    // The file to write, chosen in the save box (which asks before replacing a file); the extension added when
    // missing, and then a file of that name replaced only when the teacher agrees. The empty text when cancelled.
    QString demanderCible(const QString& titre, const QString& nom, const QString& filtre, const QString& extension);
    // "Bilan <folder>", and the test filtered on.
    QString nomPropose() const;
    void informer(const QString& texte);

    services::Services services_;
    std::unique_ptr<bilan::Classe> classe_;
    QString testMontre_;
    ModeleClasse* modele_ = nullptr;
    FiltreClasse* filtre_ = nullptr;

    QLabel* dossier_ = nullptr;
    QCheckBox* sousDossiers_ = nullptr;
    QComboBox* choixClasse_ = nullptr;
    QComboBox* test_ = nullptr;
    QComboBox* mode_ = nullptr;
    QDateEdit* du_ = nullptr;
    QDateEdit* au_ = nullptr;
    QComboBox* verdict_ = nullptr;
    QCheckBox* dernier_ = nullptr;
    QLabel* resume_ = nullptr;
    QTabWidget* onglets_ = nullptr;
    QTableView* table_ = nullptr;
    PanneauRepartition* repartition_ = nullptr;
    PanneauQuestionsClasse* questions_ = nullptr;
    PanneauNiveauxClasse* niveaux_ = nullptr;
    PanneauIgnores* ignores_ = nullptr;
    QLabel* etat_ = nullptr;
    QList<QPushButton*> exports_;
    QPointer<DialogueResultats> dialogue_;
};

} // namespace kelvane::classe
