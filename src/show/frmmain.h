#pragma once
// The show window: borderless, covering the primary screen, black, with every
// other screen covered in black as well. It shows the
// built-in backdrop until the first picture is due, then the user's pictures
// one interval apart, centred, at their natural size or fitted to the screen,
// while the user's songs play behind them. Each picture is decoded while the
// one before it is shown. Any click, key or real mouse movement ends the show.

#include <QLabel>
#include <QPoint>
#include <QTimer>
#include <functional>
#include <memory>

#include "runtime/Numbers.h"
#include "runtime/Form.h"
#include "show/PicturePreparer.h"

namespace vz {

class MediaPlayer;
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

    // Opens song number `song` of the play list and keeps the music timer going.
    void musicon(Integer song);

    // The draw in [0, 1) behind random order; a test may replace it.
    void setDraw(std::function<double()> draw) { m_draw = std::move(draw); }

    // For tests and the show's own bookkeeping.
    QTimer &timer1() { return Timer1; }
    QTimer &timer2() { return Timer2; }
    PictureBox &image1() const { return *Image1; }
    QLabel &image2() const { return *Image2; }
    MediaPlayer *player() const { return m_player.get(); }

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void Form_Click() { endscr(); }
    void Form_KeyDown() { endscr(); }
    void Form_MouseMove() { movementRule(formpos); }
    void Image1_Click() { endscr(); }
    void Image1_KeyDown() { endscr(); }
    void Image1_MouseMove() { movementRule(imagepos); }
    void movementRule(QPoint &stored);

    void Timer1_Timer();
    // Chooses the next picture (drawing it in random order) and starts decoding it.
    void prepareNext();
    // The window's size in device pixels, what a picture is decoded for.
    QSize pixelSize() const;
    void Timer2_Timer();
    void songEnded(bool played);
    void giveWayToSettings();
    Integer drawIndex(Integer count);
    MediaPlayer &ensurePlayer();

    QLabel *Image2;
    PictureBox *Image1;
    ScreenCovers *m_covers = nullptr; // the other screens, black; none when embedded
    QTimer Timer1;
    QTimer Timer2;
    std::unique_ptr<MediaPlayer> m_player;
    PicturePreparer m_next;
    bool m_nextInOrder = false; // the prepared picture was chosen in order mode
    Integer songcount = 0;
    Integer songnum = 0;
    int m_failedSongs = 0; // songs in a row that did not play
    Integer picnum = 0;
    QPoint formpos;
    QPoint imagepos;
    bool m_inTick = false;
    bool m_loadPending = false;
    bool m_embedded = false; // drawn inside a host's window
    bool m_hostLost = false; // a host window was named but does not exist
    std::function<double()> m_draw;
};

// The picture timer's interval in milliseconds from the interval text: whole
// seconds, half to even; 0 (the timer stays off) for text that is not a number,
// for zero and for negative intervals.
int pictureInterval(const QString &intervalText);

} // namespace vz
