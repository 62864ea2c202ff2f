// The picture loader on real files of every offered format, on broken and
// hostile files, and the visible-part decoding the show relies on.

#include <QBuffer>
#include <QElapsedTimer>
#include <QImageReader>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include "platform/PictureLoader.h"

using namespace vz;

namespace {

QString data(const QString &name)
{
    return QStringLiteral(VZ_TEST_DATA "/") + name;
}

QByteArray readData(const QString &name)
{
    QFile f(data(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool near(QRgb actual, QColor expected, int tolerance)
{
    if (expected.alpha() == 0)
        return qAlpha(actual) == 0;
    return qAlpha(actual) >= 250 && qAbs(qRed(actual) - expected.red()) <= tolerance
        && qAbs(qGreen(actual) - expected.green()) <= tolerance
        && qAbs(qBlue(actual) - expected.blue()) <= tolerance;
}

QString describe(QRgb c)
{
    return QStringLiteral("(%1,%2,%3,%4)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c)).arg(qAlpha(c));
}

// Largest difference of any channel between two images of one size.
int maxDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int worst = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            worst = std::max({worst, qAbs(qRed(p[col]) - qRed(q[col])),
                              qAbs(qGreen(p[col]) - qGreen(q[col])),
                              qAbs(qBlue(p[col]) - qBlue(q[col]))});
        }
    }
    return worst;
}

double meanDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            sum += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

// A picture with detail everywhere, so that a wrong crop or turn shows.
QImage pattern(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb(x * 255 / size.width(), y * 255 / size.height(), ((x / 16) ^ (y / 16)) * 40 & 255);
    }
    return image;
}

QByteArray jpegBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.write(image);
    return bytes;
}

// An APP1 "Exif" segment with the orientation tag, right after the SOI marker.
QByteArray withOrientation(const QByteArray &jpeg, int orientation)
{
    QByteArray tiff("MM\0\x2A\0\0\0\x08", 8);
    auto be16 = [&](quint16 v) { tiff.append(char(v >> 8)).append(char(v & 0xFF)); };
    auto be32 = [&](quint32 v) { be16(quint16(v >> 16)); be16(quint16(v)); };
    be16(1);
    be16(0x0112);
    be16(3);
    be32(1);
    be16(quint16(orientation));
    be16(0);
    be32(0);
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xFF\xE1", 2);
    segment.append(char((payload.size() + 2) >> 8)).append(char((payload.size() + 2) & 0xFF));
    return jpeg.left(2) + segment + payload + jpeg.mid(2);
}

// A metafile made of records (function, parameter words, raw bytes).
struct Record
{
    quint16 function;
    QList<qint16> words;
    QByteArray raw;
};

// A null box makes a plain metafile (no placeable header).
QByteArray metafile(const QList<Record> &records, QRect box, int inch, int objects = 8)
{
    QByteArray body;
    auto le16 = [](QByteArray &b, quint16 v) { b.append(char(v & 0xFF)).append(char(v >> 8)); };
    auto le32 = [&](QByteArray &b, quint32 v) { le16(b, quint16(v)); le16(b, quint16(v >> 16)); };
    QList<Record> all = records;
    all.append({0, {}, {}});
    for (const Record &r : all) {
        QByteArray params;
        for (qint16 w : r.words)
            le16(params, quint16(w));
        params += r.raw;
        if (params.size() % 2)
            params.append('\0');
        le32(body, quint32(3 + params.size() / 2));
        le16(body, r.function);
        body += params;
    }
    QByteArray file;
    if (!box.isNull()) {
        le32(file, 0x9AC6CDD7);
        le16(file, 0);
        le16(file, quint16(box.left()));
        le16(file, quint16(box.top()));
        le16(file, quint16(box.right()));
        le16(file, quint16(box.bottom()));
        le16(file, quint16(inch));
        le32(file, 0);
        le16(file, 0);
    }
    le16(file, 1);
    le16(file, 9);
    le16(file, 0x0300);
    le32(file, quint32(9 + body.size() / 2));
    le16(file, quint16(objects));
    le32(file, 0);
    le16(file, 0);
    return file + body;
}

} // namespace

