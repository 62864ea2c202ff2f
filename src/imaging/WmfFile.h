#pragma once
// The structure of a Windows metafile: the optional placeable header (bounding
// box and units per inch), the metafile header, and the records. Every record
// is checked against the end of the file before anything is drawn; a record
// reads its parameters through bounds-checked accessors that give 0 past its
// end.

#include <QByteArray>
#include <QByteArrayView>
#include <QRect>
#include <QString>
#include <QtEndian>

namespace vz::picture {

struct WmfRecord
{
    quint16 function = 0;
    const uchar *params = nullptr;
    qsizetype words = 0; // parameter words, without size and function

    qint16 i16(qsizetype k) const
    {
        return k >= 0 && k < words ? qFromLittleEndian<qint16>(params + 2 * k) : qint16(0);
    }
    quint16 u16(qsizetype k) const { return quint16(i16(k)); }
    quint32 u32(qsizetype k) const { return quint32(u16(k)) | quint32(u16(k + 1)) << 16; }
    // The parameter bytes from word k on (empty past the end).
    QByteArrayView bytesFrom(qsizetype k) const
    {
        if (k < 0 || k >= words)
            return {};
        return QByteArrayView(params + 2 * k, 2 * (words - k));
    }
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
