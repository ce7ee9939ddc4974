#include "widgets/colours.h"

#include <QAbstractButton>
#include <QPalette>

namespace kelvane::widgets {

namespace {
const QColor pink(255, 192, 192);
const QColor grey(192, 192, 192);
} // namespace

void setBackColour(QWidget* w, QColor colour) {
    if (w == nullptr) {
        return;
    }
    QPalette palette = w->palette();
    palette.setColor(w->backgroundRole(), colour);
    palette.setColor(QPalette::Button, colour);
    w->setPalette(palette);
    w->setAutoFillBackground(true);
}

void paintButton(QAbstractButton* b, bool enabled) {
    if (b == nullptr) {
        return;
    }
    b->setEnabled(enabled);
    const QColor back = enabled ? pink : grey;
    setBackColour(b, back);
    const QColor text = enabled ? QColor(Qt::black) : QColor(80, 80, 80);
    QPalette palette = b->palette();
    palette.setColor(QPalette::ButtonText, text);
    b->setPalette(palette);
    // Several styles (Fusion's gradient among them) shade the palette colour or ignore it; a style sheet with
    // its own border is drawn flat in exactly this colour by every style. The outset border gives the raised
    // look of a push button, sunk while pressed, darker when the button has the keyboard focus. The text
    // colour is set too: the style's disabled grey would vanish on the grey face.
    const QString rgb = QStringLiteral("rgb(%1, %2, %3)");
    const QString backText = rgb.arg(back.red()).arg(back.green()).arg(back.blue());
    const QString textText = rgb.arg(text.red()).arg(text.green()).arg(text.blue());
    b->setStyleSheet(QStringLiteral("QAbstractButton { background-color: %1; color: %2; border: 2px outset %1;"
                                    " padding: 2px 6px; }"
                                    " QAbstractButton:pressed { border-style: inset; }"
                                    " QAbstractButton:focus { border-color: rgb(96, 96, 96); }")
                         .arg(backText, textText));
}

} // namespace kelvane::widgets
