#include "support/doubles/scriptedservices.h"

#include <QTest>

using namespace kelvane::services;

// The scripted boxes are what every form test leans on: a box answered wrongly, or a missed box that passes
// silently, would make those tests lie.
using namespace kelvane::doubles;
using namespace kelvane;

class TestScriptedMessages : public QObject {
    Q_OBJECT

private slots:
    void answersFromTheQueue_data();
    void answersFromTheQueue();
    void unexpectedBoxesFailAndAnswerHarmlessly_data();
    void unexpectedBoxesFailAndAnswerHarmlessly();
    void inputAnswers();
    void duringRunsWhileTheBoxIsOpen();
    void eachSetHandsOutItsOwnServices();
    void manualTimerTicksOnlyWhenEnabled_data();
    void manualTimerTicksOnlyWhenEnabled();
};

void TestScriptedMessages::answersFromTheQueue_data() {
    QTest::addColumn<QString>("expected");
    QTest::addColumn<services::Answer>("answer");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<services::Buttons>("buttons");

    QTest::newRow("oui") << "Voulez-vous quitter ?" << services::Answer::Yes << "Voulez-vous quitter ?"
                         << services::Buttons::YesNo;
    QTest::newRow("non") << "Voulez-vous quitter ?" << services::Answer::No << "Voulez-vous quitter ?"
                         << services::Buttons::YesNo;
    QTest::newRow("ok") << "Test terminé" << services::Answer::Ok << "Test terminé" << services::Buttons::OkOnly;
    QTest::newRow("any prompt") << "" << services::Answer::Yes << "Un texte quelconque" << services::Buttons::YesNo;
    QTest::newRow("line breaks kept") << "Ligne 1\rLigne 2" << services::Answer::Ok << "Ligne 1\rLigne 2"
                                      << services::Buttons::OkOnly;
}

void TestScriptedMessages::answersFromTheQueue() {
    QFETCH(QString, expected);
    QFETCH(services::Answer, answer);
    QFETCH(QString, prompt);
    QFETCH(services::Buttons, buttons);

    ScriptedMessages m;
    m.expectMessage(expected, answer);
    m.expectMessage(QStringLiteral("Second"), services::Answer::Ok);
    QCOMPARE(m.pending(), 2);

    QCOMPARE(m.MsgBox(prompt, buttons, QStringLiteral("Kelvane")), answer);
    QVERIFY(!m.allAnswered());
    QCOMPARE(m.MsgBox(QStringLiteral("Second"), services::Buttons::OkOnly, QString()), services::Answer::Ok);
    QVERIFY(m.allAnswered());

    QCOMPARE(m.shown().size(), 2);
    QCOMPARE(m.shown().at(0).prompt, prompt);
    QCOMPARE(m.shown().at(0).buttons, buttons);
    QCOMPARE(m.shown().at(0).title, QStringLiteral("Kelvane"));
    QVERIFY(!m.shown().at(0).input);
    QCOMPARE(m.last().prompt, QStringLiteral("Second"));

    m.clear();
    QVERIFY(m.shown().isEmpty());
}

void TestScriptedMessages::unexpectedBoxesFailAndAnswerHarmlessly_data() {
    QTest::addColumn<QString>("script"); // "", "m:<prompt>:<answer>" or "i:<prompt>"
    QTest::addColumn<services::Buttons>("buttons");
    QTest::addColumn<services::Answer>("result");

    QTest::newRow("nothing expected, yes/no") << "" << services::Buttons::YesNo << services::Answer::No;
    QTest::newRow("nothing expected, ok") << "" << services::Buttons::OkOnly << services::Answer::Ok;
    QTest::newRow("other prompt") << "m:Autre texte:oui" << services::Buttons::YesNo << services::Answer::No;
    QTest::newRow("input expected") << "i:Votre nom" << services::Buttons::OkOnly << services::Answer::Ok;
    QTest::newRow("yes on an OK box") << "m::oui" << services::Buttons::OkOnly << services::Answer::Ok;
    QTest::newRow("ok on a yes/no box") << "m::ok" << services::Buttons::YesNo << services::Answer::No;
}

