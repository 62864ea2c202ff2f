#pragma once
// What the show's options put around the picture in one window: the blurred
// surround under it, the caption over it, the fade into it. Each part is made
// only when its option is on, so that a window without options is the window
// as it always was.

#include <QPixmap>
#include <QString>

#include "settings/ShowOptions.h"
#include "show/PicturePreparer.h"

class QLabel;
class QWidget;

namespace vz {

class Caption;
class Crossfade;

class PictureDressing
{
public:
    // pictureBox: the window's picture, which the surround lies under.
    PictureDressing(QWidget &window, QWidget &pictureBox, const ShowOptions &options);

    // What a decode is asked to make besides the picture.
    void ask(PictureRequest &request) const;
    // The window as it is now, the start of a fade (a fade under way ends
    // first); null without the fade.
    QPixmap before();
    // Dresses the picture that is now in the box; before: from before().
    void apply(const PreparedPicture &prepared, const QString &fileName, QPixmap before);

private:
    QWidget &m_window;
    ShowOptions m_options;
    QLabel *m_surround = nullptr;
    Caption *m_caption = nullptr;
    Crossfade *m_fade = nullptr;
};

} // namespace vz
