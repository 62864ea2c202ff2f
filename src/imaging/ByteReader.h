#pragma once
// Reads the numbers of a file format out of a block of bytes. Every read is
// checked against the end of the block: a number that does not fit whole
// reads as 0, so a decoder never looks past its data; it checks has() first
// wherever 0 would be taken for a real value. Little-endian unless told
// otherwise (EXIF data may be either).

#include <QByteArrayView>
#include <QtEndian>

namespace vz::picture {

class ByteReader
{
public:
    enum class Order { Little, Big };

    explicit ByteReader(QByteArrayView data, Order order = Order::Little)
        : m_data(data)
        , m_order(order)
    {
    }

    qsizetype size() const { return m_data.size(); }
    QByteArrayView data() const { return m_data; }
    // Whether count bytes from at lie inside the block.
    bool has(qsizetype at, qsizetype count) const
    {
        return at >= 0 && count >= 0 && at <= m_data.size() && count <= m_data.size() - at;
    }

    quint8 u8(qsizetype at) const { return has(at, 1) ? quint8(m_data[at]) : 0; }
    quint16 u16(qsizetype at) const { return read<quint16>(at); }
    qint16 i16(qsizetype at) const { return read<qint16>(at); }
    quint32 u32(qsizetype at) const { return read<quint32>(at); }
    qint32 i32(qsizetype at) const { return read<qint32>(at); }

    // count bytes from at, or as many of them as there are.
    QByteArrayView bytes(qsizetype at, qsizetype count = -1) const
    {
        if (!has(at, 0))
            return {};
        const qsizetype rest = m_data.size() - at;
        return m_data.sliced(at, count < 0 || count > rest ? rest : count);
    }

private:
    template <typename T>
    T read(qsizetype at) const
    {
        if (!has(at, qsizetype(sizeof(T))))
            return 0;
        return m_order == Order::Little ? qFromLittleEndian<T>(m_data.data() + at)
                                        : qFromBigEndian<T>(m_data.data() + at);
    }

    QByteArrayView m_data;
    Order m_order;
};

} // namespace vz::picture
