#pragma once
// The show window: borderless, covering the primary screen, black, with every
// other screen covered in black as well. It shows the built-in backdrop until
// the first picture is due, then the user's pictures one interval apart,
// centred, at their natural size or fitted to the screen, while the user's
// songs play behind them. Each picture is decoded while the one before it is
// shown. Any click, key or real mouse movement ends the show.
//
// The window places the pictures and takes the input; which picture comes
// next is the picture order's, the songs are the music schedule's.

#include <QLabel>
#include <QPoint>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "runtime/Form.h"
#include "runtime/Numbers.h"
#include "settings/ShowOptions.h"
#include "show/MusicSchedule.h"
#include "show/PictureOrder.h"
#include "show/PicturePreparer.h"
#include "show/ShowPosition.h"

namespace vz {

class InputWatch;
class MonitorShow;
class PictureDressing;
class PictureBox;
class ScreenCovers;

class frmmain : public Form
{
    Q_OBJECT
public:
    explicit frmmain(Program &program);
    ~frmmain() override;
    void Form_Load() override;
    void halt() override;
    // The part of the load that reads the interval and the lists and starts
    // the music; it runs once the backdrop is on the screen, or at once here.
    void finishLoad();

    // Ends the show and the program: stops the music, restores the cursor,
    // ends at once.
    void endscr();

    // The current picture stays up for a whole interval from now.
    void restartInterval();

    // The draw in [0, 1) behind random order; a test may replace it.
    void setDraw(const std::function<double()> &draw);

    // For tests.
    QTimer &timer1() { return Timer1; }
    PictureBox &image1() const { return *Image1; }
    QLabel &image2() const { return *Image2; }

Q_SIGNALS:
    // A tick has put its picture on the screen.
    void pictureShown();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void Form_Click() { endscr(); }
    void Form_KeyDown() { endscr(); }
    void Form_MouseMove() { movementRule(formpos); }
    void Image1_Click() { endscr(); }
    void Image1_KeyDown() { endscr(); }
    void Image1_MouseMove() { movementRule(imagepos); }
    void movementRule(QPoint &stored);

    void Timer1_Timer();
    // The rest of a tick, once its picture is decoded.
    void showPrepared();
    // Chooses the next picture and starts decoding it.
    void prepareNext();
    // With "continue where the last show stopped": the order and the music
    // take up the stored position, and keep it up to date from now on.
    void resume();
    // The colour profile of a monitor, empty where it names none.
    QByteArray profileOf(QScreen *monitor);
    // The shows on the other monitors, when pictures are on every monitor.
    QList<MonitorShow *> monitorShows() const;
    // The window's size in device pixels, what a picture is decoded for.
    QSize pixelSize() const;
    void giveWayToSettings();

    QLabel *Image2;
    PictureBox *Image1;
    ScreenCovers *m_covers = nullptr; // the other screens, black; none when embedded
    QTimer Timer1;
    PictureOrder m_order;
    PictureOrder::Choice m_nextChoice;
    QString m_nextFile;
    ShowOptions m_options;
    std::unique_ptr<PictureDressing> m_dressing;
    MusicSchedule m_music;
    // Where the show stands, kept for the next show: only with "continue
    // where the last show stopped".
    std::optional<ShowPosition> m_position;
    PicturePreparer m_next;
    QByteArray m_screenProfile;
    QPoint formpos;
    QPoint imagepos;
    bool m_inTick = false;            // a message box of the tick is up
    bool m_waitingForPicture = false; // a tick waits for its picture's decode
    bool m_loadPending = false;
    bool m_embedded = false; // drawn inside a host's window
    bool m_hostLost = false; // a host window was named but does not exist
};

// The picture timer's interval in milliseconds from the interval text: whole
// seconds, half to even; 0 (the timer stays off) for text that is not a number,
// for zero and for negative intervals.
int pictureInterval(const QString &intervalText);

} // namespace vz
