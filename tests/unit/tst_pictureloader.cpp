// The picture loader on real files of every offered format, on broken and
// hostile files, and the visible-part decoding the show relies on.

#include <QBuffer>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include "imaging/PictureLoader.h"

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

// Any fully transparent pixel matches a transparent colour.
bool near(QRgb actual, QColor expected, int tolerance)
{
    if (expected.alpha() == 0)
        return qAlpha(actual) == 0;
    return qAlpha(actual) >= 250 && qAbs(qRed(actual) - expected.red()) <= tolerance
        && qAbs(qGreen(actual) - expected.green()) <= tolerance && qAbs(qBlue(actual) - expected.blue()) <= tolerance;
}

// Mean and largest difference of any channel between two images of one size.
std::pair<double, int> difference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    int worst = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            for (const int d : {qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)), qAbs(qBlue(p) - qBlue(q))}) {
                sum += d;
                worst = std::max(worst, d);
            }
        }
    return {sum / (3.0 * x.width() * x.height()), worst};
}

// A picture with detail everywhere, so that a wrong crop or turn shows.
QImage pattern(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x * 255 / size.width(), y * 255 / size.height(),
                                      ((x / 16) ^ (y / 16)) * 40 & 255));
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
    QByteArray tiff("MM\0\x2A\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01", 18);
    tiff.append(char(0)).append(char(orientation)).append(QByteArray(6, '\0'));
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(payload.size()) + 2;
    return jpeg.left(2) + "\xFF\xE1" + char(length >> 8) + char(length & 0xFF) + payload + jpeg.mid(2);
}

// A metafile made of records (function, parameter words, raw bytes), placed
// in a box of 1000 x 1000 units at the given units per inch.
struct Record
{
    quint16 function;
    QList<qint16> words;
    QByteArray raw;
};

