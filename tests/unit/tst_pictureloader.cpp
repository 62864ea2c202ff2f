// Every file under tests/data/<format>/ is loaded and compared with the PNG
// beside it (the file's name + ".png"; every orientation of a JPEG stands
// upright there), whole and as the part a smaller view shows; a file that must
// be refused has a ".txt" beside it with the words its reason must contain.
// Under colour/ the reference is what the file's colours are in sRGB (see
// tools/fixtures/make_colours.py), the fitted picture and the preview too.
// VZ_MAKE_REFERENCES=1 writes a missing reference from the decoder's own
// result: check it by eye or against another decoder before committing it.

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include "imaging/DateTaken.h"
#include "imaging/ImageFormat.h"
#include "imaging/PictureLoader.h"
#include "support/Desktop.h"

using namespace vz;

namespace {

QString data(const QString &name)
{
    return QStringLiteral(VZ_TEST_DATA "/") + name;
}

// How many pixels of a and b (one size) differ by more than tolerance in a
// channel; transparent pixels match whatever their colour.
qint64 differing(const QImage &a, const QImage &b, int tolerance)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32), y = b.convertToFormat(QImage::Format_ARGB32);
    qint64 count = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            if (qAlpha(p[col]) == 0 && qAlpha(q[col]) == 0)
                continue;
            count += qAbs(qRed(p[col]) - qRed(q[col])) > tolerance || qAbs(qGreen(p[col]) - qGreen(q[col])) > tolerance
                || qAbs(qBlue(p[col]) - qBlue(q[col])) > tolerance || qAbs(qAlpha(p[col]) - qAlpha(q[col])) > tolerance;
        }
    }
    return count;
}

// Antialiased text and shapes may land a few pixels apart with other fonts,
// and a JPEG cut between blocks is smoothed a little differently at its
// edges; anything a decoder gets wrong moves far more.
bool alike(const QImage &actual, const QImage &expected, int tolerance, int perMille)
{
    const qint64 wrong = differing(actual, expected, tolerance);
    if (wrong * 1000 <= perMille * qint64(expected.width()) * expected.height())
        return true;
    qWarning("%lld of %d x %d pixels differ by > %d", wrong, expected.width(), expected.height(), tolerance);
    return false;
}

} // namespace