class tst_pictureloader : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private Q_SLOTS:
    void emptyNameIsAnEmptyPicture()
    {
        for (const Picture &p : {PictureLoader::load(QString()),
                                 PictureLoader::loadVisible(QString(), QSize(1024, 768))}) {
            QVERIFY(p.ok());
            QVERIFY(p.empty());
            QVERIFY(p.image.isNull());
        }
    }

    // Sizes and pixels as an independent decoder (ImageMagick) reads them.
    void formatsLoadByContent_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QList<QPoint>>("points");
        QTest::addColumn<QList<QColor>>("colors");
        QTest::addColumn<int>("tolerance");
        auto row = [](const char *file, QSize size, QList<QPoint> points, QList<QColor> colors,
                      int tolerance = 6) {
            QTest::newRow(file) << QString::fromLatin1(file) << size << points << colors << tolerance;
        };
        const QList<QPoint> bmpPoints{{31, 16}, {63, 32}, {95, 48}};
        row("bmpsuite_pal1.bmp", {127, 64}, bmpPoints, {Qt::black, Qt::white, Qt::black});
        row("bmpsuite_pal4rle.bmp", {127, 64}, bmpPoints, {Qt::cyan, Qt::white, Qt::yellow});
        row("bmpsuite_pal8os2.bmp", {127, 64}, bmpPoints,
            {QColor(153, 255, 255), Qt::white, QColor(255, 255, 51)});
        row("bmpsuite_pal8rle.bmp", {127, 64}, bmpPoints,
            {QColor(153, 255, 255), Qt::white, QColor(255, 255, 51)});
        row("bmpsuite_rgb16-565_bitfields.bmp", {127, 64}, bmpPoints,
            {QColor(189, 255, 255), Qt::white, QColor(255, 255, 57)}, 8);
        row("bmpsuite_rgba32_v5alpha.bmp", {127, 64}, bmpPoints,
            {QColor(190, 255, 255), QColor(0, 0, 0, 0), QColor(255, 255, 61)});
        row("llama_4bpp.dib", {164, 314}, {{41, 78}, {82, 157}, {123, 235}},
            {QColor(4, 2, 132), QColor(4, 2, 92), QColor(4, 2, 116)});
        row("aero_anim56.gif", {350, 189}, {{6, 97}, {21, 113}, {87, 47}},
            {QColor(136, 136, 136), QColor(238, 238, 238), QColor(0, 0, 0, 0)});
        row("lo_oo_smiley_interlaced.gif", {794, 1124}, {{198, 281}, {397, 562}},
            {QColor(8, 135, 184), QColor(0, 0, 0, 0)});
        row("video-001.gif", {150, 103}, {{37, 25}, {75, 51}, {112, 77}},
            {QColor(140, 35, 0), QColor(162, 77, 0), QColor(7, 21, 7)});
        row("screen_dims_flipped_horse.gif", {200, 200}, {{50, 50}, {100, 100}, {150, 150}},
            {QColor(77, 78, 78), QColor(55, 56, 53), QColor(92, 100, 67)});
        row("gdk_bug785447_18images.ico", {256, 256}, {{64, 64}, {128, 128}, {192, 192}},
            {QColor(123, 198, 133), QColor(129, 201, 50), QColor(177, 222, 27)});
        row("nsis_modern-install.ico", {48, 48}, {{12, 12}, {24, 24}, {36, 36}},
            {QColor(241, 243, 235), QColor(200, 225, 212), QColor(198, 199, 198)});
        row("sdl_sample_23x42.ico", {23, 42}, {{5, 10}, {11, 21}, {17, 31}},
            {QColor(204, 38, 13), QColor(150, 79, 26), QColor(101, 115, 38)});
        row("pillow_black_and_white.ico", {16, 16}, {{0, 0}, {10, 4}, {14, 13}},
            {Qt::black, Qt::white, Qt::black});
        row("gdk_cat_gray.jpg", {512, 512}, {{128, 128}, {256, 256}, {384, 384}},
            {QColor(203, 203, 203), QColor(18, 18, 18), QColor(107, 107, 107)}, 4);
        row("video-001.progressive.jpeg", {150, 103}, {{37, 25}, {75, 51}, {112, 77}},
            {QColor(137, 34, 0), QColor(164, 79, 0), QColor(5, 18, 9)}, 4);
        row("wx_cmyk.jpg", {200, 53}, {{50, 13}, {100, 26}, {150, 39}},
            {QColor(244, 252, 254), QColor(254, 207, 209), QColor(22, 107, 236)}, 4);
        // Stored 640 x 428 with an orientation written as a LONG.
        row("gdk_testrotate_exif_orient6.jpg", {428, 640}, {}, {});
    }
    void formatsLoadByContent()
    {
        QFETCH(QString, file);
        QFETCH(QSize, size);
        QFETCH(QList<QPoint>, points);
        QFETCH(QList<QColor>, colors);
        QFETCH(int, tolerance);
        const Picture p = PictureLoader::load(data(file));
        QVERIFY2(p.ok(), qPrintable(p.error));
        QCOMPARE(p.naturalSize, size);
        QCOMPARE(p.image.size(), size);
        QCOMPARE(p.offset, QPoint(0, 0));
        for (qsizetype i = 0; i < points.size(); ++i) {
            const QRgb actual = p.image.pixel(points[i]);
            QVERIFY2(near(actual, colors[i], tolerance),
                     qPrintable(QStringLiteral("at %1,%2: %3").arg(points[i].x()).arg(points[i].y())
                                    .arg(describe(actual))));
        }
    }

    // Every orientation ends up like the upright original.
    void orientationStandsUpright_data()
    {
        QTest::addColumn<int>("orientation");
        for (int o = 0; o <= 8; ++o)
            QTest::addRow("%d", o) << o;
    }
    void orientationStandsUpright()
    {
        QFETCH(int, orientation);
        const Picture upright = PictureLoader::load(data("imaging_orientation_1.jpg"));
        const Picture p = PictureLoader::load(data(QStringLiteral("imaging_orientation_%1.jpg").arg(orientation)));
        QVERIFY2(p.ok(), qPrintable(p.error));
        QCOMPARE(p.naturalSize, QSize(50, 70));
        QVERIFY(meanDifference(upright.image, upright.image.mirrored(true, false)) > 20);
        QVERIFY2(meanDifference(p.image, upright.image) < 4,
                 qPrintable(QString::number(meanDifference(p.image, upright.image))));
    }

    void brokenFilesFailWithAReason_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reason");
        QTest::newRow("header claims 3000000 x 2000000")
            << data("bmpsuite_b_reallybig_3000000x2000000.bmp") << "too large: 3000000 x 2000000";
        QTest::newRow("empty") << data("empty.jpg") << "empty";
        QTest::newRow("text named .jpg") << data("text_file_renamed.jpg") << "not a picture";
        QTest::newRow("JPEG without its start") << data("soi_flipped_video-001.jpeg") << "not a picture";
        QTest::newRow("metafile fuzzer find") << data("lo_wmf_ofz35149-1.wmf") << "damaged";
        QTest::newRow("metafile cut in half") << data("trunc50_burger.wmf") << "damaged";
        QTest::newRow("missing") << data("no such file.jpg") << "does not exist";
        QTest::newRow("folder") << QStringLiteral(VZ_TEST_DATA) << "folder";
    }
    void brokenFilesFailWithAReason()
    {
        QFETCH(QString, file);
        QFETCH(QString, reason);
        QElapsedTimer timer;
        timer.start();
        for (const Picture &p : {PictureLoader::load(file), PictureLoader::loadVisible(file, {800, 600})}) {
            QVERIFY(!p.ok());
            QVERIFY(!p.empty());
            QVERIFY(p.image.isNull());
            QVERIFY2(p.error.contains(reason, Qt::CaseInsensitive), qPrintable(p.error));
        }
        QVERIFY(timer.elapsed() < 2000);
    }

    // The icon's directory claims 65535 entries, the first beyond the end.
    void damagedIconDirectoryStillGivesItsLargestImage()
    {
        const Picture p = PictureLoader::load(data("dir_corrupt_orange-install.ico"));
        QVERIFY2(p.ok(), qPrintable(p.error));
        QCOMPARE(p.naturalSize, QSize(48, 48));
    }

    // Info headers of 52 and 56 bytes (masks in the header), and a DIB
    // without a file header, as some programs save them.
    void unusualBitmapHeaders()
    {
        auto le32 = [](QByteArray &b, quint32 v) {
            char bytes[4];
            qToLittleEndian(v, bytes);
            b.append(bytes, 4);
        };
        for (const int headerSize : {52, 56}) {
            QByteArray info;
            le32(info, quint32(headerSize));
            le32(info, 2);
            le32(info, quint32(-1)); // one row, top-down
            le32(info, 32 << 16 | 1);
            le32(info, 3); // bit fields
            for (int i = 0; i < 5; ++i)
                le32(info, 0);
            le32(info, 0x00FF0000);
            le32(info, 0x0000FF00);
            le32(info, 0x000000FF);
            if (headerSize == 56)
                le32(info, 0xFF000000);
            QByteArray file("BM");
            le32(file, quint32(14 + info.size() + 8));
            le32(file, 0);
            le32(file, quint32(14 + info.size()));
            file += info;
            le32(file, 0xFFFF0000); // red
            le32(file, 0xFF0000FF); // blue
            const Picture p = PictureLoader::load(write(QStringLiteral("v%1.bmp").arg(headerSize), file));
            QVERIFY2(p.ok(), qPrintable(p.error));
            QCOMPARE(p.naturalSize, QSize(2, 1));
            QCOMPARE(p.image.pixel(0, 0) | 0xFF000000, qRgb(255, 0, 0));
            QCOMPARE(p.image.pixel(1, 0) | 0xFF000000, qRgb(0, 0, 255));
        }
        // Pixels that point past a two-colour palette: drawn as-is, Qt would
        // read outside the palette; the loader hands out 32-bit pixels only.
        QByteArray indexed("BM");
        le32(indexed, 14 + 40 + 8 + 4);
        le32(indexed, 0);
        le32(indexed, 14 + 40 + 8);
        for (const quint32 v : {40u, 4u, 1u, 8u << 16 | 1u, 0u, 4u, 0u, 0u, 2u, 0u})
            le32(indexed, v);
        le32(indexed, 0x00FF0000);
        le32(indexed, 0x0000FF00);
        le32(indexed, 200u << 24 | 255u << 16 | 1u << 8 | 0u);
        const Picture outside = PictureLoader::load(write("indices.bmp", indexed));
        QVERIFY2(outside.ok(), qPrintable(outside.error));
        QCOMPARE(outside.image.format(), QImage::Format_RGB32);
        QCOMPARE(outside.image.pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(outside.image.pixel(1, 0), qRgb(0, 255, 0));

        const Picture withHeader = PictureLoader::load(data("llama_4bpp.dib"));
        const Picture packed = PictureLoader::load(write("packed.dib", readData("llama_4bpp.dib").mid(14)));
        QVERIFY2(packed.ok(), qPrintable(packed.error));
        QCOMPARE(packed.image, withHeader.image);
    }

    // Generated metafiles of known colours and places (tests/data/make_metafiles.py).
    void metafilesRenderAtTheirDeclaredSize_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QList<QPoint>>("points");
        QTest::addColumn<QList<QColor>>("colors");
        QTest::newRow("placeable") << "gen_placeable_red_on_blue.wmf" << QSize(192, 96)
                                   << QList<QPoint>{{5, 5}, {96, 48}, {186, 90}, {50, 26}, {141, 70}}
                                   << QList<QColor>{Qt::blue, Qt::red, Qt::blue, Qt::red, Qt::red};
        QTest::newRow("plain with a window") << "gen_plain_red_on_blue.wmf" << QSize(400, 200)
                                             << QList<QPoint>{{50, 25}, {200, 100}, {350, 175}, {95, 100}, {105, 100}}
                                             << QList<QColor>{Qt::blue, Qt::red, Qt::blue, Qt::blue, Qt::red};
        QTest::newRow("plain without a window") << "gen_plain_no_window.wmf" << QSize(100, 50)
                                                << QList<QPoint>{{2, 2}, {50, 25}, {97, 47}}
                                                << QList<QColor>{Qt::blue, Qt::red, Qt::blue};
        QTest::newRow("y axis up") << "gen_placeable_y_up.wmf" << QSize(96, 96)
                                   << QList<QPoint>{{48, 20}, {48, 76}}
                                   << QList<QColor>{Qt::blue, Qt::red};
        QTest::newRow("bitmap") << "gen_placeable_bitmap.wmf" << QSize(192, 192)
                                << QList<QPoint>{{40, 40}, {150, 40}, {40, 150}, {150, 150}}
                                << QList<QColor>{Qt::red, Qt::green, Qt::blue, Qt::white};
    }
    void metafilesRenderAtTheirDeclaredSize()
    {
        QFETCH(QString, file);
        QFETCH(QSize, size);
        QFETCH(QList<QPoint>, points);
        QFETCH(QList<QColor>, colors);
        const Picture p = PictureLoader::load(data(file));
        QVERIFY2(p.ok(), qPrintable(p.error));
        QCOMPARE(p.naturalSize, size);
        for (qsizetype i = 0; i < points.size(); ++i) {
            const QRgb actual = p.image.pixel(points[i]);
            QVERIFY2(near(actual, colors[i], 2),
                     qPrintable(QStringLiteral("at %1,%2: %3").arg(points[i].x()).arg(points[i].y())
                                    .arg(describe(actual))));
        }
    }

    void metafileTextIsDrawnWhereItBelongs()
    {
        const Picture p = PictureLoader::load(data("gen_placeable_text.wmf"));
        QVERIFY2(p.ok(), qPrintable(p.error));
        QCOMPARE(p.naturalSize, QSize(384, 96));
        int dark = 0, darkOutside = 0;
        for (int y = 0; y < p.image.height(); ++y)
            for (int x = 0; x < p.image.width(); ++x) {
                if (qGray(p.image.pixel(x, y)) >= 96)
                    continue;
                const bool inside = x >= 8 && x < 192 && y >= 25 && y < 62;
                (inside ? dark : darkOutside)++;
            }
        QVERIFY2(dark > 300, qPrintable(QString::number(dark)));
        QCOMPARE(darkOutside, 0);
    }

    // Metafiles from other programs: the size the file declares (or the
    // window of a plain one), and something drawn.
    void realMetafiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        QTest::newRow("clip art") << "beef.wmf" << QSize(268, 209);
        QTest::newRow("bitmap and text") << "2129393649_bitmap_text.wmf" << QSize(257, 72);
        QTest::newRow("round rectangle") << "TestRoundRect.wmf" << QSize(120, 88);
        QTest::newRow("plain, no window") << "TestStretchDIB.wmf" << QSize(456, 456);
        QTest::newRow("plain, 2600 x 1900 window") << "tdf88163-non-placeable.wmf" << QSize(1024, 748);
        QTest::newRow("plain, text boxes") << "TestExtTextOutOpaqueAndClip.wmf" << QSize(1024, 697);
    }
    void realMetafiles()
    {
        QFETCH(QString, file);
        QFETCH(QSize, size);
        const Picture p = PictureLoader::load(data(file));
        QVERIFY2(p.ok(), qPrintable(p.error));
        QCOMPARE(p.naturalSize, size);
        QCOMPARE(p.image.size(), size);
        int drawn = 0;
        for (int y = 0; y < size.height(); y += 2)
            for (int x = 0; x < size.width(); x += 2)
                drawn += p.image.pixel(x, y) != qRgb(255, 255, 255);
        QVERIFY(drawn > 20);
    }

    // Crafted metafiles that would take absurd memory or time, or read out of
    // bounds, if anything trusted them.
    void hostileMetafiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("loads");
        const QRect box(QPoint(0, 0), QPoint(1000, 1000));
        auto row = [](const char *name, const QByteArray &bytes, bool loads) {
            QTest::newRow(name) << bytes << loads;
        };
        row("polygon counts more points than it has",
            metafile({{0x0324, {32767, 0, 0, 10, 10}, {}}, {0x0538, {2, 30000, 30000, 1, 1}, {}}}, box, 1000), true);
        QList<Record> pens;
        for (int i = 0; i < 20000; ++i)
            pens.append({0x02FA, {0, 1, 0, 0, 0}, {}});
        row("20000 pens for 65535 objects", metafile(pens, box, 1000, 65535), true);
        // A plain metafile is played twice (to find its size, then to draw):
        // objects are created into a full table over and over.
        QList<Record> churn(4096, Record{0x02FA, {0, 1, 0, 0, 0}, {}});
        for (int i = 0; i < 30000; ++i)
            churn << Record{0x01F0, {qint16(i % 4096)}, {}} << Record{0x02FC, {0, 0, 0, 0}, {}}
                  << Record{0x02FC, {0, 0, 0, 0}, {}};
        churn << Record{0x041B, {100, 100, 0, 0}, {}};
        row("100000 objects into a full table", metafile(churn, QRect(), 0, 4096), true);
        QList<Record> saves(20000, Record{0x001E, {}, {}});
        saves.append({0x0127, {-15000}, {}});
        row("20000 saved states", metafile(saves, box, 1000), true);
        row("one unit is 96 pixels",
            metafile({{0x0418, {32767, 32767, -32768, -32768}, {}},
                      {0x02FA, {1, 0, 0, 0, 0}, {}}, {0x012D, {0}, {}},
                      {0x0213, {32767, 32767}, {}}},
                     QRect(QPoint(0, 0), QPoint(1, 1)), 1), true);
        QByteArray font(18, '\0');
        qToLittleEndian<qint16>(-32768, font.data());
        row("text 32768 units high",
            metafile({{0x02FB, {}, font + "Sans"}, {0x012D, {0}, {}}, {0x0521, {4}, QByteArray("WWWW\0\0\0\0", 8)}},
                     QRect(0, 0, 100, 100), 1), true);
        QList<qint16> spaced{500, 0, 2000, 0};
        spaced.append(QList<qint16>(1000, qint16(0x5757)));
        spaced.append(QList<qint16>(2000, qint16(0)));
        row("2000 glyphs of 2048 pixels on one spot",
            metafile({{0x02FB, {}, font + "Sans"}, {0x012D, {0}, {}}, {0x0A32, spaced, {}}}, box, 10), true);
        QByteArray bigDib(40, '\0');
        qToLittleEndian<quint32>(40, bigDib.data());
        qToLittleEndian<qint32>(65535, bigDib.data() + 4);
        qToLittleEndian<qint32>(65535, bigDib.data() + 8);
        qToLittleEndian<quint16>(1, bigDib.data() + 12);
        qToLittleEndian<quint16>(24, bigDib.data() + 14);
        row("bitmap claims 65535 x 65535",
            metafile({{0x0F43, {0x20, 0xCC, 0, 1, 1, 0, 0, 100, 100, 0, 0}, bigDib}}, box, 1000), true);
        QList<Record> fills(60000, Record{0x041B, {1000, 1000, 0, 0}, {}});
        row("60000 rectangles over a 4096-pixel picture", metafile(fills, box, 10), true);
        QByteArray sizes = metafile({}, box, 1000);
        qToLittleEndian<quint32>(0xFFFFFFF0u, sizes.data() + 40);
        row("record longer than the file", sizes, false);
        QByteArray tiny = metafile({{0x0418, {1, 1, 0, 0}, {}}}, box, 1000);
        qToLittleEndian<quint32>(1, tiny.data() + 40);
        row("record shorter than its own header", tiny, false);
        row("empty bounding box", metafile({}, QRect(QPoint(5, 5), QPoint(5, 9)), 1000), false);
    }
    void hostileMetafiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, loads);
        const QString path = write("hostile.wmf", bytes);
        QElapsedTimer timer;
        timer.start();
        const Picture p = PictureLoader::load(path);
        QVERIFY2(p.ok() == loads, qPrintable(p.error));
        if (loads)
            QVERIFY(p.naturalSize.width() <= 4096 && p.naturalSize.height() <= 4096);
        else
            QVERIFY(p.error.contains(QLatin1String("damaged")));
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    }

    // Every prefix of small files, and random damage: an image or a reason,
    // never a crash or a hang.
    void damagedCopiesNeverCrash_data()
    {
        QTest::addColumn<QString>("file");
        for (const char *f : {"gen_placeable_bitmap.wmf", "gen_placeable_text.wmf", "TestRoundRect.wmf",
                              "TestExtTextOutOpaqueAndClip.wmf", "imaging_orientation_6.jpg",
                              "gts_gif87a.gif", "pillow_black_and_white.ico", "bmpsuite_pal4rle.bmp"})
            QTest::newRow(f) << QString::fromLatin1(f);
    }
    void damagedCopiesNeverCrash()
    {
        QFETCH(QString, file);
        const QByteArray original = readData(file);
        QVERIFY(!original.isEmpty());
        const QString path = m_dir.filePath(QStringLiteral("damaged"));
        auto check = [&](const QByteArray &bytes) {
            write(QStringLiteral("damaged"), bytes);
            const Picture p = PictureLoader::load(path);
            QVERIFY(p.ok() ? !p.image.isNull() : !p.error.isEmpty());
        };
        const qsizetype step = std::max<qsizetype>(1, original.size() / 200);
        for (qsizetype n = 0; n < original.size(); n += step)
            check(original.left(n));
        QRandomGenerator random(4711);
        for (int round = 0; round < 200; ++round) {
            QByteArray bytes = original;
            for (int k = 0; k < 4; ++k)
                bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
            check(bytes);
        }
    }

    void visibleRect_data()
    {
        QTest::addColumn<QSize>("natural");
        QTest::addColumn<QSize>("view");
        QTest::addColumn<QRect>("visible");
        QTest::newRow("6000 x 4000 on 1920 x 1080") << QSize(6000, 4000) << QSize(1920, 1080)
                                                    << QRect(2040, 1460, 1920, 1080);
        QTest::newRow("2000 x 1500 on 1024 x 768") << QSize(2000, 1500) << QSize(1024, 768)
                                                   << QRect(488, 366, 1024, 768);
        QTest::newRow("smaller than the view") << QSize(100, 51) << QSize(1024, 768) << QRect(0, 0, 100, 51);
        QTest::newRow("odd spare: one more") << QSize(1025, 800) << QSize(1024, 768)
                                             << QRect(0, 16, 1025, 768);
        QTest::newRow("wide only") << QSize(3000, 500) << QSize(1024, 768) << QRect(988, 0, 1024, 500);
        QTest::newRow("no view") << QSize(3000, 500) << QSize(0, 0) << QRect();
    }
    void visibleRect()
    {
        QFETCH(QSize, natural);
        QFETCH(QSize, view);
        QFETCH(QRect, visible);
        QCOMPARE(PictureLoader::visibleRect(natural, view), visible);
    }

    // The visible part of a JPEG is what a whole decode shows there, in each
    // orientation, and an independent decoder agrees.
    void visiblePartOfJpeg_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("view");
        for (int o = 1; o <= 8; ++o) {
            QTest::addRow("orientation %d, 400 x 300", o) << o << QSize(400, 300);
            QTest::addRow("orientation %d, 401 x 255", o) << o << QSize(401, 255);
            QTest::addRow("orientation %d, 2000 x 100", o) << o << QSize(2000, 100);
        }
    }
    void visiblePartOfJpeg()
    {
        QFETCH(int, orientation);
        QFETCH(QSize, view);
        static const QByteArray plain = jpegBytes(pattern(QSize(1000, 700)));
        const QString path = write(QStringLiteral("o%1.jpg").arg(orientation), withOrientation(plain, orientation));
        const Picture whole = PictureLoader::load(path);
        QVERIFY2(whole.ok(), qPrintable(whole.error));
        const QSize natural = orientation >= 5 ? QSize(700, 1000) : QSize(1000, 700);
        QCOMPARE(whole.naturalSize, natural);

        QImageReader reader(path);
        reader.setAutoTransform(true);
        QVERIFY(meanDifference(whole.image, reader.read()) < 1.0);

        const Picture part = PictureLoader::loadVisible(path, view);
        QVERIFY2(part.ok(), qPrintable(part.error));
        const QRect visible = PictureLoader::visibleRect(natural, view);
        QCOMPARE(part.naturalSize, natural);
        QCOMPARE(part.offset, visible.topLeft());
        QCOMPARE(part.image.size(), visible.size());
        const int difference = maxDifference(part.image, whole.image.copy(visible));
        QVERIFY2(difference <= 8, qPrintable(QString::number(difference)));
    }

    // A 24-megapixel photo on a full-HD screen: the offset of the centred part.
    void visiblePartOfALargeJpeg()
    {
        const QString path = write("large.jpg", jpegBytes(pattern(QSize(3000, 2000))));
        const Picture part = PictureLoader::loadVisible(path, QSize(1920, 1080));
        QVERIFY2(part.ok(), qPrintable(part.error));
        QCOMPARE(part.naturalSize, QSize(3000, 2000));
        QCOMPARE(part.offset, QPoint(540, 460));
        QCOMPARE(part.image.size(), QSize(1920, 1080));
        QVERIFY(maxDifference(part.image, PictureLoader::load(path).image.copy(540, 460, 1920, 1080)) <= 8);
    }

    void visiblePartOfOtherFormats()
    {
        const QImage source = pattern(QSize(900, 600));
        const QString bmp = m_dir.filePath("large.bmp");
        QVERIFY(source.save(bmp, "BMP"));
        const Picture bitmap = PictureLoader::loadVisible(bmp, QSize(300, 200));
        QVERIFY2(bitmap.ok(), qPrintable(bitmap.error));
        QCOMPARE(bitmap.offset, QPoint(300, 200));
        QCOMPARE(bitmap.image.convertToFormat(QImage::Format_RGB32), source.copy(300, 200, 300, 200));

        // The red middle of a 400 x 200 metafile, exactly.
        const Picture middle = PictureLoader::loadVisible(data("gen_plain_red_on_blue.wmf"), QSize(200, 100));
        QVERIFY2(middle.ok(), qPrintable(middle.error));
        QCOMPARE(middle.naturalSize, QSize(400, 200));
        QCOMPARE(middle.offset, QPoint(100, 50));
        QImage red(200, 100, QImage::Format_RGB32);
        red.fill(Qt::red);
        QCOMPARE(middle.image, red);
        const Picture beef = PictureLoader::loadVisible(data("beef.wmf"), QSize(100, 80));
        const QRect beefPart = PictureLoader::visibleRect(QSize(268, 209), QSize(100, 80));
        QCOMPARE(beef.offset, beefPart.topLeft());
        QCOMPARE(beef.image.size(), beefPart.size());
        QVERIFY(maxDifference(beef.image, PictureLoader::load(data("beef.wmf")).image.copy(beefPart)) <= 2);

        // Smaller than the view: the whole picture.
        const Picture gif = PictureLoader::loadVisible(data("video-001.gif"), QSize(1024, 768));
        QCOMPARE(gif.offset, QPoint(0, 0));
        QCOMPARE(gif.image, PictureLoader::load(data("video-001.gif")).image);
    }

    // A JPEG header that claims the largest size JPEG allows is refused at
    // once, not decoded.
    void absurdJpegSizeIsRefused()
    {
        QByteArray bytes = jpegBytes(pattern(QSize(64, 64)));
        const qsizetype sof = bytes.indexOf("\xFF\xC0");
        QVERIFY(sof > 0);
        qToBigEndian<quint16>(65500, bytes.data() + sof + 5);
        qToBigEndian<quint16>(65500, bytes.data() + sof + 7);
        const QString path = write("absurd.jpg", bytes);
        QElapsedTimer timer;
        timer.start();
        for (const Picture &p : {PictureLoader::load(path), PictureLoader::loadVisible(path, {1920, 1080})})
            QVERIFY2(p.error.contains(QLatin1String("too large")), qPrintable(p.error));
        QVERIFY(timer.elapsed() < 1000);
    }
};

QTEST_MAIN(tst_pictureloader)
#include "tst_pictureloader.moc"
