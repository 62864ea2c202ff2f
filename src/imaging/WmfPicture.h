#pragma once
// A Windows metafile as a picture. Its size is the one the file declares: a
// placeable header's bounding box at its units per inch, converted to pixels
// at 96 dots per inch. A plain metafile declares no physical size; it is taken
// at one logical unit a pixel over its window (or, without one, over what it
// draws, in the physical units of its map mode), fitted into 1024 pixels.
// It is drawn antialiased on white: metafiles are drawn for paper, most of
// them in black, and would vanish on the show's black screen otherwise.

#include "imaging/WmfFile.h"
#include "imaging/WmfPlayer.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace vz::picture {

class WmfPicture
{
public:
    // Largest metafile read.
    static constexpr qint64 kMaxFileBytes = 64LL * 1024 * 1024;
    // Longest side of a metafile's picture; larger declared sizes are scaled down.
    static constexpr int kMaxSide = 4096;
    // Longest side of a plain metafile's picture.
    static constexpr int kPlainSide = 1024;

    static bool looksLikeMetafile(QByteArrayView data) { return WmfFile::looksLikeMetafile(data); }

    // Checks the metafile and works out its size; false with errorString()
    // when it is not a metafile or is damaged.
    bool open(QByteArray data);
    QSize size() const { return m_size; }
    // The part area (in the picture's pixels) of the picture.
    QImage render(const QRect &area) const;

    QString errorString() const { return m_error; }

private:
    QByteArray m_data;
    WmfFile m_file;
    WmfMapping m_mapping;
    QSize m_size;
    QString m_error;
};

} // namespace vz::picture
