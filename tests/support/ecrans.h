#pragma once

#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <array>

// The forms as the tests see them: each control found by its name, as a screen reader or a test tool finds it,
// never through the form's members.
namespace ecrans {

// The control of that name inside the window; a missing one fails the running test.
template <typename T> T* trouver(QWidget* fenetre, const QString& nom) {
    T* w = fenetre->findChild<T*>(nom);
    if (w == nullptr) {
        QTest::qFail(qPrintable(QStringLiteral("Contrôle introuvable: %1").arg(nom)), __FILE__, __LINE__);
    }
    return w;
}

template <typename T> T* trouverSiPresent(QWidget* fenetre, const QString& nom) {
    return fenetre->findChild<T*>(nom);
}

// A test form (EssayerTest or Evaluation).
struct EcranTest {
    explicit EcranTest(QWidget* f) : forme(f) {
        auto L = [f](const char* n) { return trouver<QLabel>(f, QString::fromLatin1(n)); };
        auto B = [f](const char* n) { return trouver<QPushButton>(f, QString::fromLatin1(n)); };
        auto T = [f](const char* n) { return trouver<QLineEdit>(f, QString::fromLatin1(n)); };
        Frame2 = trouver<QGroupBox>(f, QStringLiteral("Frame2"));
        Frame1 = trouver<QGroupBox>(f, QStringLiteral("Frame1"));
        Frame3 = trouver<QGroupBox>(f, QStringLiteral("Frame3"));
        Frame5 = trouver<QGroupBox>(f, QStringLiteral("Frame5"));
        nombase = T("nombase");
        Drive2 = trouver<kelvane::widgets::DriveListBox>(f, QStringLiteral("Drive2"));
        listerepertoire2 = trouver<kelvane::widgets::DirListBox>(f, QStringLiteral("listerepertoire2"));
        Label29 = L("Label29");
        listefichier = trouver<QListWidget>(f, QStringLiteral("listefichier"));
        Label30 = trouverSiPresent<QLabel>(f, QStringLiteral("Label30"));
        List3 = trouverSiPresent<QListWidget>(f, QStringLiteral("List3"));
        OkTest = B("OkTest");
        Annuler = B("Annuler");
        Text1 = T("Text1");
        Text2 = T("Text2");
        Text3 = T("Text3");
        Drive1 = trouver<kelvane::widgets::DriveListBox>(f, QStringLiteral("Drive1"));
        newrepertoire = B("newrepertoire");
        listerepertoire = trouver<kelvane::widgets::DirListBox>(f, QStringLiteral("listerepertoire"));
        OkNom = B("OkNom");
        AnnulerNom = B("AnnulerNom");
        Label5 = L("Label5");
        Label6 = L("Label6");
        Label7 = L("Label7");
        Label8 = L("Label8");
        Label13 = L("Label13");
        Label21 = L("Label21");
        Label22 = L("Label22");
        Label31 = L("Label31");
        const std::array<const char*, 5> reponses{"Label20", "Label19", "Label18", "Label17", "Label16"};
        for (std::size_t i = 0; i < 5; ++i) {
            LabelsReponses[i] = L(reponses[i]);
            Check[i] = trouver<QCheckBox>(f, QStringLiteral("Check%1").arg(i + 1));
            Combo[i] = trouver<QComboBox>(f, QStringLiteral("Combo%1").arg(i + 1));
        }
        Condo = L("Condo");
        Terre = L("Terre");
        ClasseII = L("ClasseII");
        Text4 = T("Text4");
        Suivant = B("Suivant");
        Precedent = B("Precedent");
        AnnulerQuestion = B("AnnulerQuestion");
        Label27 = L("Label27");
        Label28 = L("Label28");
        Label9 = L("Label9");
        Label10 = L("Label10");
        niveaux = {L("Label11"), L("Label12"), L("Label14"), L("Label23"), L("Label24")};
        List1 = trouver<QListWidget>(f, QStringLiteral("List1"));
        List2 = trouver<QListWidget>(f, QStringLiteral("List2"));
        Fermer = B("Fermer");
        ImprimerResultat = B("ImprimerResultat");
        Retourner = trouverSiPresent<QPushButton>(f, QStringLiteral("Retourner"));
    }
    const EcranTest* operator->() const { return this; }

