// A whole evaluation in one process, for its peak memory: the program's real start and forms, with scripted
// services (message boxes answered from a queue, time by hand). From the menu's first paint: Evaluation, the test
// given on the command line chosen in the list, the candidate's details, every question answered and the results
// screen shown; then the process ends. Exit status 0 when the results screen counts every question.
#include "app/application.h"
#include "forms/formetest.h"
#include "forms/menu.h"
#include "support/doubles/scriptedservices.h"
#include "support/ecrans.h"
#include "support/gui.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>
#include <random>

using namespace kelvane;
using namespace kelvane::doubles;

namespace {

using kelvane::forms::FormeTest;

class Evaluation : public QObject {
public:
    Evaluation(kelvane::doubles::ScriptedServices& services, QString test)
        : services_(services), test_(std::move(test)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) {
            return QObject::eventFilter(watched, event);
        }
        if (auto* menu = qobject_cast<kelvane::forms::Menu*>(watched); menu != nullptr && !menuVu_) {
            menuVu_ = true;
            QMetaObject::invokeMethod(
                menu, [menu] { ecrans::EcranCode(menu)->Interro->click(); }, Qt::QueuedConnection);
        } else if (auto* forme = qobject_cast<FormeTest*>(watched); forme != nullptr && !formeVue_) {
            formeVue_ = true;
            QMetaObject::invokeMethod(
                forme, [this, forme] { passer(forme); }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void passer(FormeTest* forme) {
        const ecrans::EcranTest f(forme);
        gui::cliquerLigne(f->listefichier, gui::ligne(f->listefichier, test_ + QStringLiteral(".mdb")));
        f->OkTest->click();
        f->Text1->setFocus();
        QTest::keyClicks(f->Text1, QStringLiteral("Dupont"));
        QTest::keyClicks(f->Text2, QStringLiteral("Jean"));
        services_.messages.expectMessage(QString()); // the pass mark
        f->OkNom->click();
        // Every question answered, until the results are shown.
        int questions = 0;
        while (f->Frame3->isVisible() && questions <= 100000) {
            f->Check[0]->click();
            f->Suivant->click();
            ++questions;
        }
        const QString attendu = QStringLiteral("sur %1 questions").arg(questions);
        const bool complet = questions > 0 && f->Frame5->isVisible() && f->Label9->text().endsWith(attendu) &&
                             services_.messages.allAnswered();
        if (!complet) {
            std::fprintf(stderr, "évaluation incomplète : %d questions, « %s »\n", questions,
                         qPrintable(f->Label9->text()));
        }
        QCoreApplication::exit(complet ? 0 : 3);
    }

    kelvane::doubles::ScriptedServices& services_;
    QString test_;
    bool menuVu_ = false;
    bool formeVue_ = false;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s TEST (a test of the folder the program is started in, without .mdb)\n",
                     argv[0]);
        return 2;
    }
    kelvane::doubles::ScriptedServices services;
    std::minstd_rand tirage(2001);
    std::uniform_real_distribution<float> uniforme(0.0F, 0.999F);
    for (int i = 0; i < 5000; ++i) {
        services.random.values.push_back(uniforme(tirage));
    }
    Evaluation evaluation(services, QString::fromLocal8Bit(argv[1]));
    application.installEventFilter(&evaluation);
    return kelvane::app::executer(services.all());
}
