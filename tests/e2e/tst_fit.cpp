// Fitting large pictures: the switch through OK and Cancel, the show with it on and off.
// The show's options around the picture: fade, blurred surround, caption.

#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QTest>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "support/Desktop.h"

using namespace vz::test;

namespace {

const QColor kRed(255, 0, 0), kBlue(0, 0, 255), kPurple(128, 0, 128), kGreen(0, 255, 0);

// Red and blue pixels in turn, which smooth scaling blends into purple.
QImage checkerboard(QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            img.setPixel(x, y, (x + y) % 2 ? kRed.rgb() : kBlue.rgb());
    return img;
}

// Lit just inside each edge of the rectangle, black just outside it where that
// is on the screen: a half pixel of centring may round either way.
bool shownAt(const QImage &shot, QRect where)
{
    const QPoint c = where.center();
    const QList<std::pair<QPoint, QPoint>> edges{{{where.left() + 1, c.y()}, {where.left() - 2, c.y()}},
                                                 {{where.right() - 1, c.y()}, {where.right() + 2, c.y()}},
                                                 {{c.x(), where.top() + 1}, {c.x(), where.top() - 2}},
                                                 {{c.x(), where.bottom() - 1}, {c.x(), where.bottom() + 2}}};
    for (const auto &[inside, outside] : edges)
        if (near(shot.pixelColor(inside), Qt::black, 8) ||
            (shot.rect().contains(outside) && !near(shot.pixelColor(outside), Qt::black, 8)))
            return false;
    return true;
}

// Whether the screen shows the stripes of tests/data/stripes/ starting at
// colour k: fitted (whole, with black above and below), or at natural size
// (its middle half, filling the screen).
bool showsStripes(const QImage &shot, int k, bool fitted)
{
    static const QList<QColor> colours{kRed, kGreen, kBlue, Qt::yellow, Qt::cyan, Qt::magenta, Qt::white, QColor(127, 127, 127)};
    const auto stripe = [&](int i) { return colours[(i + k) % colours.size()]; };
    for (int i = 0; i < (fitted ? 8 : 4); ++i) {
        const int x = fitted ? 64 + 128 * i : 128 + 256 * i;
        for (const int y : fitted ? QList<int>{140, 384, 628} : QList<int>{2, 384, 765})
            if (!near(shot.pixelColor(x, y), stripe(fitted ? i : i + 2), 24))
                return false;
    }
    return !fitted || (near(shot.pixelColor(512, 124), Qt::black, 8) && near(shot.pixelColor(512, 643), Qt::black, 8));
}

// All the tests ask of the harness: a fresh installation, its dialog and show,
// on the test's server or on one of its own, so that shows run side by side.
struct Desk {
    std::unique_ptr<XServer> own;
    XServer &x;
    App app{x};

    Desk(XServer *server, const QString &fitP, const QMap<QString, QString> &options = {})
        : own(server ? nullptr : std::make_unique<XServer>()), x(server ? *server : *own)
    {
        if (!fitP.isEmpty())
            app.setStored(QStringLiteral("FitP"), fitP);
        for (auto o = options.begin(); o != options.end(); ++o)
            app.setStored(o.key(), o.value());
        app.setEnv(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("vz.show.debug=true"));
    }
    void startShow(const QStringList &pictures, const QString &interval = QStringLiteral("1"))
    {
        writePictureList(app, interval, pictures);
        x.mouseMove(500, 500);
        app.start({QStringLiteral("/s")});
    }
    QColor centre() const { return x.screenshot().pixelColor(512, 384); }
    QByteArray log() { return app.stderrText(); }
};

using Desks = std::vector<std::unique_ptr<Desk>>;
using Checks = QList<std::pair<QString, std::function<bool()>>>;

Desk &addDesk(Desks &desks, const QString &fitP, const QMap<QString, QString> &options = {})
{
    return *desks.emplace_back(std::make_unique<Desk>(nullptr, fitP, options));
}

} // namespace

#define VERIFY_EACH(checks, timeoutMs)                                \
    do {                                                              \
        const QString missing = waitForEach(checks, timeoutMs);       \
        QVERIFY2(missing.isEmpty(), qPrintable(missing));             \
    } while (false)

class tst_fit : public QObject
{
    Q_OBJECT
    std::unique_ptr<XServer> x;

private Q_SLOTS:
    void initTestCase() { QVERIFY((x = std::make_unique<XServer>())->ok()); }

