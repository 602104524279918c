#include "images/CxImage.h"

#include "images/ImageLimits.h"
#include "images/ImageResampler.h"
#include "images/LargePages.h"
#include "images/codecs/DibCodec.h"
#include "images/codecs/ImageCodecs.h"
#include "storage/AtomicFile.h"

#include <QFile>
#include <QPainter>
#include <QtEndian>

#include <cstring>
#include <new>

namespace tvl {

namespace {

int normalisedDepth(int depth)
{
    if (depth <= 1)
        return 1;
    if (depth <= 4)
        return 4;
    if (depth <= 8)
        return 8;
    return 24;
}

int paletteIndex(const uchar* row, int x, int bpp)
{
    switch (bpp) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
        return (x & 1) ? row[x >> 1] & 0x0f : row[x >> 1] >> 4;
    default:
        return row[x];
    }
}

// The common photograph row, four pixels (three words of blue, green, red bytes) at a time.
void bgrToRgb32(const uchar* src, QRgb* dst, int width)
{
    int x = 0;
    for (; x + 4 <= width; x += 4, src += 12) {
        quint32 w[3];
        std::memcpy(w, src, sizeof w);
        const quint32 a = qFromLittleEndian(w[0]);
        const quint32 b = qFromLittleEndian(w[1]);
        const quint32 c = qFromLittleEndian(w[2]);
        dst[x] = 0xff000000u | (a & 0x00ffffffu);
        dst[x + 1] = 0xff000000u | (a >> 24) | ((b & 0xffffu) << 8);
        dst[x + 2] = 0xff000000u | (b >> 16) | ((c & 0xffu) << 16);
        dst[x + 3] = 0xff000000u | (c >> 8);
    }
    for (; x < width; ++x, src += 3)
        dst[x] = qRgb(src[2], src[1], src[0]);
}

QSize fitWithin(QSize size, QSize box)
{
    if (size.width() <= box.width() && size.height() <= box.height())
        return size;
    return size.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

} // namespace

CxImage::CxImage(int type)
    : m_type(type)
{
}

bool CxImage::LoadFile(const QString& path, int type)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *this = CxImage(m_type);
        SetLastError(QStringLiteral("Unable to open file: %1").arg(file.errorString()));
        return false;
    }
    return Decode(file.readAll(), type, QSize(), true);
}

bool CxImage::LoadBuffer(QByteArrayView bytes, int type)
{
    return Decode(bytes, type, QSize(), true);
}

bool CxImage::LoadBuffer(const uchar* bytes, qsizetype length, int type)
{
    if (!bytes || length <= 0)
        return Decode(QByteArrayView(), type, QSize(), true);
    return Decode(QByteArrayView(bytes, length), type, QSize(), true);
}

bool CxImage::LoadResourceImage(const QString& resourcePath, int type)
{
    QFile file(resourcePath);
    if (!file.open(QIODevice::ReadOnly)) {
        *this = CxImage(m_type);
        SetLastError(QStringLiteral("Unable to load resource!"));
        return false;
    }
    return Decode(file.readAll(), type, QSize(), true);
}

bool CxImage::LoadThumbnail(const QString& path, int type, QSize box)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *this = CxImage(m_type);
        SetLastError(QStringLiteral("Unable to open file: %1").arg(file.errorString()));
        return false;
    }
    // Mapping spares a copy of a large photograph that is only glanced at.
    const qint64 size = file.size();
    if (const uchar* mapped = size > 0 ? file.map(0, size) : nullptr) {
        const bool ok = LoadThumbnailBuffer(QByteArrayView(mapped, size), type, box);
        file.unmap(const_cast<uchar*>(mapped));
        return ok;
    }
    return LoadThumbnailBuffer(file.readAll(), type, box);
}

bool CxImage::LoadThumbnailBuffer(QByteArrayView bytes, int type, QSize box)
{
    if (box.width() < 1 || box.height() < 1) {
        *this = CxImage(m_type);
        SetLastError(QStringLiteral("Thumbnail size must be at least 1 x 1"));
        return false;
    }
    if (!Decode(bytes, type, box, false))
        return false;
    const QSize target = fitWithin(QSize(m_width, m_height), box);
    return target == QSize(m_width, m_height) || ResampleTo(target.width(), target.height());
}

