#include "platform/PictureLoader.h"

#include <QImageReader>

namespace vz {

Picture PictureLoader::load(const QString &fileName)
{
    Picture p;
    if (fileName.isEmpty())
        return p;
    QImageReader reader(fileName);
    reader.setAutoTransform(true);
    p.image = reader.read();
    if (p.image.isNull()) {
        p.error = reader.errorString();
        return p;
    }
    p.naturalSize = p.image.size();
    return p;
}

Picture PictureLoader::loadVisible(const QString &fileName, QSize view)
{
    Picture p = load(fileName);
    if (!p.ok() || p.empty())
        return p;
    const QRect whole(QPoint(0, 0), p.naturalSize);
    const QRect visible = QRect(QPoint((p.naturalSize.width() - view.width()) / 2,
                                       (p.naturalSize.height() - view.height()) / 2),
                                view)
                              .intersected(whole);
    p.image = p.image.copy(visible);
    p.offset = visible.topLeft();
    return p;
}

} // namespace vz
