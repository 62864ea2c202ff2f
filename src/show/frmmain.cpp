#include "show/frmmain.h"

#include <QCheckBox>
#include <algorithm>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>

#include "controls/ListBox.h"
#include "dialogs/music/frmMusic.h"
#include "dialogs/picture/frmSettings.h"
#include "platform/Cursor.h"
#include "platform/HostWindow.h"
#include "runtime/MessageBox.h"
#include "runtime/Program.h"
#include "show/CoverWindow.h"
#include "show/InputWatch.h"
#include "show/ListEntries.h"
#include "show/MonitorShow.h"
#include "show/PictureBox.h"
#include "show/PictureDressing.h"
#include "show/ScreenCovers.h"
#include "startup/Module1.h"

namespace vz {

int pictureInterval(const QString &intervalText)
{
    const auto seconds = toInteger(intervalText);
    if (!seconds || *seconds <= 0)
        return 0;
    return int(*seconds) * 1000;
}

frmmain::frmmain(Program &program)
    : Form(program), Image2(new QLabel(this)), Image1(new PictureBox(this)), m_order(clockSeededDraw),
      m_music(program, clockSeededDraw, this)
{
    // Every show carries the caption, so a second show can find it.
    makeShowSurface(*this, kAppTitle);
    setFocusPolicy(Qt::StrongFocus);
    auto *formInput = new InputWatch(this);
    if (const auto host = program.hostWindow()) {
        m_embedded = program.hosts().embed(*this, *host);
        m_hostLost = !m_embedded;
        // The host closing its window (a locker unlocking, a monitor going)
        // ends the show as the host's signal does.
        connect(&program.hosts(), &HostWindow::hostDestroyed, this, [this] {
            halt();
            this->program().end();
        });
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
        m_covers = new ScreenCovers(*this, screen, *formInput);
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

    // Inside a host's window the host owns the input.
    if (!m_embedded) {
        formInput->watch(*this);
        connect(formInput, &InputWatch::clicked, this, &frmmain::Form_Click);
        connect(formInput, &InputWatch::keyPressed, this, &frmmain::Form_KeyDown);
        connect(formInput, &InputWatch::mouseMoved, this, &frmmain::Form_MouseMove);
        auto *imageInput = new InputWatch(this);
        imageInput->watch(*Image1);
        connect(imageInput, &InputWatch::clicked, this, &frmmain::Image1_Click);
        connect(imageInput, &InputWatch::keyPressed, this, &frmmain::Image1_KeyDown);
        connect(imageInput, &InputWatch::mouseMoved, this, &frmmain::Image1_MouseMove);
    }

    Timer1.setInterval(0);
    connect(&Timer1, &QTimer::timeout, this, &frmmain::Timer1_Timer);
    connect(&m_next, &PicturePreparer::ready, this, [this] {
        if (m_waitingForPicture && !this->program().hasEnded()) {
            m_waitingForPicture = false;
            showPrepared();
        }
    });
}

frmmain::~frmmain() = default;

void frmmain::restartInterval()
{
    // A timer without an interval would fire at once, and forever.
    if (Timer1.isActive() && Timer1.interval() > 0)
        Timer1.start();
}

void frmmain::setDraw(const std::function<double()> &draw)
{
    m_order.setDraw(draw);
    m_music.setDraw(draw);
}

void frmmain::Form_Load()
{
    if (m_hostLost) {
        // The window to draw into is gone, and with it whoever asked for the show.
        program().end();
        return;
    }
    if (!m_embedded)
        program().cursor().setPos(QPoint(0, 0));
    m_music.rewind();
    if (!m_embedded)
        HideCursor(program().cursor());
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
    m_options = program().form<frmSettings>().showOptions();
    m_dressing = std::make_unique<PictureDressing>(*this, *Image1, m_options);
    if (m_options.allMonP && m_covers) {
        const bool fit = program().form<frmSettings>().chkFitP()->checkState() == Qt::Checked;
        m_covers->setMaker([this, fit](QScreen *screen) {
            return std::make_unique<MonitorShow>(screen, windowTitle(), m_options, fit, profileOf(screen));
        });
    }
    if (m_options.resumeP)
        resume();
    m_screenProfile = profileOf(screen());
    // A timer with no interval never fires, so a bad interval leaves the
    // backdrop up for the whole show.
    const int interval = pictureInterval(program().form<frmSettings>().Text1()->text());
    if (interval > 0) {
        Timer1.setInterval(interval);
        Timer1.start();
        // The first picture is decoded while the backdrop is up. A screen
        // locker starts its shows afresh often: there the first picture
        // comes as soon as it is decoded.
        QTimer::singleShot(0, this, [this] {
            if (!m_next.pending())
                prepareNext();
            if (m_embedded)
                Timer1_Timer();
        });
    }
    // Of the shows in the windows of a screen locker, one per monitor, only
    // one plays the music.
    m_music.start(m_embedded ? &program().musicClaim() : nullptr);
    qCDebug(lcShow) << "loaded";
}

QByteArray frmmain::profileOf(QScreen *monitor)
{
    // Pictures are shown in the colours of the monitor's profile, where the
    // desktop's colour manager names one.
    return program().displayProfile(std::max(0, int(QGuiApplication::screens().indexOf(monitor))));
}

void frmmain::resume()
{
    auto &settings = program().form<frmSettings>();
    auto &music = program().form<frmMusic>();
    m_position.emplace(program(), settings.List1()->entries(), music.List1()->entries());
    if (const auto place = m_position->pictures())
        m_order.resume(*place, countOf(settings.List1()));
    // Songs continue only in list order; at random the first is the first.
    const bool songsInOrder = music.chkRandomM()->checkState() != Qt::Checked;
    if (const auto song = m_position->nextSong(); song && songsInOrder && *song < countOf(music.List1()))
        m_music.rewind(*song);
    connect(&m_music, &MusicSchedule::opened, this, [this, songsInOrder](Integer song) {
        if (songsInOrder)
            m_position->saveNextSong(Integer(song + 1));
    });
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
    m_waitingForPicture = false;
    m_music.stop();
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

void frmmain::Timer1_Timer()
{
    // A tick waiting on its message box or its picture is not entered again.
    if (m_inTick || m_waitingForPicture)
        return;
    qCDebug(lcShow) << "tick";
    if (countOf(program().form<frmSettings>().List1()) == 0) {
        Image2->setVisible(false);
        Image1->setVisible(true);
        giveWayToSettings();
        return;
    }
    if (!m_next.pending())
        prepareNext();
    // Only a decode that takes longer than an interval leaves anything to wait
    // for; the backdrop or the picture before stays up meanwhile.
    if (!m_next.isReady()) {
        m_waitingForPicture = true;
        return;
    }
    showPrepared();
}

void frmmain::showPrepared()
{
    QPixmap before = m_dressing ? m_dressing->before() : QPixmap();
    Image2->setVisible(false);
    Image1->setVisible(true);
    PreparedPicture prepared = m_next.take(pixelSize());
    Picture &picture = prepared.picture;
    if (!picture.ok()) {
        m_inTick = true;
        Timer1.stop();
        releaseKeyboard();
        msgBox(this, QStringLiteral("File not found.Quitting"));
        program().end();
        return;
    }
    Image1->setPicture(std::move(picture));
    m_order.shown(m_nextChoice);
    // A monitor whose picture is not decoded yet keeps the one it has.
    for (MonitorShow *monitor : monitorShows())
        if (monitor->isReady()) {
            monitor->showPrepared();
            m_order.shown(monitor->choice());
        }
    if (m_position)
        m_position->savePictures(m_order.place());
    const float left = (float(width()) - float(Image1->width())) / 2.0f;
    Image1->move(qRound(left), Image1->y());
    const float top = (float(height()) - float(Image1->height())) / 2.0f;
    Image1->move(Image1->x(), qRound(top));
    if (m_dressing)
        m_dressing->apply(prepared, m_nextFile, std::move(before));
    // A fade has the processor to itself: the next picture is decoded once
    // it is done (or at the next tick, should that come first).
    if (m_options.fadeP)
        QTimer::singleShot(m_options.fadeMs, this, [this] {
            if (!m_next.pending())
                prepareNext();
        });
    else
        prepareNext();
    Q_EMIT pictureShown();
}

void frmmain::prepareNext()
{
    auto &settings = program().form<frmSettings>();
    const Integer n = countOf(settings.List1());
    if (n == 0)
        return;
    using Order = PictureOrder::Mode;
    const Order mode = settings.chkRandomP()->checkState() != Qt::Checked ? Order::InOrder
                       : settings.showOptions().shuffleP                  ? Order::Shuffled
                                                                          : Order::Random;
    m_nextChoice = m_order.next(n, mode);
    m_nextFile = entry(settings.List1(), m_nextChoice.index);
    PictureRequest request{m_nextFile, pixelSize(), settings.chkFitP()->checkState() == Qt::Checked, m_screenProfile};
    if (m_dressing)
        m_dressing->ask(request);
    m_next.prepare(request);
    // Monitor k shows the k-th picture after this one; at random, one that no
    // other monitor shows where the list has enough.
    QList<Integer> chosen{m_nextChoice.index};
    int ahead = 0;
    for (MonitorShow *monitor : monitorShows()) {
        PictureOrder::Choice choice = m_order.next(n, mode, ++ahead);
        for (int tries = 0; mode == Order::Random && chosen.contains(choice.index) && chosen.size() < n && tries < 32; ++tries)
            choice = m_order.next(n, mode);
        chosen << choice.index;
        monitor->prepare(entry(settings.List1(), choice.index), choice);
    }
}

QList<MonitorShow *> frmmain::monitorShows() const
{
    QList<MonitorShow *> shows;
    for (QWidget *cover : m_covers ? m_covers->covers() : QList<QWidget *>())
        if (auto *show = qobject_cast<MonitorShow *>(cover))
            shows << show;
    return shows;
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
    m_music.stop();
    program().form<frmSettings>().show();
    program().unload(this);
}

} // namespace vz