bool CxImage::LoadBufferAtLeast(QByteArrayView bytes, int type, QSize atLeast)
{
    return Decode(bytes, type, atLeast, false);
}

bool CxImage::LoadBufferDeferred(const QByteArray& bytes, int type)
{
    if (type != CXIMAGE_FORMAT_JPG)
        return LoadBuffer(QByteArrayView(bytes), type);
    const auto probed = ImageCodecs::probe(bytes, type);
    if (!probed) {
        *this = CxImage(m_type);
        SetLastError(probed.error());
        return false;
    }
    CxImage deferred(type);
    deferred.m_jpegQuality = m_jpegQuality;
    deferred.m_transparentColor = m_transparentColor;
    deferred.m_deferred = true;
    deferred.m_width = probed.value().size.width();
    deferred.m_height = probed.value().size.height();
    deferred.m_sourceBytes = bytes;
    *this = std::move(deferred);
    return true;
}

CxImage CxImage::Decoded() const
{
    if (!m_deferred)
        return *this;
    CxImage full = *this;
    CxImage pixels(m_type);
    full.m_deferred = false;
    if (!pixels.Decode(QByteArrayView(m_sourceBytes), m_type, QSize(), false)) {
        full.m_width = full.m_height = full.m_bpp = 0;
        full.m_lastError = pixels.m_lastError;
        return full;
    }
    full.m_width = pixels.m_width;
    full.m_height = pixels.m_height;
    full.m_bpp = pixels.m_bpp;
    full.m_palette = std::move(pixels.m_palette);
    full.m_bits = std::move(pixels.m_bits);
    full.m_alpha = std::move(pixels.m_alpha);
    full.m_xDpi = pixels.m_xDpi;
    full.m_yDpi = pixels.m_yDpi;
    return full;
}

void CxImage::RealizeDeferred() const
{
    CxImage full = Decoded();
    m_deferred = false;
    m_width = full.m_width;
    m_height = full.m_height;
    m_bpp = full.m_bpp;
    m_palette = std::move(full.m_palette);
    m_bits = std::move(full.m_bits);
    m_alpha = std::move(full.m_alpha);
    m_xDpi = full.m_xDpi;
    m_yDpi = full.m_yDpi;
    m_lastError = full.m_lastError;
}

bool CxImage::Decode(QByteArrayView bytes, int type, QSize atLeast, bool keepSource)
{
    CxImage decoded(type);
    decoded.m_jpegQuality = m_jpegQuality;
    decoded.m_transparentColor = m_transparentColor;
    QString error;
    if (!ImageCodecs::decode(bytes, type, atLeast, decoded, error)) {
        *this = CxImage(m_type);
        SetLastError(error);
        return false;
    }
    if (keepSource && decoded.m_type == CXIMAGE_FORMAT_JPG)
        decoded.m_sourceBytes = bytes.toByteArray();
    *this = std::move(decoded);
    return true;
}