    // "FitP" is read as the dialog opens and written by OK only; no stored
    // value means off. "RandomP" beside it stays as it was.
    void switchKeptByOkOnly_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("after");
        QTest::newRow("none, ticked, OK") << QString() << "alt+f" << true << "1";
        QTest::newRow("on, access key, OK") << "1" << "alt+f" << true << "0";
        QTest::newRow("none, ticked, Cancel") << QString() << "alt+f" << false << QString();
    }
    void switchKeptByOkOnly()
    {
        QFETCH(QString, before);
        QFETCH(QString, keys);
        QFETCH(bool, ok);
        Desk d(x.get(), before);
        d.app.setStored(QStringLiteral("RandomP"), QStringLiteral("1"));
        d.app.start({QStringLiteral("/c")});
        QVERIFY(x->activate(QStringLiteral("^Veroridovuz - Select Graphics$")));
        x->key(keys + (ok ? QStringLiteral(" alt+o") : QStringLiteral(" alt+c")));
        QVERIFY(d.app.waitForExit());
        QTEST(d.app.stored(QStringLiteral("FitP")), "after");
        QCOMPARE(d.app.stored(QStringLiteral("RandomP")), QStringLiteral("1"));
    }

    // With "FitP" on, a picture larger than the screen is scaled down whole
    // (smoothly: its checkerboard blends), a smaller one stays as it is.
    void largePicturesFittedWhenOn()
    {
        const QList<std::pair<QSize, QRect>> cases{{{2048, 1024}, {0, 128, 1024, 512}},  // wider and taller
                                                   {{800, 1600}, {320, 0, 384, 768}},   // taller only
                                                   {{100, 51}, {462, 358, 100, 51}}};   // smaller
        Desks desks;
        Checks checks;
        for (const auto &[size, where] : cases) {
            Desk &d = addDesk(desks, QStringLiteral("1"));
            const QString path = d.app.filePath(QStringLiteral("big.bmp"));
            QVERIFY(checkerboard(size).save(path, "BMP"));
            d.startShow({path});
            checks.append({QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()), [&d, where, scaled = where.size() != size] {
                const QImage shot = d.x.screenshot();
                const QColor a = shot.pixelColor(512, 384), b = shot.pixelColor(513, 384);
                const bool pattern = scaled ? near(a, kPurple, 40) && near(b, kPurple, 40)
                                            : (near(a, kRed) && near(b, kBlue)) || (near(a, kBlue) && near(b, kRed));
                return pattern && shownAt(shot, where);
            }});
        }
        VERIFY_EACH(checks, 10000);
    }

    // PNG, WebP, TIFF, HEIC and AVIF larger than the screen, shown in turn
    // centred at natural size when "FitP" is not stored, and whole when on.
    void everyFormatNaturalAndFitted()
    {
        const QStringList formats{"png", "webp", "tif", "heic", "avif"};
        Desks desks;
        Checks checks;
        int reached[2] = {0, 0};
        for (const bool fit : {false, true}) {
            Desk &d = addDesk(desks, fit ? QStringLiteral("1") : QString());
            QStringList files;
            for (const QString &f : formats)
                files << QStringLiteral(VZ_TEST_DATA "/stripes/stripes.") + f;
            d.startShow(files);
            checks.append({fit ? QStringLiteral("fitted") : QStringLiteral("natural"), [&d, fit, &k = reached[fit]] {
                k += showsStripes(d.x.screenshot(), k, fit);
                return k == 5;
            }});
        }
        const QString missing = waitForEach(checks, 30000);
        QVERIFY2(missing.isEmpty(), qPrintable(missing + QStringLiteral(" at ") + formats.value(reached[0]) + u'/' + formats.value(reached[1])));
    }

    // Where the desktop's colour manager names the monitor's profile on the
    // root window, the show's pictures come in that profile's numbers: sRGB
    // (0, 200, 0) is (112, 199, 47) in Adobe RGB, as Little CMS converts it.
    void picturesInTheMonitorsColours()
    {
        QFile icc(QStringLiteral("/usr/share/color/icc/compatibleWithAdobeRGB1998.icc"));
        QVERIFY(icc.open(QIODevice::ReadOnly));
        const QByteArray profile = icc.readAll();
        Display *d = XOpenDisplay(x->display().toLocal8Bit().constData());
        const Atom name = XInternAtom(d, "_ICC_PROFILE", False);
        XChangeProperty(d, DefaultRootWindow(d), name, XA_CARDINAL, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(profile.constData()), int(profile.size()));
        XSync(d, False);
        Desk desk(x.get(), {});
        desk.startShow({solidPicture(desk.app, QStringLiteral("green.bmp"), {100, 51}, QColor(0, 200, 0))});
        const bool shown = waitFor([&] { return near(desk.centre(), QColor(112, 199, 47), 3); });
        XDeleteProperty(d, DefaultRootWindow(d), name);
        XCloseDisplay(d);
        QVERIFY(shown);
    }

    // A file changed or added after it was prepared is read again at its
    // tick: the very next picture (not blue, no message), not one a round later.
    void changedFileReadAgainAtItsTick()
    {
        Desks desks;
        Checks checks;
        QColor seen[2];
        for (const bool thereAtFirst : {true, false}) {
            Desk &d = addDesk(desks, QString());
            const QString first = solidPicture(d.app, QStringLiteral("a.bmp"), QSize(100, 51), kRed);
            if (thereAtFirst)
                solidPicture(d.app, QStringLiteral("b.bmp"), QSize(100, 51), kBlue);
            d.startShow({first, d.app.filePath(QStringLiteral("b.bmp"))});
            checks.append({thereAtFirst ? QStringLiteral("changed") : QStringLiteral("appeared"),
                           [&d, &c = seen[thereAtFirst], changed = false]() mutable {
                c = d.centre();
                if (!changed && near(c, kRed))
                    changed = !solidPicture(d.app, QStringLiteral("b.bmp"), QSize(100, 51), kGreen).isEmpty();
                return changed && (near(c, kGreen) || near(c, kBlue));
            }});
        }
        VERIFY_EACH(checks, 10000);
        QVERIFY2(near(seen[true], kGreen), "changed");
        QVERIFY2(near(seen[false], kGreen), "appeared");
    }

    // A red picture, then a blue one: with the fade a mix of the two shows
    // during the change, then the blue one alone; without it, never a mix.
    void fadeMixesOnlyWhenOn()
    {
        Desks desks;
        Checks checks;
        bool mixed[2] = {false, false};
        for (const bool fade : {true, false}) {
            Desk &d = addDesk(desks, QString(), fade ? QMap<QString, QString>{{"FadeP", "1"}, {"FadeMs", "500"}} : QMap<QString, QString>{});
            d.startShow({solidPicture(d.app, QStringLiteral("r.bmp"), d.x.size(), kRed),
                         solidPicture(d.app, QStringLiteral("b.bmp"), d.x.size(), kBlue)});
            checks.append({fade ? QStringLiteral("fade") : QStringLiteral("no fade"), [&d, &mixed = mixed[fade], red = false]() mutable {
                const QColor c = d.centre();
                red = red || near(c, kRed, 4);
                mixed = mixed || (red && c.red() > 60 && c.blue() > 60);
                return red && near(c, kBlue, 4);
            }});
        }
        VERIFY_EACH(checks, 15000);
        QVERIFY(mixed[true]);
        QVERIFY(!mixed[false]);
    }

    // A small picture, red on the left and blue on the right: the screen's
    // edges beside it take its colours, blurred and dark, with "BlurP" only.
    void surroundOnlyWhenOn()
    {
        Desks desks;
        Checks checks;
        QImage shots[2];
        for (const bool blur : {true, false}) {
            Desk &d = addDesk(desks, QString(), blur ? QMap<QString, QString>{{"BlurP", "1"}} : QMap<QString, QString>{});
            QImage img(200, 100, QImage::Format_RGB32);
            img.fill(kRed);
            QPainter(&img).fillRect(100, 0, 100, 100, kBlue);
            QVERIFY(img.save(d.app.filePath(QStringLiteral("rb.bmp"))));
            d.startShow({d.app.filePath(QStringLiteral("rb.bmp"))});
            checks.append({blur ? QStringLiteral("blur") : QStringLiteral("no blur"), [&d, &shot = shots[blur]] {
                return near((shot = d.x.screenshot()).pixelColor(462, 384), kRed, 4);
            }});
        }
        VERIFY_EACH(checks, 10000);
        for (const int y : {4, 384, 763}) {
            const QColor left = shots[true].pixelColor(4, y), right = shots[true].pixelColor(1019, y);
            QVERIFY2(left.red() > left.blue() + 30 && left.red() < 200, qPrintable(left.name()));
            QVERIFY2(right.blue() > right.red() + 30 && right.blue() < 200, qPrintable(right.name()));
            QVERIFY(near(shots[false].pixelColor(4, y), Qt::black, 4) && near(shots[false].pixelColor(1019, y), Qt::black, 4));
        }
    }

    // The caption of a picture, as the show writes it in its log: the name,
    // the date taken, or both, by "CaptionP"; no date where the file has none.
    void captions()
    {
        struct Case {
            const char *mode;
            bool dated, withName, withDate;
        };
        const QList<Case> cases{{"1", true, true, false}, {"2", true, false, true}, {"2", false, false, false},
                                {"3", true, true, true}, {"3", false, true, false}};
        const QString name = QStringLiteral("Taken <b>x&amp;.jpg");
        const QString date = QLocale().toString(QDate(2019, 7, 14), QLocale::LongFormat);
        Desks desks;
        Checks checks;
        QStringList lines(cases.size());
        for (const Case &c : cases) {
            Desk &d = addDesk(desks, QString(), {{"CaptionP", QString::fromLatin1(c.mode)}});
            d.app.writeFile(name, jpegWithExif(c.dated ? exifWithDate("2019:07:14 16:05:09") : ""));
            d.startShow({d.app.filePath(name)});
            checks.append({QString::number(checks.size()), [&d, &line = lines[checks.size()]] {
                return !(line = QString::fromUtf8(d.log()).section(QStringLiteral("caption "), 1, 1).section(QLatin1Char(10), 0, 0)).isEmpty();
            }});
        }
        VERIFY_EACH(checks, 10000);
        for (qsizetype i = 0; i < cases.size(); ++i) {
            const QStringList parts = QStringList{cases[i].withName ? name : QString(), cases[i].withDate ? date : QString()};
            QCOMPARE(lines[i], '"' + parts.filter(QRegularExpression(QStringLiteral("."))).join(QStringLiteral("  \u00b7  ")) + '"');
        }
    }
};

QTEST_GUILESS_MAIN(tst_fit)
#include "tst_fit.moc"
