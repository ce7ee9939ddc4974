#pragma once

#include <memory>

namespace kelvane::widgets {
class Forme;
}

namespace kelvane::app {

class Menu;

// The single instance of each form for the whole run, made on first showing.
class Formes {
public:
    Formes();
    ~Formes();
    Formes(const Formes&) = delete;
    Formes& operator=(const Formes&) = delete;

    // Lets the menu's buttons show the forms.
    void brancher(Menu& menu);

    widgets::Forme& essayerTest();
    widgets::Forme& evaluation();
    widgets::Forme& visualisation();
    widgets::Forme& motPasse();

private:
    std::unique_ptr<widgets::Forme> essayerTest_;
    std::unique_ptr<widgets::Forme> evaluation_;
    std::unique_ptr<widgets::Forme> visualisation_;
    std::unique_ptr<widgets::Forme> motPasse_;
};

} // namespace kelvane::app