class tst_pictureloader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void referenceImages_data()
    {
        QTest::addColumn<QString>("file");
        for (const QString format : {"bmp", "dib", "gif", "ico", "jpeg", "wmf", "png", "webp", "tiff", "heif", "avif",
                                     "colour", "broken"}) {
            const QDir dir(data(format));
            QVERIFY(dir.exists());
            // A reference or a reason is named after the file it belongs to.
            for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
                if (!dir.exists(QFileInfo(name).completeBaseName()))
                    QTest::newRow(qPrintable(format + u'/' + name)) << dir.filePath(name);
        }
    }
    void referenceImages()
    {
        QFETCH(QString, file);
        QElapsedTimer timer;
        timer.start();
        const Picture whole = PictureLoader::load(file);
        QFile reason(file + QStringLiteral(".txt"));
        if (reason.open(QIODevice::ReadOnly)) {
            const QString expected = QString::fromUtf8(reason.readAll()).trimmed();
            for (const Picture &p : {whole, PictureLoader::loadVisible(file, {800, 600})}) {
                QVERIFY(!p.ok() && !p.empty() && p.image.isNull());
                QVERIFY2(p.error.contains(expected, Qt::CaseInsensitive), qPrintable(p.error));
            }
            QVERIFY(timer.elapsed() < 2000);
            return;
        }
        QVERIFY2(whole.ok(), qPrintable(whole.error));
        const QString referenceFile = file + QStringLiteral(".png");
        if (qEnvironmentVariableIsSet("VZ_MAKE_REFERENCES") && !QFile::exists(referenceFile))
            QVERIFY(whole.image.save(referenceFile));
        const QImage reference(referenceFile);
        QVERIFY2(!reference.isNull(), "no reference picture");
        QCOMPARE(whole.naturalSize, reference.size());
        QCOMPARE(whole.image.size(), reference.size());
        QCOMPARE(whole.offset, QPoint(0, 0));
        QCOMPARE(whole.image.depth(), 32);
        QVERIFY(alike(whole.image, reference, 3, 2));

        // Smaller than the picture both ways, so that both axes are cut.
        const QSize view = (QSizeF(reference.size()) * 0.6).toSize().expandedTo({1, 1});
        const Picture part = PictureLoader::loadVisible(file, view);
        QVERIFY2(part.ok(), qPrintable(part.error));
        const QRect visible = PictureLoader::visibleRect(whole.naturalSize, view);
        QCOMPARE(part.naturalSize, whole.naturalSize);
        QCOMPARE(part.offset, visible.topLeft());
        QCOMPARE(part.image.size(), visible.size());
        QVERIFY(alike(part.image, reference.copy(visible), 8, 10));

        // Fitted into a screen of half its size, proportions kept; on a
        // screen it fits, as it is; stretched over the preview's box.
        const int scaledTolerance = file.contains(u"/colour/") ? 8 : 64;
        const QSize screen = (QSizeF(reference.size()) * 0.5).toSize().expandedTo({1, 1});
        const QSize natural = reference.size();
        const QSize fitted = natural.boundedTo(screen) == natural ? natural : natural.scaled(screen, Qt::KeepAspectRatio).expandedTo({1, 1});
        const Picture fit = PictureLoader::loadFitted(file, screen);
        QCOMPARE(fit.naturalSize, fitted);
        QVERIFY(alike(fit.image, reference.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), scaledTolerance, 100));
        QVERIFY(alike(PictureLoader::loadFitted(file, natural + QSize(0, 1)).image, reference, 3, 2));
        const QSize box(129, 81);
        const Picture preview = PictureLoader::loadPreview(file, box);
        QCOMPARE(preview.image.size(), box);
        QVERIFY(alike(preview.image, reference.scaled(box, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), scaledTolerance, 100));
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    }

    // A JPEG decoded to cover a size comes out at the smallest eighth,
    // quarter or half of its size that covers it, upright.
    void jpegDecodedSmall()
    {
        for (const char *name : {"imaging_orientation_1.jpg", "imaging_orientation_6.jpg", "gdk_testrotate_exif_orient6.jpg"}) {
            QFile file(data(QStringLiteral("jpeg/") + QLatin1String(name)));
            QVERIFY(file.open(QIODevice::ReadOnly));
            auto source = picture::jpegFormat()->open(file);
            QVERIFY(source);
            const QSize natural = source.value()->size();
            const QSize atLeast(natural.width() / 8, natural.height() / 2);
            const QSize got = source.value()->readScaled(atLeast).value().size();
            QVERIFY2(got.expandedTo(atLeast) == got && (got.width() / 2 < atLeast.width() || got.height() / 2 < atLeast.height()), name);
            QCOMPARE(got.width() > got.height(), natural.width() > natural.height());
        }
    }

    void namesThatHoldNoPicture()
    {
        for (const Picture &p : {PictureLoader::load(QString()), PictureLoader::loadVisible(QString(), {1024, 768})})
            QVERIFY(p.ok() && p.empty() && p.image.isNull());
        QVERIFY(PictureLoader::load(data("no such file.jpg")).error.contains(u"does not exist"));
        QVERIFY(PictureLoader::loadVisible(data("jpeg"), {800, 600}).error.contains(u"folder"));
    }

    // The date a photo was taken, from the EXIF block of each format; none
    // where the block lacks it or is damaged.
    void dateTaken_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QDateTime>("taken");
        using vz::test::exifWithDate, vz::test::jpegWithExif;
        const QByteArray exif = exifWithDate("2019:07:14 16:05:09");
        const QDateTime when(QDate(2019, 7, 14), QTime(16, 5, 9));
        const auto written = [](const char *format) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            QImage(16, 16, QImage::Format_RGB32).save(&buffer, format);
            return bytes;
        };
        // PNG: an eXIf chunk after IHDR (the CRC is not checked); WebP: an
        // EXIF chunk after the image, the RIFF length grown to match.
        const auto png = [&](const QByteArray &block) {
            QByteArray chunk(4, 0);
            qToBigEndian<quint32>(quint32(block.size()), chunk.data());
            return written("PNG").insert(33, chunk + "eXIf" + block + QByteArray(4, 0));
        };
        const auto webp = [&](const QByteArray &block) {
            QByteArray bytes = written("WEBP") + "EXIF" + QByteArray(4, 0) + block + QByteArray(block.size() % 2, 0);
            qToLittleEndian<quint32>(quint32(block.size()), bytes.data() + bytes.size() - block.size() - block.size() % 2 - 4);
            qToLittleEndian<quint32>(quint32(bytes.size() - 8), bytes.data() + 4);
            return bytes;
        };
        QTest::newRow("JPEG") << jpegWithExif(exif) << when;
        QTest::newRow("JPEG, big-endian") << jpegWithExif(exifWithDate("2019:07:14 16:05:09", true)) << when;
        QTest::newRow("PNG") << png(exif) << when;
        QTest::newRow("PNG, with the JPEG prefix") << png(QByteArray("Exif\0\0", 6) + exif) << when;
        QTest::newRow("WebP") << webp(exif) << when;
        QTest::newRow("TIFF") << exif << when;
        QTest::newRow("no EXIF") << jpegWithExif({}) << QDateTime();
        QTest::newRow("blank date") << jpegWithExif(exifWithDate("    :  :     :  :  ")) << QDateTime();
        QTest::newRow("cut in the date") << jpegWithExif(exif.left(50)) << QDateTime();
        QTest::newRow("Exif IFD past the end") << jpegWithExif(exif.left(20)) << QDateTime();
    }
    void dateTaken()
    {
        QFETCH(QByteArray, file);
        QTemporaryDir dir;
        QFile out(dir.filePath(QStringLiteral("photo")));
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file) == file.size());
        out.close();
        QTEST(picture::dateTaken(out.fileName()), "taken");
    }

    void visibleRect_data()
    {
        QTest::addColumn<QSize>("natural");
        QTest::addColumn<QSize>("view");
        QTest::addColumn<QRect>("visible");
        QTest::newRow("6000 x 4000 on 1920 x 1080")
            << QSize(6000, 4000) << QSize(1920, 1080) << QRect(2040, 1460, 1920, 1080);
        QTest::newRow("smaller than the view") << QSize(100, 51) << QSize(1024, 768) << QRect(0, 0, 100, 51);
        QTest::newRow("odd spare: one more") << QSize(1025, 801) << QSize(1024, 768) << QRect(0, 16, 1025, 769);
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
};

QTEST_MAIN(tst_pictureloader)
#include "tst_pictureloader.moc"