    QWidget* forme;
    QGroupBox *Frame2, *Frame1, *Frame3, *Frame5;
    QLineEdit* nombase;
    kelvane::widgets::DriveListBox* Drive2;
    kelvane::widgets::DirListBox* listerepertoire2;
    QLabel* Label29;
    QListWidget* listefichier;
    QLabel* Label30;
    QListWidget* List3;
    QPushButton *OkTest, *Annuler;
    QLineEdit *Text1, *Text2, *Text3;
    kelvane::widgets::DriveListBox* Drive1;
    QPushButton* newrepertoire;
    kelvane::widgets::DirListBox* listerepertoire;
    QPushButton *OkNom, *AnnulerNom;
    QLabel *Label5, *Label6, *Label7, *Label8, *Label13, *Label21, *Label22, *Label31;
    std::array<QLabel*, 5> LabelsReponses{};
    std::array<QCheckBox*, 5> Check{};
    std::array<QComboBox*, 5> Combo{};
    QLabel *Condo, *Terre, *ClasseII;
    QLineEdit* Text4;
    QPushButton *Suivant, *Precedent, *AnnulerQuestion;
    QLabel *Label27, *Label28, *Label9, *Label10;
    std::array<QLabel*, 5> niveaux{}; // B0, B1, B2, BR, BC
    QListWidget *List1, *List2;
    QPushButton *Fermer, *ImprimerResultat, *Retourner;
};

// The results viewer.
struct EcranVisualisation {
    explicit EcranVisualisation(QWidget* f) : forme(f) {
        Frame1 = trouver<QGroupBox>(f, QStringLiteral("Frame1"));
        Frame5 = trouver<QGroupBox>(f, QStringLiteral("Frame5"));
        nombase = trouver<QLineEdit>(f, QStringLiteral("nombase"));
        Drive1 = trouver<kelvane::widgets::DriveListBox>(f, QStringLiteral("Drive1"));
        listerepertoire = trouver<kelvane::widgets::DirListBox>(f, QStringLiteral("listerepertoire"));
        listefichier = trouver<QListWidget>(f, QStringLiteral("listefichier"));
        Valider = trouver<QPushButton>(f, QStringLiteral("Valider"));
        Annuler = trouver<QPushButton>(f, QStringLiteral("Annuler"));
        Label27 = trouver<QLabel>(f, QStringLiteral("Label27"));
        Label28 = trouver<QLabel>(f, QStringLiteral("Label28"));
        Label9 = trouver<QLabel>(f, QStringLiteral("Label9"));
        Label10 = trouver<QLabel>(f, QStringLiteral("Label10"));
        const std::array<const char*, 5> n{"Label11", "Label12", "Label14", "Label23", "Label24"};
        for (std::size_t j = 0; j < 5; ++j) {
            niveaux[j] = trouver<QLabel>(f, QString::fromLatin1(n[j]));
        }
        List1 = trouver<QListWidget>(f, QStringLiteral("List1"));
        List2 = trouver<QListWidget>(f, QStringLiteral("List2"));
        Fermer = trouver<QPushButton>(f, QStringLiteral("Fermer"));
        ImprimerResultat = trouver<QPushButton>(f, QStringLiteral("ImprimerResultat"));
    }
    const EcranVisualisation* operator->() const { return this; }

    QWidget* forme;
    QGroupBox *Frame1, *Frame5;
    QLineEdit* nombase;
    kelvane::widgets::DriveListBox* Drive1;
    kelvane::widgets::DirListBox* listerepertoire;
    QListWidget* listefichier;
    QPushButton *Valider, *Annuler;
    QLabel *Label27, *Label28, *Label9, *Label10;
    std::array<QLabel*, 5> niveaux{};
    QListWidget *List1, *List2;
    QPushButton *Fermer, *ImprimerResultat;
};

// A code frame (the menu's or MotPasse's Frame4) and, in MotPasse, the new code's frame.
struct EcranCode {
    explicit EcranCode(QWidget* f) : fenetre(f) {
        Frame4 = trouver<QGroupBox>(f, QStringLiteral("Frame4"));
        Text3 = trouver<QLineEdit>(f, QStringLiteral("Text3"));
        OkMotdePasse = trouver<QPushButton>(f, QStringLiteral("OkMotdePasse"));
        AnnulerMotdePasse = trouver<QPushButton>(f, QStringLiteral("AnnulerMotdePasse"));
        ChangerMotPasse = trouverSiPresent<QPushButton>(f, QStringLiteral("ChangerMotPasse"));
        Frame1 = trouverSiPresent<QGroupBox>(f, QStringLiteral("Frame1"));
        Text1 = trouverSiPresent<QLineEdit>(f, QStringLiteral("Text1"));
        Text2 = trouverSiPresent<QLineEdit>(f, QStringLiteral("Text2"));
        Valider = trouverSiPresent<QPushButton>(f, QStringLiteral("Valider"));
        Annuler = trouverSiPresent<QPushButton>(f, QStringLiteral("Annuler"));
        Quitter = trouverSiPresent<QPushButton>(f, QStringLiteral("Quitter"));
        Entrainement = trouverSiPresent<QPushButton>(f, QStringLiteral("Entrainement"));
        Interro = trouverSiPresent<QPushButton>(f, QStringLiteral("Interro"));
        Resultats = trouverSiPresent<QPushButton>(f, QStringLiteral("Résultats"));
    }
    const EcranCode* operator->() const { return this; }

    QWidget* fenetre;
    QGroupBox* Frame4;
    QLineEdit* Text3;
    QPushButton *OkMotdePasse, *AnnulerMotdePasse, *ChangerMotPasse;
    QGroupBox* Frame1;
    QLineEdit *Text1, *Text2;
    QPushButton *Valider, *Annuler;
    QPushButton *Quitter, *Entrainement, *Interro, *Resultats; // the menu's buttons
};

} // namespace ecrans
