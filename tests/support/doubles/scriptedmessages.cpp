#include "support/doubles/scriptedmessages.h"

#include <QTest>

using namespace kelvane;
using namespace kelvane::doubles;

namespace kelvane::doubles {

namespace {

using services::Answer;
using services::Buttons;

Answer defaultAnswer(Buttons buttons) {
    switch (buttons) {
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::YesNoCancel:
        return Answer::Cancel;
    case Buttons::OkOnly:
        break;
    }
    return Answer::Ok;
}

bool answerFits(Answer answer, Buttons buttons) {
    switch (buttons) {
    case Buttons::YesNo:
        return answer == Answer::Yes || answer == Answer::No;
    case Buttons::YesNoCancel:
        return answer == Answer::Yes || answer == Answer::No || answer == Answer::Cancel;
    case Buttons::OkOnly:
        break;
    }
    return answer == Answer::Ok;
}

} // namespace

void ScriptedMessages::expectMessage(const QString& prompt, services::Answer answer, std::function<void()> during) {
    Expected e;
    e.prompt = prompt;
    e.answer = answer;
    e.during = std::move(during);
    queue_.push_back(std::move(e));
}

void ScriptedMessages::expectInput(const QString& prompt, const QString& answer) {
    Expected e;
    e.input = true;
    e.prompt = prompt;
    e.text = answer;
    queue_.push_back(std::move(e));
}

void ScriptedMessages::fail(const QString& why) const {
    // qFail marks the running test failed without leaving it: the code under test goes on with a harmless
    // answer, so one missed box does not hide the rest of the report.
    QTest::qFail(why.toUtf8().constData(), __FILE__, __LINE__);
}

services::Answer ScriptedMessages::MsgBox(const QString& prompt, services::Buttons buttons, const QString& title) {
    shown_.append(Shown{prompt, buttons, title, false});
    if (queue_.empty()) {
        fail(QStringLiteral("Message inattendu: \"%1\"").arg(prompt));
        return defaultAnswer(buttons);
    }
    Expected e = std::move(queue_.front());
    queue_.pop_front();
    if (e.input) {
        fail(QStringLiteral("Message \"%1\" affiché au lieu de la saisie attendue \"%2\"").arg(prompt, e.prompt));
        return defaultAnswer(buttons);
    }
    if (!e.prompt.isEmpty() && e.prompt != prompt) {
        fail(QStringLiteral("Message \"%1\" affiché au lieu de \"%2\"").arg(prompt, e.prompt));
        return defaultAnswer(buttons);
    }
    if (!answerFits(e.answer, buttons)) {
        fail(QStringLiteral("Réponse %1 impossible pour le message \"%2\" (boutons %3)")
                 .arg(static_cast<int>(e.answer))
                 .arg(prompt)
                 .arg(buttons == Buttons::OkOnly ? QStringLiteral("OK") : QStringLiteral("Oui/Non")));
        return defaultAnswer(buttons);
    }
    if (e.during) {
        e.during();
    }
    return e.answer;
}

QString ScriptedMessages::InputBox(const QString& prompt, const QString& title) {
    shown_.append(Shown{prompt, services::Buttons::OkOnly, title, true});
    if (queue_.empty()) {
        fail(QStringLiteral("Saisie inattendue: \"%1\"").arg(prompt));
        return {};
    }
    Expected e = std::move(queue_.front());
    queue_.pop_front();
    if (!e.input) {
        fail(QStringLiteral("Saisie \"%1\" affichée au lieu du message attendu \"%2\"").arg(prompt, e.prompt));
        return {};
    }
    if (!e.prompt.isEmpty() && e.prompt != prompt) {
        fail(QStringLiteral("Saisie \"%1\" affichée au lieu de \"%2\"").arg(prompt, e.prompt));
        return {};
    }
    if (e.during) {
        e.during();
    }
    return e.text;
}

void ScriptedMessages::clear() {
    queue_.clear();
    shown_.clear();
}

} // namespace kelvane::doubles
