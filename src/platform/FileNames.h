#pragma once
// File names that the text of a path cannot carry. A name on disk is a string
// of bytes; the program's texts hold names decoded from the system encoding.
// Bytes that do not decode would come back as different bytes, so Qt's own
// directory listing leaves such files out altogether.

#include <QByteArray>
#include <QList>
#include <QString>

namespace vz {

// Whether the name's bytes decode to a text that encodes back to the same bytes.
bool nameDecodes(const QByteArray &name);

// The names, as bytes, of the regular files (or links to them) in folder whose
// names do not decode. Hidden files (a leading dot) are left out, as in Qt's
// listing; a folder that cannot be read gives none.
QList<QByteArray> undecodableFileNames(const QString &folder);

} // namespace vz
