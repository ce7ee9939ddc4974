#pragma once

#include "forms/lieux.h"
#include "platform/services/services.h"

#include <memory>

namespace kelvane::data {
class FichierParametres;
}
namespace kelvane::forms {
class FormeTest;
class Menu;
class MotPasse;
class Visualisation;
} // namespace kelvane::forms

namespace kelvane::app {

// The program's windows: the menu, and the single instance of each other form for the whole run, made on first
// showing. The menu's buttons show them modal; the third wrong code anywhere ends the program.
class Formes {
public:
    Formes(const services::Services& services, const forms::Lieux& lieux, data::FichierParametres& parametres);
    ~Formes();
    Formes(const Formes&) = delete;
    Formes& operator=(const Formes&) = delete;

    forms::Menu& menu() { return *menu_; }
    forms::FormeTest& essayerTest();
    forms::FormeTest& evaluation();
    forms::Visualisation& visualisation();
    forms::MotPasse& motPasse();

private:
    void fermerLogiciel();

    services::Services services_;
    forms::Lieux lieux_;
    data::FichierParametres& parametres_;
    std::unique_ptr<forms::Menu> menu_;
    std::unique_ptr<forms::FormeTest> essayerTest_;
    std::unique_ptr<forms::FormeTest> evaluation_;
    std::unique_ptr<forms::Visualisation> visualisation_;
    std::unique_ptr<forms::MotPasse> motPasse_;
};

} // namespace kelvane::app
