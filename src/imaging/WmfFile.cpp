#include "imaging/WmfFile.h"

namespace vz::picture {

namespace {

constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
constexpr qsizetype kPlaceableBytes = 22;
constexpr qsizetype kHeaderBytes = 18;
constexpr quint16 kEndOfFile = 0x0000;

quint16 u16(QByteArrayView d, qsizetype at) { return qFromLittleEndian<quint16>(d.data() + at); }
qint16 i16(QByteArrayView d, qsizetype at) { return qFromLittleEndian<qint16>(d.data() + at); }
quint32 u32(QByteArrayView d, qsizetype at) { return qFromLittleEndian<quint32>(d.data() + at); }

bool plainHeader(QByteArrayView d, qsizetype at)
{
    if (d.size() < at + kHeaderBytes)
        return false;
    const quint16 type = u16(d, at), headerWords = u16(d, at + 2), version = u16(d, at + 4);
    return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300);
}

} // namespace

bool WmfFile::looksLikeMetafile(QByteArrayView data)
{
    if (data.size() >= 4 && u32(data, 0) == kPlaceableKey)
        return true;
    return plainHeader(data, 0);
}

bool WmfFile::fail(const QString &reason)
{
    m_error = reason;
    return false;
}

bool WmfFile::parse(QByteArrayView data)
{
    m_data = data;
    qsizetype at = 0;
    if (data.size() >= 4 && u32(data, 0) == kPlaceableKey) {
        if (data.size() < kPlaceableBytes)
            return fail(QStringLiteral("the metafile header is cut short"));
        m_placeable = true;
        m_box = QRect(QPoint(i16(data, 6), i16(data, 8)), QPoint(i16(data, 10), i16(data, 12)));
        m_unitsPerInch = u16(data, 14);
        at = kPlaceableBytes;
    }
    if (!plainHeader(data, at))
        return fail(QStringLiteral("the metafile header is not valid"));
    m_objects = u16(data, at + 10);
    at += kHeaderBytes;
    m_first = at;
    for (;;) {
        if (data.size() - at < 6)
            return fail(QStringLiteral("the metafile ends before its last record"));
        const quint32 words = u32(data, at);
        const quint16 function = u16(data, at + 4);
        if (words < 3 || qint64(words) > (data.size() - at) / 2)
            return fail(QStringLiteral("a metafile record runs past the end of the file"));
        ++m_records;
        if (function == kEndOfFile)
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
    if (m_at <= 0 || m_data.size() - m_at < 6)
        return false;
    const quint32 words = u32(m_data, m_at);
    const quint16 function = u16(m_data, m_at + 4);
    if (words < 3 || qint64(words) > (m_data.size() - m_at) / 2 || function == kEndOfFile)
        return false;
    record.function = function;
    record.params = reinterpret_cast<const uchar *>(m_data.data() + m_at + 6);
    record.words = qsizetype(words) - 3;
    m_at += qsizetype(words) * 2;
    return true;
}

} // namespace vz::picture
