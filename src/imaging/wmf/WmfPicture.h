#pragma once
// A Windows metafile as a picture. Its size is the one the file declares: a
// placeable header's bounding box at its units per inch, converted to pixels
// at 96 dots per inch. A plain metafile declares no physical size; it is taken
// at one logical unit a pixel over its window (or, without one, over what it
// draws, in the physical units of its map mode), fitted into 1024 pixels.
// It is drawn antialiased on white: metafiles are drawn for paper, most of
// them in black, and would vanish on the show's black screen otherwise.

#include "imaging/Cancel.h"
#include "common/Result.h"
#include "imaging/wmf/WmfDeviceContext.h"
#include "imaging/wmf/WmfFile.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <memory>

namespace vz::picture {

class WmfPicture
{
public:
    static bool looksLikeMetafile(QByteArrayView data) { return WmfFile::looksLikeMetafile(data); }

    // Checks the metafile and works out its size; the reason when it is not
    // a metafile or is damaged.
    static Result<std::unique_ptr<WmfPicture>> open(QByteArray data);

    // The record table views the data the picture holds: never copied or moved.
    WmfPicture(const WmfPicture &) = delete;
    WmfPicture &operator=(const WmfPicture &) = delete;

    QSize size() const { return m_size; }
    // The part area (in the picture's pixels) of the picture; null when
    // there is not enough memory for it.
    QImage render(const QRect &area, const CancelFlag *cancel = nullptr) const;

private:
    explicit WmfPicture(QByteArray data);
    std::optional<QString> measure();

    const QByteArray m_data;
    WmfFile m_file;
    WmfMapping m_mapping;
    QSize m_size;
};

} // namespace vz::picture
