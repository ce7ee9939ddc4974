#include "app/cadrecode.h"

#include "app/avertissements.h"
#include "platform/services/services.h"
#include "widgets/colours.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

namespace kelvane::app {

void refuserCode(std::int16_t& nbEchecs, QString& codeSaisi, const CadreCode& controles,
                 const std::function<void()>& fermerLogiciel) {
    if (nbEchecs < std::numeric_limits<std::int16_t>::max()) {
        nbEchecs = static_cast<std::int16_t>(nbEchecs + 1);
    }
    if (nbEchecs == 3) {
        services::installed().messages->MsgBox(
            QStringLiteral("Le code est faux pour la troisième fois. Le logiciel va être fermé"),
            services::Buttons::OkOnly, kAvertissement);
        controles.cadre->hide();
        codeSaisi.clear();
        controles.boite->clear();
        // The message announces the end of the program, and nothing is open at this point: keep its word.
        if (fermerLogiciel) {
            fermerLogiciel();
        }
        return;
    }
    services::installed().messages->MsgBox(QStringLiteral("Le code est érroné. Recommencer"), services::Buttons::OkOnly,
                                           kAvertissement);
    widgets::paintButton(controles.ok, false);
    controles.boite->clear();
    codeSaisi.clear();
}

} // namespace kelvane::app