void TestScriptedMessages::unexpectedBoxesFailAndAnswerHarmlessly() {
    QFETCH(QString, script);
    QFETCH(services::Buttons, buttons);
    QFETCH(services::Answer, result);

    ScriptedMessages m;
    const QStringList parts = script.split(QLatin1Char(':'));
    if (parts.first() == QLatin1String("m")) {
        m.expectMessage(parts.at(1),
                        parts.at(2) == QLatin1String("oui") ? services::Answer::Yes : services::Answer::Ok);
    } else if (parts.first() == QLatin1String("i")) {
        m.expectInput(parts.at(1), QStringLiteral("Dupont"));
    }

    // The box must mark the test failed (hence the expected failure), yet return so the code goes on.
    QEXPECT_FAIL("", "a box nobody scripted fails the running test", Continue);
    const services::Answer answer =
        m.MsgBox(QStringLiteral("Voulez-vous quitter ?"), buttons, QStringLiteral("Kelvane"));
    QCOMPARE(answer, result);
    QCOMPARE(m.shown().size(), 1);
    QVERIFY(m.allAnswered()); // the wrong expectation is used up, not left to shift the next boxes
}

void TestScriptedMessages::inputAnswers() {
    ScriptedMessages m;
    m.expectInput(QStringLiteral("Votre nom"), QStringLiteral("Dupont"));
    m.expectInput(QString(), QString()); // cancelled
    QCOMPARE(m.InputBox(QStringLiteral("Votre nom"), QStringLiteral("Identification")), QStringLiteral("Dupont"));
    QCOMPARE(m.InputBox(QStringLiteral("Mot de passe"), QString()), QString());
    QCOMPARE(m.shown().size(), 2);
    QVERIFY(m.shown().at(0).input);
    QCOMPARE(m.shown().at(0).title, QStringLiteral("Identification"));

    m.expectMessage(QStringLiteral("Fin"));
    QEXPECT_FAIL("", "an input box where a message box was expected fails the test", Continue);
    QCOMPARE(m.InputBox(QStringLiteral("Votre nom"), QString()), QString());
    QVERIFY(m.allAnswered());
}

void TestScriptedMessages::duringRunsWhileTheBoxIsOpen() {
    ScriptedMessages m;
    ManualTimerFactory factory;
    QObject owner;
    Timer* timer = factory.createTimer(&owner);
    timer->setInterval(1000);
    timer->setEnabled(true);
    int ticks = 0;
    connect(timer, &Timer::tick, &owner, [&ticks] { ++ticks; });

    bool returned = false;
    int seenWhileOpen = -1;
    m.expectMessage(QStringLiteral("Temps écoulé"), services::Answer::Ok, [&] {
        QVERIFY(!returned);
        seenWhileOpen = static_cast<int>(m.shown().size());
        QVERIFY(factory.timers.first()->fire());
        QVERIFY(factory.timers.first()->fire());
    });
    m.MsgBox(QStringLiteral("Temps écoulé"), services::Buttons::OkOnly, QString());
    returned = true;
    QCOMPARE(seenWhileOpen, 1); // the box is already recorded when the callback runs
    QCOMPARE(ticks, 2);
}

// Each set hands out its own doubles, whatever other set lives beside it.
void TestScriptedMessages::eachSetHandsOutItsOwnServices() {
    ScriptedServices outer;
    ScriptedServices inner;
    const Services o = outer.all();
    QCOMPARE(o.messages, &outer.messages);
    QCOMPARE(o.clock, &outer.clock);
    QCOMPARE(o.random, &outer.random);
    QCOMPARE(o.timers, &outer.timers);
    QCOMPARE(o.files, &outer.files);
    QCOMPARE(o.printer, &outer.printer);
    QCOMPARE(inner.all().messages, &inner.messages);
    QCOMPARE(inner.all().printer, &inner.printer);
}

void TestScriptedMessages::manualTimerTicksOnlyWhenEnabled_data() {
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("ticks");
    QTest::newRow("enabled") << true << true;
    QTest::newRow("disabled") << false << false;
}

void TestScriptedMessages::manualTimerTicksOnlyWhenEnabled() {
    QFETCH(bool, enabled);
    QFETCH(bool, ticks);
    ManualTimer timer;
    timer.setInterval(500);
    timer.setEnabled(enabled);
    int count = 0;
    connect(&timer, &Timer::tick, this, [&count] { ++count; });
    QCOMPARE(timer.fire(), ticks);
    QCOMPARE(count, ticks ? 1 : 0);
}

QTEST_GUILESS_MAIN(TestScriptedMessages)
#include "tst_scriptedmessages.moc"
