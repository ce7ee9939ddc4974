#include "app/formes.h"

#include "app/menu.h"
#include "app/motpasse.h"
#include "session/formetest.h"
#include "viewer/visualisation.h"
#include "widgets/forme.h"

#include <QApplication>

namespace kelvane::app {

Formes::Formes() = default;
Formes::~Formes() = default;

void Formes::brancher(Menu& menu) {
    menu.afficherEssayerTest = [this] { essayerTest().Show1(); };
    menu.afficherEvaluation = [this] { evaluation().Show1(); };
    menu.afficherVisualisation = [this] { visualisation().Show1(); };
    menu.afficherMotPasse = [this] { motPasse().Show1(); };
    menu.fermerLogiciel = [&menu] {
        menu.close();
        QApplication::exit(0);
    };
}

widgets::Forme& Formes::essayerTest() {
    if (!essayerTest_) {
        essayerTest_.reset(session::creerEssayerTest());
    }
    return *essayerTest_;
}

widgets::Forme& Formes::evaluation() {
    if (!evaluation_) {
        evaluation_.reset(session::creerEvaluation());
    }
    return *evaluation_;
}

widgets::Forme& Formes::visualisation() {
    if (!visualisation_) {
        visualisation_ = std::make_unique<viewer::Visualisation>();
    }
    return *visualisation_;
}

widgets::Forme& Formes::motPasse() {
    if (!motPasse_) {
        auto forme = std::make_unique<MotPasse>();
        // The third wrong code ends the program as the menu's gate ends it.
        forme->fermerLogiciel = [f = forme.get()] {
            f->Unload();
            for (QWidget* fenetre : QApplication::topLevelWidgets()) {
                auto* menu = qobject_cast<Menu*>(fenetre);
                if (menu != nullptr && menu->fermerLogiciel) {
                    menu->fermerLogiciel();
                    return;
                }
            }
            QApplication::exit(0);
        };
        motPasse_ = std::move(forme);
    }
    return *motPasse_;
}

} // namespace kelvane::app
