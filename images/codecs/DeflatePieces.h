#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <optional>

namespace tvl {

// One zlib stream made of pieces compressed each on its own, so that the pieces can be compressed on
// several threads (as parallel gzip does): every piece but the last ends byte-aligned in a block that is
// not the final one, and the pieces' Adler-32 checksums are combined into the stream's.
struct DeflatePiece
{
    QByteArray bytes;     // raw deflate data
    uint32_t adler = 1;   // Adler-32 of the uncompressed data
    qsizetype length = 0; // bytes of uncompressed data
};

// The compression level the image encoders use: about libpng's default size at a fraction of its time.
constexpr int kDeflatePieceLevel = 4;

// Compresses data as one piece; last marks the piece that ends the stream. Nothing when out of memory.
std::optional<DeflatePiece> CompressDeflatePiece(QByteArrayView data, bool last,
                                                 int level = kDeflatePieceLevel);

// Compresses data as a whole zlib stream of its own. Nothing when out of memory.
std::optional<QByteArray> CompressZlibStream(QByteArrayView data, int level = kDeflatePieceLevel);

// The two bytes that start a zlib stream, and the Adler-32 that ends it.
QByteArray ZlibStreamHeader();
QByteArray ZlibStreamTrailer(uint32_t adler);
// The Adler-32 of two pieces of data one after the other, from each one's own.
uint32_t CombineAdler(uint32_t first, uint32_t second, qsizetype secondLength);

} // namespace tvl
