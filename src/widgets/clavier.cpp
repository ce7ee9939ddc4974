#include "widgets/clavier.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace kelvane::widgets {

Clavier::Clavier(QWidget* boite) : QObject(boite) {
    boite->installEventFilter(this);
}

bool Clavier::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* touche = static_cast<QKeyEvent*>(event);
        enfoncees_.insert(touche->key());
        emit enfoncee(touche->key());
        break;
    }
    case QEvent::KeyRelease: {
        const auto* touche = static_cast<QKeyEvent*>(event);
        if (!touche->isAutoRepeat() && enfoncees_.remove(touche->key())) {
            emit relachee(touche->key());
        }
        break;
    }
    case QEvent::FocusOut:
        // A key still down when the focus leaves is released elsewhere.
        enfoncees_.clear();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kelvane::widgets
