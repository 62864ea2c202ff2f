#pragma once
// How every surface of the show (its window, its picture box, the covers of
// the other screens) reports the input that ends it: clicks, keys and mouse
// moves on a watched widget are taken, not passed on to the widget or the
// window under it, and reported here.

#include <QObject>

class QWidget;

namespace vz {

class InputWatch final : public QObject
{
    Q_OBJECT
public:
    explicit InputWatch(QObject *parent) : QObject(parent) {}
    void watch(QWidget &surface);

Q_SIGNALS:
    void clicked();
    void keyPressed();
    void mouseMoved();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace vz
