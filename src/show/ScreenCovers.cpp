#include "show/ScreenCovers.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "show/CoverWindow.h"
#include "show/InputWatch.h"

namespace vz {

ScreenCovers::ScreenCovers(QWidget &show, QScreen *showScreen, InputWatch &input)
    : QObject(&show), m_showScreen(showScreen), m_input(input),
      m_make([&show](QScreen *screen) { return std::make_unique<CoverWindow>(screen, show.windowTitle()); })
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

void ScreenCovers::setMaker(Make make)
{
    m_make = std::move(make);
    m_covers.clear();
    if (m_shown)
        showAll();
}

QList<QWidget *> ScreenCovers::covers() const
{
    QList<QWidget *> all;
    for (const auto &[screen, window] : m_covers)
        all << window.get();
    std::sort(all.begin(), all.end(), [](const QWidget *a, const QWidget *b) {
        const QPoint p = a->geometry().topLeft(), q = b->geometry().topLeft();
        return std::pair(p.x(), p.y()) < std::pair(q.x(), q.y());
    });
    return all;
}

void ScreenCovers::cover(QScreen *screen)
{
    if (screen == m_showScreen || m_covers.count(screen))
        return;
    std::unique_ptr<QWidget> window = m_make(screen);
    m_input.watch(*window);
    window->show();
    m_covers.emplace(screen, std::move(window));
}

} // namespace vz
