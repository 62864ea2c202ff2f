#pragma once
// The covers of the show: one CoverWindow on every screen other than the one
// the show's window lies on (or a window of another kind, such as a show of
// its own), kept up to date as screens are added and removed while the show
// runs. Input on them is reported to the show's InputWatch.

#include <QList>
#include <QObject>
#include <functional>
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

    // Covers from now on are made by make; those up now are made again.
    using Make = std::function<std::unique_ptr<QWidget>(QScreen *)>;
    void setMaker(Make make);
    // The covers up now, from left to right and top to bottom.
    QList<QWidget *> covers() const;

private:
    void cover(QScreen *screen);

    QScreen *m_showScreen;
    InputWatch &m_input;
    bool m_shown = false;
    Make m_make;
    std::map<QScreen *, std::unique_ptr<QWidget>> m_covers;
};

} // namespace vz
