#pragma once
// The covers of the show: one CoverWindow on every screen other than the one
// the show's window lies on, kept up to date as screens are added and removed
// while the show runs. Input on them is reported to the show's InputWatch.

#include <QObject>
#include <map>
#include <memory>

class QScreen;
class QWidget;

namespace vz {

class CoverWindow;
class InputWatch;

class ScreenCovers final : public QObject
{
    Q_OBJECT
public:
    // show: the show's window, on its screen; the covers take its caption.
    ScreenCovers(QWidget &show, QScreen *showScreen, InputWatch &input);
    ~ScreenCovers() override;

    // The show is on the screen: cover the others, now and as they come.
    void showAll();
    // The show has stopped: every cover goes.
    void hideAll();

private:
    void cover(QScreen *screen);

    QWidget &m_show;
    QScreen *m_showScreen;
    InputWatch &m_input;
    bool m_shown = false;
    std::map<QScreen *, std::unique_ptr<CoverWindow>> m_covers;
};

} // namespace vz
