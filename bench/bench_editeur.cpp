// The test editor on a test of 1,000 questions, shown at its usual size with scripted services: opening the file
// up to the editor painted, saving it (checks, the file compared with the disk, written under a temporary name and
// renamed), and one key typed in the question's text up to the preview painted again.
#include "editeur/editeurtest.h"
#include "support/doubles/scriptedservices.h"
#include "support/fixtures.h"

#include <QApplication>
#include <QDir>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace kelvane;

namespace {

constexpr int kQuestions = 1000;

doubles::ScriptedServices* scriptes = nullptr;

QTemporaryDir& dossier() {
    static QTemporaryDir d(QDir::current().filePath(QStringLiteral("bench-editeur-XXXXXX")));
    return d;
}

QString cheminTest() {
    return dossier().filePath(QStringLiteral("grand.mdb"));
}

// The editor shown alone at 1200 x 800, as a teacher has it.
struct Editeur {
    services::Services services = scriptes->all();
    editeur::EditeurTest editeur{services};
    Editeur() {
        editeur.resize(1200, 800);
        editeur.show();
        QCoreApplication::processEvents();
    }
    template <typename T> T* controle(const char* nom) { return editeur.findChild<T*>(QString::fromLatin1(nom)); }
};

void BM_EditeurOuverture(benchmark::State& state) {
    Editeur e;
    for (auto _ : state) {
        if (!e.editeur.ouvrir(cheminTest())) {
            state.SkipWithError("the test does not open");
            break;
        }
        e.editeur.repaint();
    }
}
BENCHMARK(BM_EditeurOuverture)->Unit(benchmark::kMillisecond);

void BM_EditeurEnregistrement(benchmark::State& state) {
    Editeur e;
    e.editeur.ouvrir(cheminTest());
    auto* tolerance = e.controle<QSpinBox>("tolerance");
    for (auto _ : state) {
        state.PauseTiming();
        tolerance->setValue(tolerance->value() == 70 ? 71 : 70); // a change to save
        state.ResumeTiming();
        if (!e.editeur.enregistrer()) {
            state.SkipWithError("the test is not saved");
            break;
        }
    }
}
BENCHMARK(BM_EditeurEnregistrement)->Unit(benchmark::kMillisecond);

void BM_EditeurApercu(benchmark::State& state) {
    Editeur e;
    e.editeur.ouvrir(cheminTest());
    auto* texte = e.controle<QPlainTextEdit>("texteQuestion");
    auto* apercu = e.controle<QGraphicsView>("apercu");
    texte->setFocus();
    bool efface = false;
    for (auto _ : state) {
        // One key, typed then erased at the next turn, so that the text stays short.
        QKeyEvent touche(QEvent::KeyPress, efface ? Qt::Key_Backspace : Qt::Key_X, Qt::NoModifier,
                         efface ? QString() : QStringLiteral("x"));
        QApplication::sendEvent(texte, &touche);
        apercu->viewport()->repaint();
        efface = !efface;
    }
}
BENCHMARK(BM_EditeurApercu)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    int statut = 0;
    {
        doubles::ScriptedServices scripted;
        scriptes = &scripted;
        fixtures::creerTest(cheminTest(), 3600, 50,
                            {{QStringLiteral("Généralités"), 1}, {QStringLiteral("Consignation"), 2}},
                            fixtures::questionsSimples(kQuestions));
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        statut = scripted.messages.allAnswered() && scripted.messages.shown().isEmpty() ? 0 : 1;
        scriptes = nullptr;
    }
    dossier().remove();
    return statut;
}
