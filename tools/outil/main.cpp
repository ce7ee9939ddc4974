// kelvane-outil: the teachers' tool that builds the files of an application folder from text, and gives a test's
// text source back (verbs in commandes.h).

#include "commandes.h"
#include "platform/system.h"

#include <QApplication>
#include <QCoreApplication>
#include <memory>

int main(int argc, char* argv[]) {
    kelvane::platform::prepareConsole();
    // The class summary's PDF is painted with its charts, which takes fonts and a graphics scene: an application with
    // widgets, without a window on any screen.
    bool pdf = false;
    for (int i = 2; i < argc && argc > 1 && qstrcmp(argv[1], "bilan") == 0; ++i) {
        pdf = pdf || qstrcmp(argv[i], "--pdf") == 0;
    }
    std::unique_ptr<QCoreApplication> app;
    if (pdf) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    return kelvane::mktest::executer(QCoreApplication::arguments().mid(1), QStringLiteral("kelvane-outil"));
}