bool CxImage::FromBitmap(const QImage& bitmap)
{
    if (bitmap.isNull()) {
        SetLastError(QStringLiteral("GetDIBits failed"));
        return false;
    }
    const int type = m_type;
    const int width = bitmap.width();
    const int height = bitmap.height();
    const QImage::Format format = bitmap.format();
    if (format == QImage::Format_Mono || format == QImage::Format_MonoLSB) {
        const QImage mono = bitmap.convertToFormat(QImage::Format_Mono);
        if (!Create(width, height, 1, type))
            return false;
        SetPalette(mono.colorTable());
        for (int y = 0; y < height; ++y)
            std::memcpy(ScanLine(y), mono.constScanLine(y), size_t((width + 7) / 8));
    } else if (format == QImage::Format_Indexed8 || format == QImage::Format_Grayscale8) {
        if (!Create(width, height, 8, type))
            return false;
        if (format == QImage::Format_Indexed8)
            SetPalette(bitmap.colorTable());
        for (int y = 0; y < height; ++y)
            std::memcpy(ScanLine(y), bitmap.constScanLine(y), size_t(width));
    } else {
        const bool alpha = bitmap.hasAlphaChannel();
        const QImage source = bitmap.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        if (!Create(width, height, 24, type))
            return false;
        if (alpha)
            AlphaCreate();
        for (int y = 0; y < height; ++y) {
            const QRgb* src = reinterpret_cast<const QRgb*>(source.constScanLine(y));
            uchar* dst = ScanLine(y);
            uchar* a = alpha ? AlphaScanLine(y) : nullptr;
            for (int x = 0; x < width; ++x) {
                dst[3 * x] = uchar(qBlue(src[x]));
                dst[3 * x + 1] = uchar(qGreen(src[x]));
                dst[3 * x + 2] = uchar(qRed(src[x]));
                if (a)
                    a[x] = uchar(qAlpha(src[x]));
            }
        }
    }
    if (bitmap.dotsPerMeterX() > 0 && bitmap.dotsPerMeterY() > 0)
        SetResolution(qRound(bitmap.dotsPerMeterX() * 0.0254), qRound(bitmap.dotsPerMeterY() * 0.0254));
    return true;
}

bool CxImage::FromDibHandle(QByteArrayView packedDib)
{
    CxImage decoded(m_type);
    QString error;
    if (!DibCodec::decode(packedDib, -1, DibCodec::Layout::Plain, decoded, error)) {
        SetLastError(error);
        return false;
    }
    decoded.m_type = m_type;
    *this = std::move(decoded);
    return true;
}

bool CxImage::CopyImage(const CxImage& source, bool withPixels, bool withAlpha)
{
    if (this == &source)
        return true;
    const QString error = m_lastError;
    if (!withPixels)
        source.Realize();
    *this = source;
    m_lastError = error;
    if (!withPixels && !m_bits.isEmpty()) {
        m_bits.fill('\0');
        m_sourceBytes.clear();
    }
    if (!withAlpha)
        m_alpha.clear();
    return true;
}

bool CxImage::Create(int width, int height, int depth, int type)
{
    const int quality = m_jpegQuality;
    const QRgb transparentColor = m_transparentColor;
    const int opacity = m_opacity;
    *this = CxImage(type);
    m_jpegQuality = quality;
    m_transparentColor = transparentColor;
    m_opacity = opacity;
    if (width <= 0 || height <= 0) {
        SetLastError(QStringLiteral("CxImage::Create : width and height must be greater than zero"));
        return false;
    }
    QString error;
    if (!ImageLimits::check(width, height, error)) {
        SetLastError(error);
        return false;
    }
    m_bpp = normalisedDepth(depth);
    m_width = width;
    m_height = height;
    try {
        m_bits = QByteArray(BytesPerLine() * height, Qt::Uninitialized);
        AdviseLargePages(m_bits.data(), static_cast<std::size_t>(m_bits.size()));
        m_bits.fill('\0');
    } catch (const std::bad_alloc&) {
        *this = CxImage(type);
        SetLastError(QStringLiteral("CxImage::Create can't allocate memory"));
        return false;
    }
    if (m_bpp <= 8)
        SetGreyPalette();
    return true;
}

bool CxImage::EncodeBuffer(QByteArray& out, int type)
{
    if (!out.isEmpty()) {
        SetLastError(QStringLiteral("the buffer must be empty"));
        return false;
    }
    QString error;
    if (!ImageCodecs::encode(Decoded(), type, out, error)) {
        out.clear();
        SetLastError(error);
        return false;
    }
    return true;
}

bool CxImage::SaveFile(const QString& path, int type)
{
    QByteArray encoded;
    if (!EncodeBuffer(encoded, type))
        return false;
    const AtomicWriteResult written = WriteFileAtomically(path, [&encoded](QIODevice& device) {
        device.write(encoded);
        return true;
    });
    if (written.status != AtomicWriteResult::Status::Written) {
        SetLastError(QStringLiteral("Unable to write file: %1").arg(written.cause));
        return false;
    }
    return true;
}

