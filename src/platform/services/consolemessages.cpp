#include "platform/services/consolemessages.h"

namespace kelvane::services {

namespace {

void ecrire(std::FILE* flux, const QString& prompt, const QString& title) {
    QString texte = prompt;
    // A box breaks its lines at a carriage return; a terminal at a line feed.
    texte.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QString entete = title.trimmed();
    const QByteArray octets = ((entete.isEmpty() ? QString() : entete + QStringLiteral(" : ")) + texte).toUtf8();
    std::fprintf(flux, "%s\n", octets.constData());
    std::fflush(flux);
}

} // namespace

Answer ConsoleMessages::MsgBox(const QString& prompt, Buttons buttons, const QString& title) {
    ecrire(flux_, prompt, title);
    switch (buttons) {
    case Buttons::OkOnly:
        return Answer::Ok;
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::YesNoCancel:
        return Answer::Cancel;
    }
    return Answer::Ok;
}

QString ConsoleMessages::InputBox(const QString& prompt, const QString& title) {
    ecrire(flux_, prompt, title);
    return {};
}

} // namespace kelvane::services
