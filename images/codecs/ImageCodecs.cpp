#include "images/codecs/ImageCodecs.h"

#include "images/CxImage.h"
#include "images/codecs/BmpCodec.h"
#include "images/codecs/GifCodec.h"
#include "images/codecs/IcoCodec.h"
#include "images/codecs/JpegCodec.h"
#include "images/codecs/MetafileCodec.h"
#include "images/codecs/PcxCodec.h"
#include "images/codecs/PngCodec.h"
#include "images/codecs/TiffCodec.h"

#include <atomic>

namespace tvl {

namespace {

std::atomic<int> decodesStarted{0};

constexpr int detectOrder[] = {
    CXIMAGE_FORMAT_BMP, CXIMAGE_FORMAT_JPG, CXIMAGE_FORMAT_ICO, CXIMAGE_FORMAT_GIF,
    CXIMAGE_FORMAT_PNG, CXIMAGE_FORMAT_TIF, CXIMAGE_FORMAT_PCX, CXIMAGE_FORMAT_WMF,
};

bool decodeAs(QByteArrayView data, int type, QSize atLeast, CxImage& image, QString& error,
              QSize* headerSize = nullptr)
{
    switch (type) {
    case CXIMAGE_FORMAT_BMP:
        return BmpCodec::decode(data, image, error, headerSize);
    case CXIMAGE_FORMAT_JPG:
        return JpegCodec::decode(data, atLeast, image, error, headerSize);
    case CXIMAGE_FORMAT_PNG:
        if (atLeast.isValid() && !headerSize)
            return PngCodec::decodeThumbnail(data, atLeast, image, error);
        return PngCodec::decode(data, image, error, headerSize);
    case CXIMAGE_FORMAT_ICO:
        return IcoCodec::decode(data, image, error, headerSize);
    case CXIMAGE_FORMAT_PCX:
        return PcxCodec::decode(data, image, error, headerSize);
    case CXIMAGE_FORMAT_GIF:
        return GifCodec::decode(data, image, error, headerSize);
    case CXIMAGE_FORMAT_TIF:
        return TiffCodec::decode(data, image, error, headerSize);
    case CXIMAGE_FORMAT_WMF:
        return MetafileCodec::decode(data, image, error, headerSize);
    default:
        error = QStringLiteral("Decode: Unknown or wrong format");
        return false;
    }
}

} // namespace

QImage ImageCodecs::decodeDrawable(QByteArrayView data, int type)
{
    if (type != CXIMAGE_FORMAT_JPG)
        return {};
    decodesStarted.fetch_add(1, std::memory_order_relaxed);
    return JpegCodec::decodeDrawable(data);
}

bool ImageCodecs::decode(QByteArrayView data, int type, QSize atLeast, CxImage& image, QString& error)
{
    decodesStarted.fetch_add(1, std::memory_order_relaxed);
    if (type != CXIMAGE_FORMAT_DETECT) {
        if (!decodeAs(data, type, atLeast, image, error))
            return false;
        image.SetType(type);
        return true;
    }
    for (int candidate : detectOrder) {
        CxImage attempt(candidate);
        QString ignored;
        if (decodeAs(data, candidate, atLeast, attempt, ignored)) {
            attempt.SetType(candidate);
            image = std::move(attempt);
            return true;
        }
    }
    error = QStringLiteral("Decode: Unknown or wrong format");
    return false;
}

Result<ProbedPicture, QString> ImageCodecs::probe(QByteArrayView data, int type)
{
    CxImage untouched;
    QSize size;
    if (type != CXIMAGE_FORMAT_DETECT) {
        QString error;
        if (!decodeAs(data, type, QSize(), untouched, error, &size))
            return error;
        return ProbedPicture{type, size};
    }
    for (int candidate : detectOrder) {
        QString ignored;
        if (decodeAs(data, candidate, QSize(), untouched, ignored, &size))
            return ProbedPicture{candidate, size};
    }
    return QStringLiteral("Decode: Unknown or wrong format");
}

bool ImageCodecs::encode(const CxImage& image, int type, QByteArray& out, QString& error)
{
    if (!image.IsValid()) {
        error = QStringLiteral("Encode: image is not valid");
        return false;
    }
    switch (type) {
    case CXIMAGE_FORMAT_BMP:
        return BmpCodec::encode(image, out, error);
    case CXIMAGE_FORMAT_JPG: {
        auto encoded = JpegCodec::encode(image);
        if (!encoded) {
            error = encoded.error();
            return false;
        }
        out = std::move(encoded.value());
        return true;
    }
    case CXIMAGE_FORMAT_PNG:
        return PngCodec::encode(image, out, error);
    case CXIMAGE_FORMAT_ICO:
        return IcoCodec::encode(image, out, error);
    case CXIMAGE_FORMAT_PCX:
        return PcxCodec::encode(image, out, error);
    case CXIMAGE_FORMAT_GIF:
        return GifCodec::encode(image, out, error);
    case CXIMAGE_FORMAT_TIF:
        return TiffCodec::encode(image, out, error);
    case CXIMAGE_FORMAT_WMF:
        error = QStringLiteral("Save WMF not supported");
        return false;
    default:
        error = QStringLiteral("Encode: Unknown format");
        return false;
    }
}

int ImageCodecs::decodeCount()
{
    return decodesStarted.load(std::memory_order_relaxed);
}

} // namespace tvl
