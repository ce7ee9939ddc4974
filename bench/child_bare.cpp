// The bare Qt work that the program's start is set against: a plain window, shown, and the process ends as soon
// as it has been painted once. Linked with Qt Widgets only.
#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {

class FinAuDessin : public QObject {
public:
    explicit FinAuDessin(QWidget* fenetre) : fenetre_(fenetre) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == fenetre_ && event->type() == QEvent::Paint) {
            QMetaObject::invokeMethod(
                qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* fenetre_;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget fenetre;
    fenetre.setWindowTitle(QStringLiteral("Fenêtre"));
    fenetre.resize(548, 97); // the menu's size
    FinAuDessin fin(&fenetre);
    fenetre.installEventFilter(&fin);
    fenetre.show();
    return QApplication::exec();
}
