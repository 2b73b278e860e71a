#include "shell/qt/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace dv::qt {

int TwipsToPixels(int twips, double dots_per_inch) {
    return static_cast<int>(std::lround(twips * dots_per_inch / kTwipsPerInch));
}

namespace {

const QScreen* ScreenOf(const QWidget* widget) {
    if (widget && widget->screen()) return widget->screen();
    return QGuiApplication::primaryScreen();
}

}  // namespace

int TwipsX(const QWidget* widget, int twips) {
    const QScreen* screen = ScreenOf(widget);
    return TwipsToPixels(twips, screen ? screen->logicalDotsPerInchX() : 96.0);
}

int TwipsY(const QWidget* widget, int twips) {
    const QScreen* screen = ScreenOf(widget);
    return TwipsToPixels(twips, screen ? screen->logicalDotsPerInchY() : 96.0);
}

}  // namespace dv::qt
