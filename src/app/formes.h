#pragma once

#include <memory>

namespace kelvane::ui {
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

    ui::Forme& essayerTest();
    ui::Forme& evaluation();
    ui::Forme& visualisation();
    ui::Forme& motPasse();

private:
    std::unique_ptr<ui::Forme> essayerTest_;
    std::unique_ptr<ui::Forme> evaluation_;
    std::unique_ptr<ui::Forme> visualisation_;
    std::unique_ptr<ui::Forme> motPasse_;
};

} // namespace kelvane::app
