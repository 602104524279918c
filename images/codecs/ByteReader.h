#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace tvl {

// Bounds-checked little-endian reads from a byte block. A read past the end returns 0 and marks the reader
// failed, so a decoder can read a whole header and check once.
class ByteReader
{
public:
    explicit ByteReader(QByteArrayView data, qsizetype offset = 0)
        : m_data(data)
        , m_offset(offset)
    {
        if (offset < 0 || offset > data.size())
            m_failed = true;
    }

    quint8 u8() { return quint8(take(1) ? m_data[m_offset - 1] : 0); }
    quint16 u16()
    {
        if (!take(2))
            return 0;
        return quint16(byteAt(m_offset - 2) | (byteAt(m_offset - 1) << 8));
    }
    quint32 u32()
    {
        if (!take(4))
            return 0;
        return quint32(byteAt(m_offset - 4)) | (quint32(byteAt(m_offset - 3)) << 8) |
               (quint32(byteAt(m_offset - 2)) << 16) | (quint32(byteAt(m_offset - 1)) << 24);
    }
    qint16 s16() { return qint16(u16()); }
    qint32 s32() { return qint32(u32()); }
    void skip(qsizetype count) { take(count); }
    // The next `count` bytes, or an empty view (and failure) when fewer remain.
    QByteArrayView bytes(qsizetype count)
    {
        if (!take(count))
            return {};
        return m_data.sliced(m_offset - count, count);
    }

    qsizetype offset() const { return m_offset; }
    qsizetype remaining() const { return m_failed ? 0 : m_data.size() - m_offset; }
    bool failed() const { return m_failed; }

private:
    quint32 byteAt(qsizetype i) const { return quint8(m_data[i]); }
    bool take(qsizetype count)
    {
        if (m_failed || count < 0 || count > m_data.size() - m_offset) {
            m_failed = true;
            return false;
        }
        m_offset += count;
        return true;
    }

    QByteArrayView m_data;
    qsizetype m_offset;
    bool m_failed = false;
};

} // namespace tvl
