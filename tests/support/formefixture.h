#pragma once

#include "forms/formetest.h"
#include "forms/lieux.h"
#include "session/modetest.h"
#include "support/doubles/scriptedservices.h"
#include "support/ecrans.h"
#include "support/fixtures.h"
#include "support/gui.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

// A program started in a fresh folder (the start folder and the application folder), with scripted services,
// and the test forms made for it.
class FormeFixture {
public:
    FormeFixture() {
        ancien_ = QDir::currentPath();
        dossier = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(dossier->path());
        services = std::make_unique<kelvane::doubles::ScriptedServices>();
    }

    ~FormeFixture() {
        formes.clear();
        services.reset();
        QDir::setCurrent(ancien_);
    }

    FormeFixture(const FormeFixture&) = delete;
    FormeFixture& operator=(const FormeFixture&) = delete;

    QString chemin(const QString& nom) const { return dossier->filePath(nom); }
    kelvane::forms::Lieux lieux() const { return {dossier->path(), dossier->path()}; }

    // A test form of that mode, loaded and shown as the menu shows it.
    ecrans::EcranTest ouvrir(bool examen) {
        auto forme = std::make_unique<kelvane::forms::FormeTest>(examen ? kelvane::session::modeEvaluation()
                                                                        : kelvane::session::modeEntrainement(),
                                                                 services->all(), lieux());
        forme->Form_Load();
        forme->show();
        formes.push_back(std::move(forme));
        return ecrans::EcranTest(formes.back().get());
    }

    // The same form loaded again, as the menu shows it a second time.
    ecrans::EcranTest rouvrir(const ecrans::EcranTest& e) {
        auto* forme = static_cast<kelvane::forms::FormeTest*>(e.forme);
        forme->Form_Load();
        forme->show();
        return ecrans::EcranTest(forme);
    }

    kelvane::doubles::ManualTimer* minuterie(const ecrans::EcranTest& e) const {
        return e.forme->findChild<kelvane::doubles::ManualTimer*>(QStringLiteral("Timer1"));
    }

    std::unique_ptr<QTemporaryDir> dossier;
    std::unique_ptr<kelvane::doubles::ScriptedServices> services;
    std::vector<std::unique_ptr<kelvane::forms::FormeTest>> formes;

private:
    QString ancien_;
};