bool CxImage::DrawTo(QPainter* painter, int x, int y, int width, int height) const
{
    if (!IsValid() || !painter || width == 0 || height == 0)
        return false;
    if (width < 0)
        width = m_width;
    if (height < 0)
        height = m_height;
    const QRect target(x, y, width, height);
    // Printing and export draw a deferred photograph from its file and let the pixels go again.
    QImage image;
    if (m_deferred && !HasTransparency())
        image = ImageCodecs::decodeDrawable(QByteArrayView(m_sourceBytes), m_type);
    if (image.isNull())
        image = m_deferred ? Decoded().DrawableImage() : DrawableImage();
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter->drawImage(target, image);
    painter->restore();
    return true;
}

bool CxImage::DrawTo(QPainter* painter, const QRect& target) const
{
    return DrawTo(painter, target.left(), target.top(), target.width(), target.height());
}

QImage CxImage::DrawableImage() const
{
    QImage image = ToBitmap();
    if (!HasTransparency())
        return image;
    QRgb key = m_transparentColor;
    if (m_bpp <= 8) {
        if (m_transparentIndex >= m_palette.size())
            return image;
        key = m_palette[m_transparentIndex];
    }
    key &= 0x00ffffffu;
    if (image.format() == QImage::Format_Indexed8) {
        QList<QRgb> table = image.colorTable();
        for (QRgb& entry : table) {
            if ((entry & 0x00ffffffu) == key)
                entry = 0;
        }
        image.setColorTable(table);
        return image;
    }
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((row[x] & 0x00ffffffu) == key)
                row[x] = 0;
        }
    }
    return image;
}

bool CxImage::ResampleTo(int width, int height)
{
    if (width < 1 || height < 1 || !IsValid()) {
        SetLastError(QStringLiteral("CxImage::ResampleTo : invalid image or size"));
        return false;
    }
    if (width == m_width && height == m_height)
        return true;
    QString error;
    if (!ImageLimits::check(width, height, error)) {
        SetLastError(error);
        return false;
    }
    Realize();
    if (!IsValid()) {
        SetLastError(QStringLiteral("CxImage::ResampleTo : invalid image or size"));
        return false;
    }
    if (m_bpp <= 8 && !IsGreyScale())
        ExpandToTrueColor();
    CxImage result;
    if (!result.Create(width, height, m_bpp, m_type)) {
        SetLastError(result.lastError());
        return false;
    }
    result.m_palette = m_palette;
    const int channels = m_bpp / 8;
    ImageResampler::resample(reinterpret_cast<const uchar*>(m_bits.constData()), m_width, m_height,
                             BytesPerLine(), reinterpret_cast<uchar*>(result.m_bits.data()), width, height,
                             result.BytesPerLine(), channels);
    if (HasAlpha()) {
        result.AlphaCreate();
        ImageResampler::resample(reinterpret_cast<const uchar*>(m_alpha.constData()), m_width, m_height,
                                 m_width, reinterpret_cast<uchar*>(result.m_alpha.data()), width, height,
                                 width, 1);
    }
    m_width = width;
    m_height = height;
    m_bits = std::move(result.m_bits);
    m_alpha = std::move(result.m_alpha);
    m_sourceBytes.clear();
    return true;
}

// Paletted images become 24 bits; a transparent index turns into alpha so no pixel changes its look.
void CxImage::ExpandToTrueColor()
{
    Realize();
    if (m_bpp > 8 || !IsValid())
        return;
    CxImage result;
    if (!result.Create(m_width, m_height, 24, m_type))
        return;
    const bool keyed = HasTransparency() && m_transparentIndex < m_palette.size();
    if (keyed)
        AlphaCreate();
    for (int y = 0; y < m_height; ++y) {
        const uchar* src = ScanLine(y);
        uchar* dst = result.ScanLine(y);
        uchar* alpha = keyed ? AlphaScanLine(y) : nullptr;
        for (int x = 0; x < m_width; ++x) {
            const int index = paletteIndex(src, x, m_bpp);
            const QRgb color = index < m_palette.size() ? m_palette[index] : 0;
            dst[3 * x] = uchar(qBlue(color));
            dst[3 * x + 1] = uchar(qGreen(color));
            dst[3 * x + 2] = uchar(qRed(color));
            if (alpha && index == m_transparentIndex)
                alpha[x] = 0;
        }
    }
    m_bpp = 24;
    m_bits = std::move(result.m_bits);
    m_palette.clear();
    if (keyed)
        m_transparentIndex = -1;
}

