#include "FuzzSupport.h"

#include "imaging/PictureLoader.h"
#include "imaging/Limits.h"
#include "support/TestProgram.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace vz::fuzz {

void fail(const char *condition, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

void startGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Decoders warn about every damaged file; millions of them say nothing new.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
            std::abort();
        }
    });
    static int argc = 1;
    static char name[] = "vz-fuzz";
    static char *argv[] = {name, nullptr};
    new QGuiApplication(argc, argv); // lives until the process ends
}

test::TestProgram &listProgram()
{
    static std::unique_ptr<test::TestProgram> program;
    if (!program) {
        startGuiApplication();
        program = std::make_unique<test::TestProgram>();
    }
    return *program;
}

void letTimersRun()
{
    static QElapsedTimer sinceLast;
    if (!sinceLast.isValid() || sinceLast.elapsed() > 200) {
        QCoreApplication::processEvents();
        sinceLast.restart();
    }
}

QByteArray withSignature(const std::uint8_t *data, std::size_t size, QByteArrayView signature)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (bytes.size() < signature.size())
        bytes.resize(signature.size(), '\0');
    std::copy(signature.begin(), signature.end(), bytes.begin());
    return bytes;
}

namespace {

QString scratchFile()
{
    static std::unique_ptr<QTemporaryDir> folder;
    if (!folder) {
        folder = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/vz-fuzz-XXXXXX"));
        VZ_FUZZ_CHECK(folder->isValid());
    }
    return folder->filePath(QStringLiteral("picture"));
}

bool isThirtyTwoBit(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
        || format == QImage::Format_ARGB32_Premultiplied;
}

} // namespace

void loadPictureFile(const QByteArray &bytes)
{
    const QString path = scratchFile();
    {
        QFile file(path);
        VZ_FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        VZ_FUZZ_CHECK(file.write(bytes) == bytes.size());
    }
    const QSize view(256, 256);
    const Picture p = PictureLoader::loadVisible(path, view);
    if (!p.ok()) {
        VZ_FUZZ_CHECK(p.image.isNull());
        return;
    }
    VZ_FUZZ_CHECK(picture::sizeIsSane(p.naturalSize.width(), p.naturalSize.height()));
    const QRect visible = PictureLoader::visibleRect(p.naturalSize, view);
    VZ_FUZZ_CHECK(p.offset == visible.topLeft());
    VZ_FUZZ_CHECK(p.image.size() == visible.size());
    VZ_FUZZ_CHECK(isThirtyTwoBit(p.image.format()));
    // The preview, which may come from a copy kept inside the file.
    const Picture preview = PictureLoader::loadPreview(path, QSize(129, 81));
    VZ_FUZZ_CHECK(!preview.ok() || (preview.image.size() == QSize(129, 81) && isThirtyTwoBit(preview.image.format())));
}

} // namespace vz::fuzz
