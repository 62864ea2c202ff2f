#pragma once
// The show on a monitor other than the primary one, when pictures are shown
// on every monitor: a window over the whole monitor, like a cover, with a
// picture of its own, decoded for that monitor's size and pixel ratio and
// dressed as the show's options say. The show chooses its pictures and tells
// it when to put the next one up; input on it is the show's.

#include <QWidget>
#include <memory>

#include "show/PictureOrder.h"
#include "show/PicturePreparer.h"

class QScreen;

namespace vz {

class PictureBox;
class PictureDressing;
struct ShowOptions;

class MonitorShow final : public QWidget
{
    Q_OBJECT
public:
    // screenProfile: the monitor's colour profile (empty: sRGB).
    MonitorShow(QScreen *screen, const QString &caption, const ShowOptions &options, bool fit,
                QByteArray screenProfile);
    ~MonitorShow() override;

    // Starts decoding the picture this monitor shows next.
    void prepare(const QString &fileName, const PictureOrder::Choice &choice);
    // What was asked for is decoded.
    bool isReady() const { return m_next.isReady(); }
    const PictureOrder::Choice &choice() const { return m_choice; }
    // Puts the decoded picture up, centred; a picture that cannot be read
    // leaves the monitor black (the primary monitor's show reports it when
    // its turn comes there).
    void showPrepared();

private:
    PictureBox *m_box;
    std::unique_ptr<PictureDressing> m_dressing;
    PicturePreparer m_next;
    PictureOrder::Choice m_choice;
    QString m_fileName;
    bool m_fit;
    QByteArray m_screenProfile;
};

} // namespace vz