QImage CxImage::ToBitmap() const
{
    if (m_deferred)
        return Decoded().ToBitmap();
    if (!IsValid())
        return QImage();
    QImage image;
    if (m_bpp <= 8 && !HasAlpha()) {
        image = QImage(m_width, m_height, QImage::Format_Indexed8);
        QList<QRgb> table;
        for (QRgb entry : m_palette)
            table.append(entry | 0xff000000u);
        image.setColorTable(table);
        for (int y = 0; y < m_height; ++y) {
            const uchar* src = ScanLine(y);
            uchar* dst = image.scanLine(y);
            if (m_bpp == 8) {
                std::memcpy(dst, src, size_t(m_width));
            } else {
                for (int x = 0; x < m_width; ++x)
                    dst[x] = uchar(paletteIndex(src, x, m_bpp));
            }
        }
    } else {
        image = LargePageImage(QSize(m_width, m_height),
                               HasAlpha() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        if (image.isNull())
            return image;
        for (int y = 0; y < m_height; ++y) {
            QRgb* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
            const uchar* src = ScanLine(y);
            if (m_bpp == 24 && !HasAlpha()) {
                bgrToRgb32(src, dst, m_width);
                continue;
            }
            const uchar* alpha = HasAlpha() ? AlphaScanLine(y) : nullptr;
            for (int x = 0; x < m_width; ++x) {
                QRgb color;
                if (m_bpp == 24) {
                    color = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
                } else {
                    const int index = paletteIndex(src, x, m_bpp);
                    color = index < m_palette.size() ? m_palette[index] | 0xff000000u : 0xff000000u;
                }
                dst[x] = alpha ? (color & 0x00ffffffu) | (QRgb(alpha[x]) << 24) : color;
            }
        }
    }
    image.setDotsPerMeterX(qRound(m_xDpi / 0.0254));
    image.setDotsPerMeterY(qRound(m_yDpi / 0.0254));
    return image;
}

QByteArray CxImage::DibBytes() const
{
    if (!IsValid())
        return QByteArray();
    return DibCodec::encode(Decoded(), false);
}

qsizetype CxImage::BytesPerLine() const
{
    Realize();
    return ((qsizetype(m_width) * m_bpp + 31) / 32) * 4;
}

uchar* CxImage::ScanLine(int y)
{
    Realize();
    return reinterpret_cast<uchar*>(m_bits.data()) + (m_height - 1 - y) * BytesPerLine();
}

const uchar* CxImage::ScanLine(int y) const
{
    Realize();
    return reinterpret_cast<const uchar*>(m_bits.constData()) + (m_height - 1 - y) * BytesPerLine();
}

void CxImage::SetPalette(const QList<QRgb>& palette)
{
    Realize();
    if (m_bpp > 8)
        return;
    const qsizetype count = qsizetype(1) << m_bpp;
    m_palette = palette.first(std::min(count, palette.size()));
    while (m_palette.size() < count)
        m_palette.append(0);
}

void CxImage::SetGreyPalette()
{
    Realize();
    if (m_bpp > 8)
        return;
    const int count = 1 << m_bpp;
    m_palette.resize(count);
    for (int i = 0; i < count; ++i) {
        const int v = i * 255 / (count - 1);
        m_palette[i] = qRgb(v, v, v) & 0x00ffffffu;
    }
}

bool CxImage::IsGreyScale() const
{
    Realize();
    if (m_bpp != 8 || m_palette.size() != 256)
        return false;
    for (int i = 0; i < 256; ++i) {
        if ((m_palette[i] & 0x00ffffffu) != (qRgb(i, i, i) & 0x00ffffffu))
            return false;
    }
    return true;
}

void CxImage::AlphaCreate()
{
    Realize();
    if (IsValid() && m_alpha.isEmpty())
        m_alpha = QByteArray(qsizetype(m_width) * m_height, char(255));
}

void CxImage::AlphaDelete()
{
    m_alpha.clear();
}

uchar* CxImage::AlphaScanLine(int y)
{
    return reinterpret_cast<uchar*>(m_alpha.data()) + qsizetype(m_height - 1 - y) * m_width;
}

const uchar* CxImage::AlphaScanLine(int y) const
{
    return reinterpret_cast<const uchar*>(m_alpha.constData()) + qsizetype(m_height - 1 - y) * m_width;
}

void CxImage::SetOpacity(int opacity)
{
    m_opacity = std::clamp(opacity, 0, 255);
}

void CxImage::SetJpegQuality(int quality)
{
    m_jpegQuality = std::clamp(quality, 0, 100);
}

void CxImage::SetResolution(int xDpi, int yDpi)
{
    if (xDpi > 0)
        m_xDpi = xDpi;
    if (yDpi > 0)
        m_yDpi = yDpi;
}

void CxImage::FlattenAlpha()
{
    // A deferred picture is a JPEG: no alpha channel, no palette opacity.
    if (m_deferred || !IsValid())
        return;
    bool paletteAlpha = false;
    for (QRgb entry : m_palette)
        paletteAlpha = paletteAlpha || qAlpha(entry) != 0;
    if (!HasAlpha() && !paletteAlpha)
        return;
    // The palette's reserved bytes are needed per pixel, so remember each pixel's entry before expanding.
    QByteArray entryAlpha;
    if (paletteAlpha) {
        entryAlpha = QByteArray(qsizetype(m_width) * m_height, '\0');
        for (int y = 0; y < m_height; ++y) {
            const uchar* src = ScanLine(y);
            uchar* dst = reinterpret_cast<uchar*>(entryAlpha.data()) + qsizetype(y) * m_width;
            for (int x = 0; x < m_width; ++x) {
                const int index = paletteIndex(src, x, m_bpp);
                dst[x] = uchar(index < m_palette.size() ? qAlpha(m_palette[index]) : 0);
            }
        }
    }
    if (m_bpp <= 8) {
        const int transparentIndex = m_transparentIndex;
        m_transparentIndex = -1;
        ExpandToTrueColor();
        m_transparentIndex = transparentIndex;
    }
    const int background[3] = {qBlue(m_transparentColor), qGreen(m_transparentColor),
                               qRed(m_transparentColor)};
    for (int y = 0; y < m_height; ++y) {
        uchar* row = ScanLine(y);
        const uchar* alpha = HasAlpha() ? AlphaScanLine(y) : nullptr;
        const uchar* entry =
            paletteAlpha ? reinterpret_cast<const uchar*>(entryAlpha.constData()) + qsizetype(y) * m_width
                         : nullptr;
        for (int x = 0; x < m_width; ++x) {
            int a = alpha ? alpha[x] * m_opacity / 255 : m_opacity;
            if (entry)
                a = a * entry[x] / 255;
            for (int c = 0; c < 3; ++c) {
                uchar& v = row[3 * x + c];
                v = uchar((background[c] * (255 - a) + v * a) / 255);
            }
        }
    }
    m_alpha.clear();
    m_sourceBytes.clear();
}

QRgb CxImage::PixelColor(int x, int y) const
{
    Realize();
    if (!IsValid() || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    const uchar* row = ScanLine(y);
    QRgb color;
    if (m_bpp == 24) {
        color = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    } else {
        const int index = paletteIndex(row, x, m_bpp);
        color = index < m_palette.size() ? m_palette[index] | 0xff000000u : 0xff000000u;
    }
    if (HasAlpha())
        color = (color & 0x00ffffffu) | (QRgb(AlphaScanLine(y)[x]) << 24);
    return color;
}

void CxImage::SetLastError(const QString& error)
{
    m_lastError = error.left(255);
}

} // namespace tvl
