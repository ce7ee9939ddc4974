// The program's real start, in the folder it is started from, with the machine's own services: the process ends as
// soon as the menu has been painted once. The program itself is not changed: an application-wide event filter
// watches for the menu's first paint, and accepts any message box shown on the way, as a teacher would.
#include "app/application.h"
#include "forms/menu.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>

namespace {

class FinAuMenu : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* boite = qobject_cast<QMessageBox*>(watched)) {
                QMetaObject::invokeMethod(
                    boite, [boite] { boite->accept(); }, Qt::QueuedConnection);
            }
        } else if (event->type() == QEvent::Paint && !fini_ && qobject_cast<kelvane::forms::Menu*>(watched)) {
            fini_ = true;
            QMetaObject::invokeMethod(
                qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool fini_ = false;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    FinAuMenu fin;
    application.installEventFilter(&fin);
    return kelvane::app::executerAvecServicesSysteme({}); // started in the application folder
}
