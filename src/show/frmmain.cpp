#include "show/frmmain.h"

#include <QDateTime>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QScreen>
#include <chrono>

#include "controls/ListBox.h"
#include "dialogs/music/frmMusic.h"
#include "dialogs/picture/frmSettings.h"
#include "platform/Cursor.h"
#include "platform/HostWindow.h"
#include "imaging/PictureLoader.h"
#include "runtime/MessageBox.h"
#include "runtime/Program.h"
#include "settings/MusicSettings.h"
#include "show/CoverWindow.h"
#include "show/MediaPlayer.h"
#include "show/PictureBox.h"
#include "show/ScreenCovers.h"
#include "startup/Module1.h"

namespace vz {

namespace {

// A uniform draw in [0, 1) from a generator seeded afresh from the clock.
double clockSeededDraw()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    QRandomGenerator generator(quint32(now ^ (now >> 32) ^ QDateTime::currentMSecsSinceEpoch()));
    return generator.generateDouble();
}

QString entry(const QListWidget *list, Integer index)
{
    if (index < 0 || index >= list->count())
        return {};
    return list->item(index)->text();
}

Integer countOf(const QListWidget *list)
{
    return Integer(std::min(list->count(), 32767));
}

} // namespace

int pictureInterval(const QString &intervalText)
{
    const auto seconds = toInteger(intervalText);
    if (!seconds || *seconds <= 0)
        return 0;
    return int(*seconds) * 1000;
}

frmmain::frmmain(Program &program)
    : Form(program), Image2(new QLabel(this)), Image1(new PictureBox(this)), m_next(program), m_draw(clockSeededDraw)
{
    // Every show carries the caption, so a second show can find it.
    makeShowSurface(*this, kAppTitle);
    setFocusPolicy(Qt::StrongFocus);
    if (const auto host = program.hostWindow()) {
        m_embedded = program.hosts().embed(*this, *host);
        m_hostLost = !m_embedded;
    } else {
        // Borderless, above other windows, and not a task-bar entry.
        setWindowFlags(Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint);
        QScreen *screen = QGuiApplication::primaryScreen();
        if (screen)
            setGeometry(screen->geometry());
        // Where a window manager or compositor runs (sway through XWayland),
        // a full-screen window also lies above its panels.
        setWindowState(Qt::WindowFullScreen);
        // The other screens are part of the show: input there ends it as here.
        m_covers = new ScreenCovers(*this, screen);
        connect(m_covers, &ScreenCovers::clicked, this, &frmmain::Form_Click);
        connect(m_covers, &ScreenCovers::keyPressed, this, &frmmain::Form_KeyDown);
        connect(m_covers, &ScreenCovers::mouseMoved, this, &frmmain::Form_MouseMove);
    }

    Image2->setPixmap(QPixmap(QStringLiteral(":/backdrop.jpg")));
    Image2->setScaledContents(true);
    // The backdrop keeps its designed size on a screen; inside a host's window
    // it fills the window.
    Image2->setGeometry(m_embedded ? rect() : QRect(0, 0, 1024, 768));
    Image2->setMouseTracking(true);
    // The backdrop passes its input to the window underneath it.
    Image2->setAttribute(Qt::WA_TransparentForMouseEvents);
    Image1->setGeometry(0, 0, 0, 0);
    Image1->raise();

    if (!m_embedded) {
        connect(Image1, &PictureBox::clicked, this, &frmmain::Image1_Click);
        connect(Image1, &PictureBox::keyPressed, this, &frmmain::Image1_KeyDown);
        connect(Image1, &PictureBox::mouseMoved, this, &frmmain::Image1_MouseMove);
    }

    Timer1.setInterval(0);
    Timer2.setInterval(500);
    connect(&Timer1, &QTimer::timeout, this, &frmmain::Timer1_Timer);
    connect(&Timer2, &QTimer::timeout, this, &frmmain::Timer2_Timer);
    Timer2.start();
}

frmmain::~frmmain() = default;

void frmmain::Form_Load()
{
    if (m_hostLost) {
        // The window to draw into is gone, and with it whoever asked for the show.
        program().end();
        return;
    }
    if (!m_embedded)
        program().cursor().setPos(QPoint(0, 0));
    songnum = 0;
    if (!m_embedded)
        HideCursor(program().cursor());
    Timer2.stop();
    // Reading the lists and opening the first song take longer than putting
    // the backdrop on the screen, so they follow its first paint (or a short
    // while, should the window not be painted at all).
    m_loadPending = true;
    QTimer::singleShot(250, this, &frmmain::finishLoad);
}

void frmmain::finishLoad()
{
    if (!m_loadPending)
        return;
    m_loadPending = false;
    // A timer with no interval never fires, so a bad interval leaves the
    // backdrop up for the whole show.
    const int interval = pictureInterval(program().form<frmSettings>().Text1()->text());
    if (interval > 0) {
        Timer1.setInterval(interval);
        Timer1.start();
        // The first picture is decoded while the backdrop is up.
        QTimer::singleShot(0, this, [this] {
            if (!m_next.pending())
                prepareNext();
        });
    }
    musicon(songnum);
}

void frmmain::paintEvent(QPaintEvent *event)
{
    Form::paintEvent(event);
    if (m_loadPending)
        QTimer::singleShot(0, this, &frmmain::finishLoad);
}

void frmmain::halt()
{
    if (m_covers)
        m_covers->hideAll();
    Timer1.stop();
    Timer2.stop();
    if (m_player)
        m_player->Stop();
}

