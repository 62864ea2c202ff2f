#pragma once
// The structure of a Windows metafile: the optional placeable header (bounding
// box and units per inch), the metafile header, and the records, with the
// table of record functions. Every record is checked against the end of the
// file before anything is drawn; a record reads its parameters by word
// through a bounds-checked reader that gives 0 past its end.

#include "imaging/ByteReader.h"

#include <QByteArrayView>
#include <QRect>
#include <QString>

namespace vz::picture {

// Record functions.
enum : quint16 {
    EOF_RECORD = 0x0000,
    SAVEDC = 0x001E, REALIZEPALETTE = 0x0035, SETPALENTRIES = 0x0037, CREATEPALETTE = 0x00F7,
    SETBKMODE = 0x0102, SETMAPMODE = 0x0103, SETROP2 = 0x0104, SETRELABS = 0x0105,
    SETPOLYFILLMODE = 0x0106, SETSTRETCHBLTMODE = 0x0107, SETTEXTCHAREXTRA = 0x0108,
    RESTOREDC = 0x0127, INVERTREGION = 0x012A, PAINTREGION = 0x012B, SELECTCLIPREGION = 0x012C,
    SELECTOBJECT = 0x012D, SETTEXTALIGN = 0x012E, DIBCREATEPATTERNBRUSH = 0x0142,
    DELETEOBJECT = 0x01F0, CREATEPATTERNBRUSH = 0x01F9,
    SETBKCOLOR = 0x0201, SETTEXTCOLOR = 0x0209, SETTEXTJUSTIFICATION = 0x020A,
    SETWINDOWORG = 0x020B, SETWINDOWEXT = 0x020C, SETVIEWPORTORG = 0x020D, SETVIEWPORTEXT = 0x020E,
    OFFSETWINDOWORG = 0x020F, OFFSETVIEWPORTORG = 0x0211, LINETO = 0x0213, MOVETO = 0x0214,
    OFFSETCLIPRGN = 0x0220, FILLREGION = 0x0228, SETMAPPERFLAGS = 0x0231, SELECTPALETTE = 0x0234,
    CREATEPENINDIRECT = 0x02FA, CREATEFONTINDIRECT = 0x02FB, CREATEBRUSHINDIRECT = 0x02FC,
    POLYGON = 0x0324, POLYLINE = 0x0325, SCALEWINDOWEXT = 0x0410, SCALEVIEWPORTEXT = 0x0412,
    EXCLUDECLIPRECT = 0x0415, INTERSECTCLIPRECT = 0x0416, ELLIPSE = 0x0418, FLOODFILL = 0x0419,
    RECTANGLE = 0x041B, SETPIXEL = 0x041F, FRAMEREGION = 0x0429, ANIMATEPALETTE = 0x0436,
    TEXTOUT = 0x0521, POLYPOLYGON = 0x0538, EXTFLOODFILL = 0x0548, ROUNDRECT = 0x061C,
    PATBLT = 0x061D, ESCAPE = 0x0626, CREATEREGION = 0x06FF, ARC = 0x0817, PIE = 0x081A,
    CHORD = 0x0830, BITBLT = 0x0922, DIBBITBLT = 0x0940, EXTTEXTOUT = 0x0A32,
    STRETCHBLT = 0x0B23, DIBSTRETCHBLT = 0x0B41, SETDIBTODEV = 0x0D33, STRETCHDIB = 0x0F43,
};

// Options of EXTTEXTOUT: fill the rectangle given, clip the text to it.
constexpr int ETO_OPAQUE = 0x0002, ETO_CLIPPED = 0x0004;

struct WmfRecord
{
    quint16 function = 0;
    ByteReader params{QByteArrayView()}; // without size and function

    // Parameter words.
    qsizetype words() const { return params.size() / 2; }
    qint16 i16(qsizetype k) const { return k >= 0 ? params.i16(2 * k) : qint16(0); }
    quint16 u16(qsizetype k) const { return quint16(i16(k)); }
    quint32 u32(qsizetype k) const { return quint32(u16(k)) | quint32(u16(k + 1)) << 16; }
    // The parameter bytes from word k on (empty past the end).
    QByteArrayView bytesFrom(qsizetype k) const { return k >= 0 ? params.bytes(2 * k) : QByteArrayView(); }
};

class WmfFile
{
public:
    // True when data starts like a metafile (placeable or plain header).
    static bool looksLikeMetafile(QByteArrayView data);

    // Checks the headers and every record; false with errorString() when the
    // data is not a metafile or is damaged (a record runs past the end, the
    // end-of-file record is missing).
    bool parse(QByteArrayView data);

    bool placeable() const { return m_placeable; }
    // Placeable header: the picture's frame in metafile units, and units per inch.
    QRect boundingBox() const { return m_box; }
    int unitsPerInch() const { return m_unitsPerInch; }
    int objectCount() const { return m_objects; }
    qsizetype recordCount() const { return m_records; }

    // Walks the records after a successful parse, up to the end-of-file record.
    class Cursor
    {
    public:
        bool next(WmfRecord &record);

    private:
        friend class WmfFile;
        QByteArrayView m_data;
        qsizetype m_at = 0;
    };
    Cursor records() const;

    QString errorString() const { return m_error; }

private:
    bool fail(const QString &reason);

    QByteArrayView m_data;
    qsizetype m_first = 0;
    bool m_placeable = false;
    QRect m_box;
    int m_unitsPerInch = 0;
    int m_objects = 0;
    qsizetype m_records = 0;
    QString m_error;
};

} // namespace vz::picture
