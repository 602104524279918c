#include "images/codecs/DeflatePieces.h"

#include <array>
#include <libdeflate.h>
#include <memory>
#include <zlib.h>

namespace tvl {
namespace {

struct CompressorDeleter
{
    void operator()(libdeflate_compressor* compressor) const { libdeflate_free_compressor(compressor); }
};

// libdeflate ends every stream with a final block. A piece that others follow must not: walk its blocks
// with zlib's inflate, which stops at each block's end, clear the final flag of the last one and end the
// piece on a byte boundary with an empty stored block, which is what zlib's own sync flush writes.
bool ContinueAfter(QByteArray& piece)
{
    auto* bytes = reinterpret_cast<unsigned char*>(piece.data());
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return false;
    stream.next_in = bytes;
    stream.avail_in = static_cast<uInt>(piece.size());
    std::array<unsigned char, 65536> discard{};
    bool lastBlock = (bytes[0] & 1) != 0;
    bytes[0] &= 0xfe;
    int unusedBits = -1;
    while (unusedBits < 0) {
        stream.next_out = discard.data();
        stream.avail_out = static_cast<uInt>(discard.size());
        const int result = inflate(&stream, Z_BLOCK);
        if (result != Z_OK && result != Z_BUF_ERROR)
            break;
        if ((stream.data_type & 128) == 0) {
            if (stream.avail_in == 0 && stream.avail_out != 0)
                break;
            continue;
        }
        // At the end of a block: the next block's header starts right after the bits used so far.
        const int unused = stream.data_type & 7;
        if (lastBlock) {
            unusedBits = unused;
            break;
        }
        unsigned char* header = unused != 0 ? stream.next_in - 1 : stream.next_in;
        if (unused == 0 && stream.avail_in == 0)
            break;
        const unsigned char finalBit = unused != 0 ? static_cast<unsigned char>(0x100 >> unused) : 1;
        lastBlock = (*header & finalBit) != 0;
        *header &= static_cast<unsigned char>(~finalBit);
    }
    const bool ended = unusedBits >= 0 && stream.avail_in == 0;
    inflateEnd(&stream);
    if (!ended)
        return false;
    if (unusedBits > 0)
        bytes[piece.size() - 1] &= static_cast<unsigned char>((1 << (8 - unusedBits)) - 1);
    // The empty stored block: three header bits, padding to the byte, then LEN 0 and NLEN 0xffff.
    if (unusedBits < 3)
        piece.append('\0');
    piece.append(QByteArrayView("\0\0\xff\xff", 4));
    return true;
}

} // namespace

std::optional<DeflatePiece> CompressDeflatePiece(QByteArrayView data, bool last, int level)
{
    const std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(
        libdeflate_alloc_compressor(level));
    if (!compressor)
        return std::nullopt;
    DeflatePiece piece;
    piece.length = data.size();
    piece.adler = static_cast<uint32_t>(libdeflate_adler32(1, data.data(), static_cast<size_t>(data.size())));
    piece.bytes.resize(static_cast<qsizetype>(
        libdeflate_deflate_compress_bound(compressor.get(), static_cast<size_t>(data.size()))));
    const size_t size =
        libdeflate_deflate_compress(compressor.get(), data.data(), static_cast<size_t>(data.size()),
                                    piece.bytes.data(), static_cast<size_t>(piece.bytes.size()));
    if (size == 0)
        return std::nullopt;
    piece.bytes.truncate(static_cast<qsizetype>(size));
    if (!last && !ContinueAfter(piece.bytes))
        return std::nullopt;
    return piece;
}

std::optional<QByteArray> CompressZlibStream(QByteArrayView data, int level)
{
    const std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(
        libdeflate_alloc_compressor(level));
    if (!compressor)
        return std::nullopt;
    QByteArray bytes(qsizetype(libdeflate_zlib_compress_bound(compressor.get(), size_t(data.size()))),
                     Qt::Uninitialized);
    const size_t size = libdeflate_zlib_compress(compressor.get(), data.data(), size_t(data.size()),
                                                 bytes.data(), size_t(bytes.size()));
    if (size == 0)
        return std::nullopt;
    bytes.truncate(qsizetype(size));
    return bytes;
}

QByteArray ZlibStreamHeader()
{
    // Deflate with a 32 KiB window, no preset dictionary, "default" level hint; the check bits make the
    // pair a multiple of 31.
    return QByteArray("\x78\x9c", 2);
}

QByteArray ZlibStreamTrailer(uint32_t adler)
{
    const char bytes[4] = {static_cast<char>(adler >> 24), static_cast<char>(adler >> 16),
                           static_cast<char>(adler >> 8), static_cast<char>(adler)};
    return QByteArray(bytes, 4);
}

uint32_t CombineAdler(uint32_t first, uint32_t second, qsizetype secondLength)
{
    return static_cast<uint32_t>(adler32_combine(first, second, static_cast<z_off_t>(secondLength)));
}

} // namespace tvl
