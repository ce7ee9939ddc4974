#include "app/formes.h"

#include "app/menu.h"
#include "platform/ui/forme.h"
#include "session/formetest.h"

#include <QApplication>

namespace kelvane::app {

namespace {
std::unique_ptr<ui::Forme> formeVide(const QString& nom, const QString& titre) {
    auto f = std::make_unique<ui::Forme>();
    f->setObjectName(nom);
    f->setWindowTitle(titre);
    return f;
}
} // namespace

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

ui::Forme& Formes::essayerTest() {
    if (!essayerTest_) {
        essayerTest_.reset(session::creerEssayerTest());
    }
    return *essayerTest_;
}

ui::Forme& Formes::evaluation() {
    if (!evaluation_) {
        evaluation_.reset(session::creerEvaluation());
    }
    return *evaluation_;
}

ui::Forme& Formes::visualisation() {
    if (!visualisation_) {
        visualisation_ = formeVide(QStringLiteral("Visualisation"), QStringLiteral("Visualisation"));
    }
    return *visualisation_;
}

ui::Forme& Formes::motPasse() {
    if (!motPasse_) {
        motPasse_ = formeVide(QStringLiteral("MotPasse"), QStringLiteral("Modification du mot de Passe"));
    }
    return *motPasse_;
}

} // namespace kelvane::app
