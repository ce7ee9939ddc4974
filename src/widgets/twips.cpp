#include "widgets/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace kelvane::widgets {

namespace {

constexpr double twipsPerInch = 1440.0;
constexpr double defaultDpi = 96.0;

double logicalDpi(const QWidget* w) {
    const QScreen* screen = nullptr;
    if (w != nullptr) {
        screen = w->screen();
    }
    if (screen == nullptr && qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    const double dpi = screen != nullptr ? screen->logicalDotsPerInchX() : 0.0;
    return dpi > 0.0 ? dpi : defaultDpi;
}

int toPixels(int tw, double dpi) {
    return static_cast<int>(std::lround(tw * dpi / twipsPerInch));
}

} // namespace

int twips(int tw, const QWidget* w) {
    return toPixels(tw, logicalDpi(w));
}

QRect twipsRect(int left, int top, int width, int height, const QWidget* w) {
    const double dpi = logicalDpi(w);
    return {toPixels(left, dpi), toPixels(top, dpi), toPixels(width, dpi), toPixels(height, dpi)};
}

QSize twipsSize(int width, int height, const QWidget* w) {
    const double dpi = logicalDpi(w);
    return {toPixels(width, dpi), toPixels(height, dpi)};
}

} // namespace kelvane::widgets
