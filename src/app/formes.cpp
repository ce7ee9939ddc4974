#include "app/formes.h"

#include "forms/formetest.h"
#include "forms/menu.h"
#include "forms/motpasse.h"
#include "forms/visualisation.h"

#include <QApplication>

namespace kelvane::app {

Formes::Formes(const services::Services& services, const forms::Lieux& lieux, data::FichierParametres& parametres)
    : services_(services), lieux_(lieux), parametres_(parametres),
      menu_(std::make_unique<forms::Menu>(parametres, *services.messages)) {
    QObject::connect(menu_.get(), &forms::Menu::entrainement, menu_.get(), [this] { essayerTest().Show1(); });
    QObject::connect(menu_.get(), &forms::Menu::evaluation, menu_.get(), [this] { evaluation().Show1(); });
    QObject::connect(menu_.get(), &forms::Menu::visualisation, menu_.get(), [this] { visualisation().Show1(); });
    QObject::connect(menu_.get(), &forms::Menu::changerCode, menu_.get(), [this] { motPasse().Show1(); });
    QObject::connect(menu_.get(), &forms::Menu::fermerLogiciel, menu_.get(), [this] { fermerLogiciel(); });
}

Formes::~Formes() = default;

void Formes::fermerLogiciel() {
    menu_->close();
    QApplication::exit(0);
}

forms::FormeTest& Formes::essayerTest() {
    if (!essayerTest_) {
        essayerTest_ = std::make_unique<forms::FormeTest>(session::modeEntrainement(), services_, lieux_);
    }
    return *essayerTest_;
}

forms::FormeTest& Formes::evaluation() {
    if (!evaluation_) {
        evaluation_ = std::make_unique<forms::FormeTest>(session::modeEvaluation(), services_, lieux_);
    }
    return *evaluation_;
}

forms::Visualisation& Formes::visualisation() {
    if (!visualisation_) {
        visualisation_ = std::make_unique<forms::Visualisation>(services_, lieux_);
    }
    return *visualisation_;
}

forms::MotPasse& Formes::motPasse() {
    if (!motPasse_) {
        motPasse_ = std::make_unique<forms::MotPasse>(parametres_, *services_.messages);
        QObject::connect(motPasse_.get(), &forms::MotPasse::fermerLogiciel, menu_.get(), [this] { fermerLogiciel(); });
    }
    return *motPasse_;
}

} // namespace kelvane::app
