#include "show/ScreenCovers.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "show/CoverWindow.h"
#include "show/InputWatch.h"

namespace vz {

ScreenCovers::ScreenCovers(QWidget &show, QScreen *showScreen, InputWatch &input)
    : QObject(&show), m_show(show), m_showScreen(showScreen), m_input(input)
{
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen *screen) {
        if (m_shown)
            cover(screen);
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this,
            [this](QScreen *screen) { m_covers.erase(screen); });
}

ScreenCovers::~ScreenCovers() = default;

void ScreenCovers::showAll()
{
    m_shown = true;
    for (QScreen *screen : QGuiApplication::screens())
        cover(screen);
}

void ScreenCovers::hideAll()
{
    m_shown = false;
    m_covers.clear();
}

void ScreenCovers::cover(QScreen *screen)
{
    if (screen == m_showScreen || m_covers.count(screen))
        return;
    auto window = std::make_unique<CoverWindow>(screen, m_show.windowTitle());
    m_input.watch(*window);
    window->show();
    m_covers.emplace(screen, std::move(window));
}

} // namespace vz
