#pragma once

#include "app/commun.h"
#include "session/formetest.h"
#include "support/doubles/scriptedservices.h"
#include "support/fixtures.h"
#include "support/gui.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// A program started in a fresh folder (the start folder and the application folder), with scripted services,
// and one test form of each mode made for it.
class FormeFixture {
public:
    FormeFixture() {
        ancien_ = QDir::currentPath();
        dossier = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(dossier->path());
        services = std::make_unique<kelvane::doubles::ScriptedServices>();
        Commun::RepertoireAppli = dossier->path();
        Commun::RepertoireInitial = dossier->path();
    }

    ~FormeFixture() {
        formes.clear();
        Commun::reinitialiser();
        services.reset();
        QDir::setCurrent(ancien_);
    }

    FormeFixture(const FormeFixture&) = delete;
    FormeFixture& operator=(const FormeFixture&) = delete;

    QString chemin(const QString& nom) const { return dossier->filePath(nom); }

    kelvane::session::FormeTest* ouvrir(bool examen) {
        auto forme = std::unique_ptr<kelvane::session::FormeTest>(examen ? kelvane::session::creerEvaluation()
                                                                         : kelvane::session::creerEssayerTest());
        forme->Form_Load();
        forme->show();
        formes.push_back(std::move(forme));
        return formes.back().get();
    }

    kelvane::doubles::ManualTimer* minuterie(kelvane::session::FormeTest* f) const {
        return static_cast<kelvane::doubles::ManualTimer*>(f->Timer1);
    }

    std::unique_ptr<QTemporaryDir> dossier;
    std::unique_ptr<kelvane::doubles::ScriptedServices> services;
    std::vector<std::unique_ptr<kelvane::session::FormeTest>> formes;

private:
    QString ancien_;
};
