#pragma once

#include <QString>

namespace kelvane::results {

// The verdict's rule, the same on the results screen, in the report and in the class summary: an exact share
// (0 to 100, never cut) reaches the pass mark when it is not below it.
inline bool estReussi(double pourcentage, int tolerance) {
    return !(pourcentage < tolerance);
}

// A question's mark beside its text, on the results screen and in the report.
inline QString marqueQuestion(bool juste) {
    return juste ? QStringLiteral("Oui") : QStringLiteral("Non");
}

// A session's verdict in the class summary (CSV, workbook, printout) and the class's table.
inline QString texteVerdict(bool reussi) {
    return reussi ? QStringLiteral("Réussi") : QStringLiteral("Non réussi");
}

// The words of the verdict on the results screen: the test forms speak to the candidate, the viewer about the
// candidate.
struct Verdicts {
    QString echec;
    QString reussite;
};

inline const Verdicts VerdictsSession{QStringLiteral("vous n'avez pas réussi le test"),
                                      QStringLiteral("vous avez réussi le test")};
inline const Verdicts VerdictsVisualisation{QStringLiteral("le test n'est pas réussi"),
                                            QStringLiteral("le test est réussi")};

} // namespace kelvane::results