void frmmain::endscr()
{
    halt();
    if (!m_embedded)
        RestoreCursor(program().cursor());
    program().end();
}

void frmmain::showEvent(QShowEvent *event)
{
    Form::showEvent(event);
    // Covers exist only for a show of its own: inside a host's window the host
    // owns the input, and a lost host has ended the show.
    if (!m_covers)
        return;
    m_covers->showAll();
    raise();
    activateWindow();
    setFocus();
    // Keys end the show wherever the window manager puts the focus.
    grabKeyboard();
}

void frmmain::mousePressEvent(QMouseEvent *)
{
    if (!m_embedded)
        Form_Click();
}

void frmmain::keyPressEvent(QKeyEvent *)
{
    if (!m_embedded)
        Form_KeyDown();
}

void frmmain::mouseMoveEvent(QMouseEvent *)
{
    if (!m_embedded)
        Form_MouseMove();
}

void frmmain::movementRule(QPoint &stored)
{
    // Mouse-move events also come without any movement (when the window or the
    // picture box appears under a still cursor); only a changed position counts.
    const QPoint now = program().cursor().pos();
    if (now != stored) {
        endscr();
        return;
    }
    stored = now;
}

Integer frmmain::drawIndex(Integer count)
{
    return randomIndex(m_draw(), count);
}

void frmmain::Timer1_Timer()
{
    // A tick waiting on its message box or its picture must not be entered again.
    if (m_inTick)
        return;
    qCDebug(lcShow) << "tick";
    const auto showPictureBox = [this] {
        Image2->setVisible(false);
        Image1->setVisible(true);
    };
    if (countOf(program().form<frmSettings>().List1()) == 0) {
        showPictureBox();
        giveWayToSettings();
        return;
    }
    if (!m_next.pending())
        prepareNext();
    // Only a decode that takes longer than an interval leaves anything to wait
    // for; the backdrop or the picture before stays up, and input is handled.
    m_inTick = true;
    const bool ready = m_next.waitUntilReady();
    m_inTick = false;
    if (!ready || program().hasEnded())
        return;
    showPictureBox();

    Picture picture = m_next.take(pixelSize());
    if (!picture.ok()) {
        m_inTick = true;
        Timer1.stop();
        releaseKeyboard();
        msgBox(this, QStringLiteral("File not found.Quitting"));
        program().end();
        return;
    }
    Image1->setPicture(std::move(picture));
    if (m_nextInOrder)
        ++picnum;
    const float left = (float(width()) - float(Image1->width())) / 2.0f;
    Image1->move(qRound(left), Image1->y());
    const float top = (float(height()) - float(Image1->height())) / 2.0f;
    Image1->move(Image1->x(), qRound(top));
    prepareNext();
}

void frmmain::prepareNext()
{
    auto &settings = program().form<frmSettings>();
    const Integer n = countOf(settings.List1());
    if (n == 0)
        return;
    Integer r = 0;
    m_nextInOrder = settings.chkRandomP()->checkState() != Qt::Checked;
    if (!m_nextInOrder) {
        r = drawIndex(n);
    } else {
        if (picnum >= n)
            picnum = 0;
        r = picnum;
    }
    m_next.prepare({entry(settings.List1(), r), pixelSize(), settings.chkFitP()->checkState() == Qt::Checked});
}

QSize frmmain::pixelSize() const
{
    return (QSizeF(size()) * devicePixelRatioF()).toSize();
}

void frmmain::giveWayToSettings()
{
    m_inTick = true;
    Timer1.stop();
    // Inside a host's window the load left the cursor alone.
    if (!m_embedded)
        RestoreCursor(program().cursor());
    releaseKeyboard();
    msgBox(this, QStringLiteral("Please select few image files"), MsgIcon::Information);
    ensurePlayer().Stop();
    program().form<frmSettings>().show();
    program().unload(this);
}

MediaPlayer &frmmain::ensurePlayer()
{
    if (!m_player) {
        m_player = std::make_unique<MediaPlayer>();
        // Queued: the player may report a failure from inside Open.
        connect(m_player.get(), &MediaPlayer::ended, this, &frmmain::songEnded, Qt::QueuedConnection);
    }
    return *m_player;
}

void frmmain::musicon(Integer song)
{
    if (const auto count = readSongCount(program()))
        songcount = *count;
    ensurePlayer().Open(entry(program().form<frmMusic>().List1(), song));
    Timer2.start();
}

void frmmain::Timer2_Timer()
{
    auto &music = program().form<frmMusic>();
    const Integer n = countOf(music.List1());
    if (ensurePlayer().PlayState() == MediaPlayer::kPlaying)
        return;
    if (music.chkRandomM()->checkState() == Qt::Checked) {
        ensurePlayer().Open(entry(music.List1(), drawIndex(n)));
        return;
    }
    songnum = songnum + 1 < songcount ? Integer(songnum + 1) : Integer(0);
    musicon(songnum);
}

void frmmain::songEnded(bool played)
{
    // The next song follows at once, as the tick would have it, while the music
    // is on. Songs that fail at once are followed at once for one round of the
    // play list; after that the tick paces them.
    m_failedSongs = played ? 0 : m_failedSongs + 1;
    if (Timer2.isActive() && m_failedSongs <= countOf(program().form<frmMusic>().List1()))
        Timer2_Timer();
}

} // namespace vz
