#pragma once

#include <QByteArray>

#include <initializer_list>

namespace tvl::test {

// One 18-byte CD-TEXT pack: type, track number, sequence number, block (bits 4-6 of byte 3) and 12
// text bytes (shorter text is padded with zero bytes); the check sum is left zero.
template <size_t N>
QByteArray Pack(int type, int track, int sequence, const char (&text)[N], int block = 0)
{
    QByteArray pack(18, '\0');
    pack[0] = static_cast<char>(type);
    pack[1] = static_cast<char>(track);
    pack[2] = static_cast<char>(sequence);
    pack[3] = static_cast<char>(block << 4);
    for (size_t i = 0; i + 1 < N && i < 12; ++i)
        pack[4 + static_cast<qsizetype>(i)] = text[i];
    return pack;
}

// The READ TOC format 5 answer: a 4-byte header, then the packs.
inline QByteArray CdTextPacks(std::initializer_list<QByteArray> packs)
{
    QByteArray data(4, '\0');
    for (const QByteArray& pack : packs)
        data += pack;
    const qsizetype length = data.size() - 2;
    data[0] = static_cast<char>(length >> 8);
    data[1] = static_cast<char>(length & 0xFF);
    return data;
}

} // namespace tvl::test
