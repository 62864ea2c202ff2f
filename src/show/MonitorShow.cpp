#include "show/MonitorShow.h"

#include <QScreen>

#include "show/CoverWindow.h"
#include "show/PictureBox.h"
#include "show/PictureDressing.h"

namespace vz {

MonitorShow::MonitorShow(QScreen *screen, const QString &caption, const ShowOptions &options, bool fit,
                         QByteArray screenProfile)
    : m_box(new PictureBox(this)), m_fit(fit), m_screenProfile(std::move(screenProfile))
{
    // Placed and kept like a cover: see CoverWindow.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint | Qt::WindowStaysOnTopHint
                   | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    makeShowSurface(*this, caption);
    setScreen(screen);
    setGeometry(screen->geometry());
    connect(screen, &QScreen::geometryChanged, this, [this](const QRect &r) { setGeometry(r); });
    // Input anywhere on the monitor is the window's, which the show watches.
    m_box->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_box->setGeometry(0, 0, 0, 0);
    m_dressing = std::make_unique<PictureDressing>(*this, *m_box, options);
}

MonitorShow::~MonitorShow() = default;

void MonitorShow::prepare(const QString &fileName, const PictureOrder::Choice &choice)
{
    m_fileName = fileName;
    m_choice = choice;
    PictureRequest request{fileName, (QSizeF(size()) * devicePixelRatioF()).toSize(), m_fit, m_screenProfile};
    m_dressing->ask(request);
    m_next.prepare(request);
}

void MonitorShow::showPrepared()
{
    QPixmap before = m_dressing->before();
    PreparedPicture prepared = m_next.take((QSizeF(size()) * devicePixelRatioF()).toSize());
    if (!prepared.picture.ok())
        qCWarning(lcShow) << "no picture on" << screen()->name() << ":" << prepared.picture.error;
    m_box->setPicture(prepared.picture.ok() ? std::move(prepared.picture) : Picture());
    m_box->move((width() - m_box->width()) / 2, (height() - m_box->height()) / 2);
    m_dressing->apply(prepared, m_fileName, std::move(before));
}

} // namespace vz
