#include "show/Surround.h"

#include <algorithm>
#include <vector>

namespace vz {

namespace {

// The surround is made this many times smaller than the screen and blurred
// there: the blur and the darkening then touch a few thousand pixels, and
// smooth scaling up adds blur of its own.
constexpr int kShrink = 24;
constexpr int kRadius = 2;
constexpr int kPasses = 3;
// How much of the picture's brightness the surround keeps.
constexpr int kKeepPercent = 45;

// One pass of a box blur along rows (step 1) or columns (step = stride),
// clamped at the edges. Qt offers no blur for an image outside a graphics
// scene; on an image this small a few box passes come close to a Gaussian.
void boxPass(QRgb *pixels, int count, int lines, int step, int lineStep, int scale)
{
    std::vector<QRgb> line(static_cast<size_t>(count));
    for (int l = 0; l < lines; ++l) {
        QRgb *first = pixels + qsizetype(l) * lineStep;
        for (int i = 0; i < count; ++i)
            line[size_t(i)] = first[qsizetype(i) * step];
        for (int i = 0; i < count; ++i) {
            int r = 0, g = 0, b = 0;
            for (int k = -kRadius; k <= kRadius; ++k) {
                const QRgb c = line[size_t(std::clamp(i + k, 0, count - 1))];
                r += qRed(c), g += qGreen(c), b += qBlue(c);
            }
            const int n = (2 * kRadius + 1) * 100;
            first[qsizetype(i) * step] = qRgb(r * scale / n, g * scale / n, b * scale / n);
        }
    }
}

} // namespace

QImage makeSurround(const Picture &picture, QSize screen)
{
    const QSize shown = picture.naturalSize;
    if (picture.image.isNull() || screen.isEmpty()
        || (shown.width() >= screen.width() && shown.height() >= screen.height()))
        return {};
    // The middle of the decoded picture in the screen's proportions.
    const QSize source = picture.image.size();
    const QSize crop = screen.scaled(source, Qt::KeepAspectRatio);
    const QRect middle(QPoint((source.width() - crop.width()) / 2, (source.height() - crop.height()) / 2), crop);
    const QSize small = (screen / kShrink).expandedTo(QSize(1, 1));
    // Sampled down to a few times the small size first (from the middle in
    // place, not copied out): what the smooth step then averages is already
    // more than the blur keeps.
    QImage whole = picture.image.depth() < 8 ? picture.image.convertToFormat(QImage::Format_RGB32) : picture.image;
    const QImage view(whole.constBits() + middle.y() * whole.bytesPerLine() + middle.x() * (whole.depth() / 8),
                      middle.width(), middle.height(), whole.bytesPerLine(), whole.format());
    QImage image = view.scaled(small * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                       .scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                       .convertToFormat(QImage::Format_RGB32);
    auto *pixels = reinterpret_cast<QRgb *>(image.bits());
    const int stride = int(image.bytesPerLine() / 4);
    for (int pass = 0; pass < kPasses; ++pass) {
        const int scale = pass == kPasses - 1 ? kKeepPercent : 100;
        boxPass(pixels, image.width(), image.height(), 1, stride, 100);
        boxPass(pixels, image.height(), image.width(), stride, 1, scale);
    }
    return image.scaled(screen, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace vz
