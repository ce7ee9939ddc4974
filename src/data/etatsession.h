#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace kelvane {

// The session members of a test form (the viewer holds the same ones for the file it shows).
// Ordre is sized to the test: Ordre[i] is the zero-based record position in RsQuestion of the question shown
// at place i. A form's single instance keeps these across its sessions, so a place that a later session does
// not fill keeps what the earlier one put there.
struct EtatSession {
    QString RepertoireEleve;        // the working folder; the process's current folder is kept equal to it
    QString NomTest;                // the test file's name less ".mdb"
    bool ModeExamen = false;        // the session is, or was, an evaluation
    std::int16_t TempsAutorise = 0; // seconds
    std::int16_t Tolerance = 0;     // pass mark, percent
    int NbQuestions = 0;
    std::vector<int> Ordre;
    int IndiceQuestion = 0;
    int TempsRestant = 0; // seconds left
    int NbBonnes = 0;     // right answers as last counted

    // Ordre grown to hold n places; new places start at 0 (the first stored question).
    void dimensionnerOrdre(int n) {
        if (static_cast<int>(Ordre.size()) < n) {
            Ordre.resize(static_cast<std::size_t>(n), 0);
        }
    }
};

} // namespace kelvane
