#pragma once

#include "app/formes.h"
#include "data/parametres.h"
#include "forms/menu.h"
#include "support/formefixture.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <functional>
#include <optional>

// The program as it runs after its start: the settings file of a fresh folder opened for the whole run, the
// windows made by app::Formes, the menu shown.
class Programme {
public:
    explicit Programme(const QVariant& code) {
        fixtures::creerHabilitation(reglages(), code);
        parametres.emplace(kelvane::data::FichierParametres::ouvrir(fx.dossier->path()));
        formes = std::make_unique<kelvane::app::Formes>(fx.services->all(), fx.lieux(), *parametres);
        formes->menu().show();
    }

    ~Programme() {
        formes.reset();
        // The end of the program asked outside the application's loop leaves Qt's quit flag set, and every modal
        // window shown after it would return at once: a turn of the application's loop clears the flag.
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }
    Programme(const Programme&) = delete;
    Programme& operator=(const Programme&) = delete;

    QString reglages() const { return fx.chemin(QStringLiteral("habilitation.mdb")); }
    ecrans::EcranCode menu() { return ecrans::EcranCode(&formes->menu()); }

    FormeFixture fx;
    std::optional<kelvane::data::FichierParametres> parametres;
    std::unique_ptr<kelvane::app::Formes> formes;
};

// Every modal window that opens is handed to `action` from inside its own event loop (by default it is closed);
// the names of those that opened are kept in order.
class Modales {
public:
    Modales() {
        QObject::connect(&minuterie_, &QTimer::timeout, &minuterie_, [this] {
            QWidget* w = QApplication::activeModalWidget();
            if (w == nullptr || w == vue_) {
                vue_ = w;
                return;
            }
            vue_ = w;
            ouvertes << w->objectName();
            action(w);
        });
        minuterie_.start(0);
    }

    std::function<void(QWidget*)> action = [](QWidget* w) { w->close(); };
    QStringList ouvertes;

private:
    QTimer minuterie_;
    QPointer<QWidget> vue_;
};

// The window stands in the middle of its screen, within the width of its border.
inline bool centree(const QWidget* fenetre) {
    const QPoint ecart = fenetre->frameGeometry().center() - fenetre->screen()->availableGeometry().center();
    return qAbs(ecart.x()) <= 4 && qAbs(ecart.y()) <= 4;
}

// Enter pressed and released in a code box whose check then shows `message`, and the message dismissed with
// Enter as a user does: that press goes to the message box, its release to `retour`, where the focus is back.
inline void entreeAvecMessage(kelvane::doubles::ScriptedMessages& messages, QWidget* boite, const QString& message,
                              QWidget* retour = nullptr) {
    QWidget boiteMessage;
    messages.expectMessage(message, kelvane::services::Answer::Ok,
                           [&boiteMessage] { QTest::keyPress(&boiteMessage, Qt::Key_Return); });
    QTest::keyPress(boite, Qt::Key_Return);
    QTest::keyRelease(boite, Qt::Key_Return);
    QTest::keyRelease(retour != nullptr ? retour : boite, Qt::Key_Return);
}

// Types into a box with the keyboard, key by key (an accented letter with its own key), then Enter when asked.
inline void taper(QWidget* boite, const QString& texte, bool entree = false) {
    for (const QChar c : texte) {
        QTest::sendKeyEvent(QTest::Click, boite, static_cast<Qt::Key>(c.toUpper().unicode()), QString(c), {});
    }
    if (entree) {
        QTest::keyClick(boite, Qt::Key_Return);
    }
}