QByteArray metafile(const QList<Record> &records, int inch)
{
    auto le16 = [](QByteArray &b, quint16 v) { b.append(char(v & 0xFF)).append(char(v >> 8)); };
    QByteArray body;
    for (const Record &r : records + QList<Record>{{0, {}, {}}}) {
        QByteArray params;
        for (qint16 w : r.words)
            le16(params, quint16(w));
        params += r.raw;
        if (params.size() % 2)
            params.append('\0');
        const quint32 words = 3 + params.size() / 2;
        le16(body, quint16(words));
        le16(body, quint16(words >> 16));
        le16(body, r.function);
        body += params;
    }
    QByteArray file;
    const quint32 size = 9 + body.size() / 2;
    for (const int v : {0xCDD7, 0x9AC6, 0, 0, 0, 1000, 1000, inch, 0, 0, 0, 1, 9, 0x0300, int(size & 0xFFFF),
                        int(size >> 16), 8, 0, 0, 0})
        le16(file, quint16(v));
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

    // A bitmap with an info header of the given size (masks in the header
    // past 40 bytes), its pixels as 32-bit words.
    QString bitmap(const QString &name, QList<quint32> header, QList<quint32> pixels)
    {
        QByteArray info;
        for (const quint32 v : header + pixels)
            info.append(reinterpret_cast<const char *>(&v), 4); // little-endian machine
        const quint32 bits = 14 + 4 * header.size();
        QByteArray file("BM");
        for (const quint32 v : {quint32(14 + info.size()), 0u, bits})
            file.append(reinterpret_cast<const char *>(&v), 4);
        return write(name, file + info);
    }

private Q_SLOTS:
    void emptyNameIsAnEmptyPicture()
    {
        for (const Picture &p : {PictureLoader::load(QString()), PictureLoader::loadVisible(QString(), {1024, 768})})
            QVERIFY(p.ok() && p.empty() && p.image.isNull());
    }

    // Sizes and pixels as an independent decoder (ImageMagick) reads them; a
    // row without points only needs something drawn.
    void formatsLoadByContent_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QList<QPoint>>("points");
        QTest::addColumn<QList<QColor>>("colors");
        QTest::addColumn<int>("tolerance");
        auto row = [](const char *name, const QString &file, QSize size, QList<QPoint> points = {},
                      QList<QColor> colors = {}, int tolerance = 6) {
            QTest::newRow(name) << file << size << points << colors << tolerance;
        };
        const QList<QPoint> bmp{{31, 16}, {63, 32}, {95, 48}};
        row("4-bit RLE bitmap", data("bmpsuite_pal4rle.bmp"), {127, 64}, bmp, {Qt::cyan, Qt::white, Qt::yellow});
        row("bitmap with alpha", data("bmpsuite_rgba32_v5alpha.bmp"), {127, 64}, bmp,
            {QColor(190, 255, 255), QColor(0, 0, 0, 0), QColor(255, 255, 61)});
        const QList<QPoint> twoPixels{{0, 0}, {1, 0}};
        for (const quint32 size : {52u, 56u}) {
            QList<quint32> header{size, 2, quint32(-1), 32 << 16 | 1, 3, 0, 0, 0, 0, 0, 0xFF0000, 0xFF00, 0xFF};
            if (size == 56)
                header << 0xFF000000;
            const QString file = bitmap(QStringLiteral("v%1.bmp").arg(size), header, {0xFFFF0000, 0xFF0000FF});
            row(size == 52 ? "info header of 52 bytes" : "info header of 56 bytes", file, {2, 1}, twoPixels,
                {Qt::red, Qt::blue}, 0);
        }
        // Qt would read outside a two-colour palette for the last two pixels.
        const QString indices = bitmap("indices.bmp", {40, 4, 1, 8 << 16 | 1, 0, 4, 0, 0, 2, 0, 0xFF0000, 0xFF00},
                                       {200u << 24 | 255u << 16 | 1u << 8});
        row("indices past the palette", indices, {4, 1}, twoPixels, {Qt::red, Qt::green}, 0);
        const QString packed = write("packed.dib", readData("llama_4bpp.dib").mid(14));
        row("DIB without file header", packed, {164, 314}, {{41, 78}, {82, 157}, {123, 235}},
            {QColor(4, 2, 132), QColor(4, 2, 92), QColor(4, 2, 116)});
        row("animated GIF", data("aero_anim56.gif"), {350, 189}, {{6, 97}, {21, 113}, {87, 47}},
            {QColor(136, 136, 136), QColor(238, 238, 238), QColor(0, 0, 0, 0)});
        row("GIF frame beyond its screen", data("screen_dims_flipped_horse.gif"), {200, 200},
            {{50, 50}, {100, 100}, {150, 150}},
            {QColor(77, 78, 78), QColor(55, 56, 53), QColor(92, 100, 67)});
        row("icon of 18 images", data("gdk_bug785447_18images.ico"), {256, 256}, {{64, 64}, {128, 128}, {192, 192}},
            {QColor(123, 198, 133), QColor(129, 201, 50), QColor(177, 222, 27)});
        row("icon 23 x 42", data("sdl_sample_23x42.ico"), {23, 42}, {{5, 10}, {11, 21}, {17, 31}},
            {QColor(204, 38, 13), QColor(150, 79, 26), QColor(101, 115, 38)});
        // The directory claims 65535 entries, the first beyond the end.
        row("icon with a damaged directory", data("dir_corrupt_orange-install.ico"), {48, 48});
        row("grey JPEG", data("gdk_cat_gray.jpg"), {512, 512}, {{128, 128}, {256, 256}, {384, 384}},
            {QColor(203, 203, 203), QColor(18, 18, 18), QColor(107, 107, 107)}, 4);
        row("progressive JPEG", data("video-001.progressive.jpeg"), {150, 103}, {{37, 25}, {75, 51}, {112, 77}},
            {QColor(137, 34, 0), QColor(164, 79, 0), QColor(5, 18, 9)}, 4);
        row("CMYK JPEG", data("wx_cmyk.jpg"), {200, 53}, {{50, 13}, {100, 26}, {150, 39}},
            {QColor(244, 252, 254), QColor(254, 207, 209), QColor(22, 107, 236)}, 4);
        // Stored 640 x 428 with an orientation written as a LONG.
        row("JPEG turned by a LONG tag", data("gdk_testrotate_exif_orient6.jpg"), {428, 640});
        // Generated metafiles of known colours and places (tests/data/make_metafiles.py).
        row("placeable metafile", data("gen_placeable_red_on_blue.wmf"), {192, 96},
            {{5, 5}, {96, 48}, {186, 90}, {50, 26}, {141, 70}}, {Qt::blue, Qt::red, Qt::blue, Qt::red, Qt::red}, 2);
        row("plain metafile with a window", data("gen_plain_red_on_blue.wmf"), {400, 200},
            {{50, 25}, {200, 100}, {350, 175}, {95, 100}, {105, 100}},
            {Qt::blue, Qt::red, Qt::blue, Qt::blue, Qt::red}, 2);
        row("plain metafile without a window", data("gen_plain_no_window.wmf"), {100, 50},
            {{2, 2}, {50, 25}, {97, 47}}, {Qt::blue, Qt::red, Qt::blue}, 2);
        row("metafile with the y axis up", data("gen_placeable_y_up.wmf"), {96, 96}, {{48, 20}, {48, 76}},
            {Qt::blue, Qt::red}, 2);
        row("metafile with a bitmap", data("gen_placeable_bitmap.wmf"), {192, 192},
            {{40, 40}, {150, 40}, {40, 150}, {150, 150}}, {Qt::red, Qt::green, Qt::blue, Qt::white}, 2);
        // Metafiles from other programs: the size the file declares, or the window of a plain one.
        row("clip art metafile", data("beef.wmf"), {268, 209});
        row("plain metafile, no window", data("TestStretchDIB.wmf"), {456, 456});
        row("plain metafile, 2600 x 1900 window", data("tdf88163-non-placeable.wmf"), {1024, 748});
    }
    void formatsLoadByContent()
    {
        QFETCH(QString, file);
        QFETCH(QSize, size);
        QFETCH(QList<QPoint>, points);
        QFETCH(QList<QColor>, colors);
        QFETCH(int, tolerance);
        const Picture p = PictureLoader::load(file);
        QVERIFY2(p.ok(), qPrintable(p.error));
        QCOMPARE(p.naturalSize, size);
        QCOMPARE(p.image.size(), size);
        QCOMPARE(p.offset, QPoint(0, 0));
        QVERIFY(p.image.depth() == 32);
        for (qsizetype i = 0; i < points.size(); ++i) {
            const QRgb actual = p.image.pixel(points[i]);
            QVERIFY2(near(actual, colors[i], tolerance), qPrintable(QStringLiteral("#%1 at %2,%3").arg(actual, 8, 16)
                                                                        .arg(points[i].x()).arg(points[i].y())));
        }
        if (!points.isEmpty())
            return;
        int drawn = 0;
        for (int y = 0; y < size.height(); y += 2)
            for (int x = 0; x < size.width(); x += 2)
                drawn += p.image.pixel(x, y) != qRgb(255, 255, 255);
        QVERIFY(drawn > 20);
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
        const double mean = difference(p.image, upright.image).first;
        QVERIFY2(mean < 4, qPrintable(QString::number(mean)));
    }

    void metafileTextIsDrawnWhereItBelongs()
    {
        const Picture p = PictureLoader::load(data("gen_placeable_text.wmf"));
        QCOMPARE(p.naturalSize, QSize(384, 96));
        int dark = 0, darkOutside = 0;
        for (int y = 0; y < p.image.height(); ++y)
            for (int x = 0; x < p.image.width(); ++x)
                if (qGray(p.image.pixel(x, y)) < 96)
                    (x >= 8 && x < 192 && y >= 25 && y < 62 ? dark : darkOutside)++;
        QVERIFY2(dark > 300, qPrintable(QString::number(dark)));
        QCOMPARE(darkOutside, 0);
    }

    // Each fails at once, whole or in part, with a reason.
    void brokenFilesFailWithAReason_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reason");
        QTest::newRow("header claims 3000000 x 2000000")
            << data("bmpsuite_b_reallybig_3000000x2000000.bmp") << "too large: 3000000 x 2000000";
        QByteArray jpeg = jpegBytes(pattern(QSize(64, 64)));
        const qsizetype sof = jpeg.indexOf("\xFF\xC0");
        qToBigEndian<quint16>(65500, jpeg.data() + sof + 5);
        qToBigEndian<quint16>(65500, jpeg.data() + sof + 7);
        QTest::newRow("JPEG claims 65500 x 65500") << write("absurd.jpg", jpeg) << "too large";
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
            QVERIFY(!p.ok() && !p.empty() && p.image.isNull());
            QVERIFY2(p.error.contains(reason, Qt::CaseInsensitive), qPrintable(p.error));
        }
        QVERIFY(timer.elapsed() < 2000);
    }

    // Crafted metafiles that would take absurd time if every record were
    // drawn in full: each loads quickly at a bounded size.
    void hostileMetafiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray font(18, '\0');
        qToLittleEndian<qint16>(-32768, font.data());
        QList<qint16> spaced{500, 0, 2000, 0};
        spaced << QList<qint16>(1000, qint16(0x5757)) << QList<qint16>(2000, qint16(0));
        QTest::newRow("2000 glyphs of 2048 pixels on one spot")
            << metafile({{0x02FB, {}, font + "Sans"}, {0x012D, {0}, {}}, {0x0A32, spaced, {}}}, 10);
        QTest::newRow("60000 rectangles over a 4096-pixel picture")
            << metafile(QList<Record>(60000, Record{0x041B, {1000, 1000, 0, 0}, {}}), 10);
    }
    void hostileMetafiles()
    {
        QFETCH(QByteArray, bytes);
        const QString path = write("hostile.wmf", bytes);
        QElapsedTimer timer;
        timer.start();
        const Picture p = PictureLoader::load(path);
        QVERIFY2(p.ok(), qPrintable(p.error));
        QVERIFY(p.naturalSize.width() <= 4096 && p.naturalSize.height() <= 4096);
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    }

    void visibleRect_data()
    {
        QTest::addColumn<QSize>("natural");
        QTest::addColumn<QSize>("view");
        QTest::addColumn<QRect>("visible");
        QTest::newRow("6000 x 4000 on 1920 x 1080")
            << QSize(6000, 4000) << QSize(1920, 1080) << QRect(2040, 1460, 1920, 1080);
        QTest::newRow("smaller than the view") << QSize(100, 51) << QSize(1024, 768) << QRect(0, 0, 100, 51);
        QTest::newRow("odd spare: one more") << QSize(1025, 800) << QSize(1024, 768) << QRect(0, 16, 1025, 768);
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

    // The visible part is what a whole decode shows there: JPEG in every
    // orientation (a 1000 x 700 picture), and the formats decoded otherwise.
    void visiblePartIsACropOfTheWhole_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("view");
        const QByteArray plain = jpegBytes(pattern(QSize(1000, 700)));
        const QList<QSize> views{{400, 300}, {401, 255}, {2000, 100}};
        for (int o = 1; o <= 8; ++o)
            for (const QSize view : views)
                QTest::addRow("JPEG orientation %d, %d x %d", o, view.width(), view.height())
                    << write(QStringLiteral("o%1.jpg").arg(o), withOrientation(plain, o)) << view;
        QVERIFY(pattern(QSize(900, 600)).save(m_dir.filePath("large.bmp"), "BMP"));
        QTest::newRow("bitmap") << m_dir.filePath("large.bmp") << QSize(300, 200);
        QTest::newRow("metafile") << data("gen_plain_red_on_blue.wmf") << QSize(200, 100);
        QTest::newRow("clip art metafile") << data("beef.wmf") << QSize(100, 80);
        QTest::newRow("GIF smaller than the view") << data("video-001.gif") << QSize(1024, 768);
    }
    void visiblePartIsACropOfTheWhole()
    {
        QFETCH(QString, file);
        QFETCH(QSize, view);
        const Picture whole = PictureLoader::load(file);
        QVERIFY2(whole.ok(), qPrintable(whole.error));
        if (file.endsWith(u".jpg"))
            QCOMPARE(whole.naturalSize, file.at(file.size() - 5) >= u'5' ? QSize(700, 1000) : QSize(1000, 700));
        const Picture part = PictureLoader::loadVisible(file, view);
        QVERIFY2(part.ok(), qPrintable(part.error));
        const QRect visible = PictureLoader::visibleRect(whole.naturalSize, view);
        QCOMPARE(part.naturalSize, whole.naturalSize);
        QCOMPARE(part.offset, visible.topLeft());
        QCOMPARE(part.image.size(), visible.size());
        const int worst = difference(part.image, whole.image.copy(visible)).second;
        QVERIFY2(worst <= 8, qPrintable(QString::number(worst)));
    }
};

QTEST_MAIN(tst_pictureloader)
#include "tst_pictureloader.moc"
