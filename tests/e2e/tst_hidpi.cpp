// The show and the dialogs on a screen with two device pixels to a logical
// pixel: pictures keep one picture pixel to one screen pixel, the dialogs keep
// their designed size in logical pixels.

#include <QTest>

#include "support/Desktop.h"

using namespace vz::test;

namespace {

const QColor kKnown(0x20, 0xc0, 0x40);

// Every pixel different from its neighbours, none of them black, so that any
// resampling or shift shows.
QImage patterned(QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            img.setPixel(x, y, qRgb((x * 7) & 255, (y * 5) & 255, 64 + ((x + y) & 127)));
    return img;
}

// The smallest rectangle holding every pixel that is not black.
QRect lit(const QImage &shot)
{
    QRect r;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if ((shot.pixel(x, y) & 0xffffff) != 0)
                r |= QRect(x, y, 1, 1);
    return r;
}

// Pixel for pixel (a screenshot also carries a colour space, which QImage's
// own comparison counts).
bool samePixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xffffff) != (b.pixel(x, y) & 0xffffff))
                return false;
    return true;
}

} // namespace

class tst_hidpi : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void picturesKeepTheirPixels_data()
    {
        QTest::addColumn<QImage>("picture");
        // Where the picture lies on the 1024 x 768 screen, with the places a
        // half-pixel centring may round to.
        QTest::addColumn<QList<QPoint>>("corners");
        QImage known(200, 100, QImage::Format_RGB32);
        known.fill(kKnown);
        QTest::newRow("200 x 100 of one colour") << known << QList<QPoint>{{412, 334}};
        QTest::newRow("odd size") << patterned({201, 101})
                                  << QList<QPoint>{{411, 333}, {412, 333}, {411, 334}, {412, 334}};
        // Larger than the screen: the screen shows the middle of it.
        QTest::newRow("larger than the screen") << patterned({1200, 900}) << QList<QPoint>{{-88, -66}};
    }
    void picturesKeepTheirPixels()
    {
        QFETCH(QImage, picture);
        QFETCH(QList<QPoint>, corners);
        XServer x;
        App app(x);
        app.setEnv(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
        QVERIFY(picture.save(app.filePath(QStringLiteral("p.bmp")), "BMP"));
        writePictureList(app, QStringLiteral("1"), {app.filePath(QStringLiteral("p.bmp"))});
        x.mouseMove(500, 500);
        app.start({QStringLiteral("/s")});

        const QRect screen(QPoint(0, 0), x.size());
        QImage shot;
        QPoint found;
        const bool shown = waitFor([&] {
            shot = x.screenshot();
            for (const QPoint &corner : corners) {
                const QRect area = QRect(corner, picture.size()) & screen;
                if (samePixels(shot.copy(area), picture.copy(area.translated(-corner)))) {
                    found = corner;
                    return true;
                }
            }
            return false;
        }, 15000);
        x.keepShot(QStringLiteral("hidpi-%1x%2").arg(picture.width()).arg(picture.height()));
        QVERIFY2(shown, qPrintable(QStringLiteral("lit area %1,%2 %3x%4")
                                       .arg(lit(shot).x()).arg(lit(shot).y())
                                       .arg(lit(shot).width()).arg(lit(shot).height())));
        // Nothing else is lit around it.
        QCOMPARE(lit(shot), QRect(found, picture.size()) & screen);
        QVERIFY(app.running());
    }

    void dialogsKeepTheirDesignedSize()
    {
        XServer x;
        App app(x);
        app.setEnv(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
        app.start({QStringLiteral("/c")});
        QStringList windows;
        QVERIFY(waitFor([&] {
            windows = x.windowsNamed(QStringLiteral("^Veroridovuz - Select Graphics$"));
            return !windows.isEmpty();
        }, 15000));
        const auto geometry = windowGeometry(x, windows.first());
        QVERIFY(geometry);
        QCOMPARE(geometry->size(), QSize(545, 357) * 2);
    }
};

QTEST_GUILESS_MAIN(tst_hidpi)
#include "tst_hidpi.moc"
