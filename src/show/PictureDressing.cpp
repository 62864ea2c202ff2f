#include "show/PictureDressing.h"

#include <QLabel>

#include "show/Caption.h"
#include "show/Crossfade.h"

namespace vz {

PictureDressing::PictureDressing(QWidget &window, QWidget &pictureBox, const ShowOptions &options)
    : m_window(window), m_options(options)
{
    if (options.blurP) {
        m_surround = new QLabel(&window);
        m_surround->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_surround->stackUnder(&pictureBox);
    }
    if (options.captionP != ShowOptions::NoCaption)
        m_caption = new Caption(&window);
    if (options.fadeP)
        m_fade = new Crossfade(&window);
}

void PictureDressing::ask(PictureRequest &request) const
{
    request.surround = m_options.blurP;
    request.dateTaken = m_options.captionP == ShowOptions::DateTaken || m_options.captionP == ShowOptions::NameAndDate;
}

QPixmap PictureDressing::before()
{
    if (!m_fade)
        return {};
    m_fade->finish();
    return m_window.grab();
}

void PictureDressing::apply(const PreparedPicture &prepared, const QString &fileName, QPixmap before)
{
    if (m_surround) {
        QPixmap surround = QPixmap::fromImage(prepared.surround);
        surround.setDevicePixelRatio(m_window.devicePixelRatioF());
        m_surround->setPixmap(surround);
        m_surround->setGeometry(m_window.rect());
        m_surround->setVisible(!surround.isNull());
    }
    if (m_caption)
        m_caption->setCaption(captionText(m_options.captionP, fileName, prepared.taken));
    if (m_fade)
        m_fade->start(std::move(before), m_window.grab(), m_options.fadeMs);
}

} // namespace vz
