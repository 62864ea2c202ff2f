#include "imaging/wmf/WmfFile.h"

namespace vz::picture {

namespace {

constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
constexpr qsizetype kPlaceableBytes = 22;
constexpr qsizetype kHeaderBytes = 18;

bool plainHeader(const ByteReader &in, qsizetype at)
{
    if (!in.has(at, kHeaderBytes))
        return false;
    const quint16 type = in.u16(at), headerWords = in.u16(at + 2), version = in.u16(at + 4);
    return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300);
}

} // namespace

bool WmfFile::looksLikeMetafile(QByteArrayView data)
{
    const ByteReader in(data);
    return in.u32(0) == kPlaceableKey || plainHeader(in, 0);
}

bool WmfFile::fail(const QString &reason)
{
    m_error = reason;
    return false;
}

bool WmfFile::parse(QByteArrayView data)
{
    m_data = data;
    const ByteReader in(data);
    qsizetype at = 0;
    if (in.u32(0) == kPlaceableKey) {
        if (!in.has(0, kPlaceableBytes))
            return fail(QStringLiteral("the metafile header is cut short"));
        m_placeable = true;
        m_box = QRect(QPoint(in.i16(6), in.i16(8)), QPoint(in.i16(10), in.i16(12)));
        m_unitsPerInch = in.u16(14);
        at = kPlaceableBytes;
    }
    if (!plainHeader(in, at))
        return fail(QStringLiteral("the metafile header is not valid"));
    m_objects = in.u16(at + 10);
    at += kHeaderBytes;
    m_first = at;
    for (;;) {
        if (!in.has(at, 6))
            return fail(QStringLiteral("the metafile ends before its last record"));
        const quint32 words = in.u32(at);
        if (words < 3 || !in.has(at, 2 * qint64(words)))
            return fail(QStringLiteral("a metafile record runs past the end of the file"));
        ++m_records;
        if (in.u16(at + 4) == EOF_RECORD)
            return true;
        at += qsizetype(words) * 2;
    }
}

WmfFile::Cursor WmfFile::records() const
{
    Cursor cursor;
    cursor.m_data = m_data;
    cursor.m_at = m_first;
    return cursor;
}

bool WmfFile::Cursor::next(WmfRecord &record)
{
    const ByteReader in(m_data);
    if (m_at <= 0 || !in.has(m_at, 6))
        return false;
    const quint32 words = in.u32(m_at);
    const quint16 function = in.u16(m_at + 4);
    if (words < 3 || !in.has(m_at, 2 * qint64(words)) || function == EOF_RECORD)
        return false;
    record.function = function;
    record.params = ByteReader(in.bytes(m_at + 6, 2 * (qsizetype(words) - 3)));
    m_at += qsizetype(words) * 2;
    return true;
}

} // namespace vz::picture
