#include "gui/app/WindowPlacement.h"

#include "settings/IniFile.h"

#include <QWidget>

namespace probex {

namespace {

constexpr std::int32_t ShowNormal = 1;
constexpr std::int32_t ShowMinimized = 2;
constexpr std::int32_t ShowMaximized = 3;

} // namespace

TWindowPlacement PlacementOf(const QWidget* window, const QRect& normalGeometry) {
    TWindowPlacement p;
    p.ShowCmd = window->isMinimized()   ? ShowMinimized
                : window->isMaximized() ? ShowMaximized
                                        : ShowNormal;
    p.PixelsPerInch = window->logicalDpiX();
    p.NormPos = {normalGeometry.left(), normalGeometry.top(),
                 normalGeometry.left() + normalGeometry.width(),
                 normalGeometry.top() + normalGeometry.height()};
    return p;
}

void ApplyPlacement(QWidget* window, const TWindowPlacement& placement) {
    const auto& n = placement.NormPos;
    const QRect rect(n[0], n[1], n[2] - n[0], n[3] - n[1]);
    if (rect.width() > 0 && rect.height() > 0) window->setGeometry(rect);
    Qt::WindowStates state = window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (placement.ShowCmd == ShowMinimized) state |= Qt::WindowMinimized;
    if (placement.ShowCmd == ShowMaximized) state |= Qt::WindowMaximized;
    window->setWindowState(state);
}

std::optional<TWindowPlacement> LoadPlacement(const std::string& iniFile,
                                              const std::string& section) {
    IniFile ini;
    ini.load(iniFile);
    return ReadPlacement(ini, section);
}

} // namespace probex
