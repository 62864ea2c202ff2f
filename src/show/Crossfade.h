#pragma once
// The change from one picture to the next as a fade: a cover over the whole
// show that paints the screen as it was and the screen as it will be on top
// of it, more opaque at every refresh of the monitor, and goes when the new
// one is whole. The show under it is already the new one.

#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace vz {

class Crossfade final : public QWidget
{
    Q_OBJECT
public:
    explicit Crossfade(QWidget *parent);
    // Fades from one picture of the whole show to the other over ms.
    void start(QPixmap from, QPixmap to, int ms);
    // Ends a fade under way at once, the new picture whole.
    void finish();
    bool running() const { return m_frames.isActive(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_from, m_to;
    QTimer m_frames;
    QElapsedTimer m_clock;
    int m_ms = 0;
};

} // namespace vz
