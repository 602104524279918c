#pragma once

#include "images/ImageFormat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QList>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <QString>

class QPainter;

namespace tvl {

// The JPEG quality a new image encodes at.
constexpr int kDefaultJpegQuality = 90;

// One raster picture held as a bottom-up device-independent bitmap: depth 1, 4 or 8 with a palette of 2, 16
// or 256 entries, or 24 bits (blue, green, red); rows padded to 4 bytes; an optional alpha channel of one
// byte per pixel. Every operation reports failure by its result and leaves the reason in lastError().
// An image is a value: copies share pixel memory until one of them changes. Not shared between threads.
class CxImage
{
public:
    explicit CxImage(int type = CXIMAGE_FORMAT_UNKNOWN);

    // Decoding. `type` is a format number; CXIMAGE_FORMAT_DETECT tries every decoder in the fixed order
    // BMP, JPEG, ICO, GIF, PNG, TIFF, PCX, WMF/EMF and the image takes the format that succeeded.
    // On failure the image is invalid. JPEG images keep their encoded bytes in SourceBytes().
    bool LoadFile(const QString& path, int type);
    bool LoadBuffer(QByteArrayView bytes, int type);
    bool LoadBuffer(const uchar* bytes, qsizetype length, int type);
    // Reads an image compiled into the program as a Qt resource (":/..." path).
    bool LoadResourceImage(const QString& resourcePath, int type);
    // Decodes a picture scaled down to fit within `box` (aspect kept, never enlarged), decoding at a
    // reduced size where the codec can (JPEG DCT scaling). SourceBytes() stays empty.
    bool LoadThumbnail(const QString& path, int type, QSize box);
    bool LoadThumbnailBuffer(QByteArrayView bytes, int type, QSize box);
    // Decodes a picture no smaller than `atLeast` on either side where the codec can decode at a reduced
    // size (JPEG DCT scaling), otherwise at its own size. SourceBytes() stays empty.
    bool LoadBufferAtLeast(QByteArrayView bytes, int type, QSize atLeast);
    // Reads a JPEG's headers only and keeps its bytes as SourceBytes(): the pixels are decoded when first
    // needed, so that holding a photograph costs its file's size. Rows, palette, depth and everything that
    // changes the pixels decode them in place; drawing, ToBitmap, DibBytes and encoding decode a passing
    // copy and leave the image as it is. Other formats are decoded at once, as LoadBuffer decodes them.
    bool LoadBufferDeferred(const QByteArray& bytes, int type);
    // True while the pixels of a picture read by LoadBufferDeferred have not been decoded in place.
    bool IsDeferred() const { return m_deferred; }
    // The picture with its pixels at full size: a decoded copy of a deferred picture, otherwise itself.
    CxImage Decoded() const;

    // Copies a QImage: Mono becomes 1 bit, Indexed8 and Grayscale8 8 bits, everything else 24 bits with an
    // alpha channel when the QImage has one. A null QImage fails with "GetDIBits failed".
    bool FromBitmap(const QImage& bitmap);
    // Copies a packed DIB (header, palette or colour masks, pixels) such as the clipboard carries.
    bool FromDibHandle(QByteArrayView packedDib);
    // Duplicates the source's header, palette and settings; pixels and alpha only when asked for
    // (otherwise the pixels are zero and there is no alpha channel).
    bool CopyImage(const CxImage& source, bool withPixels = true, bool withAlpha = true);
    // A blank (all zero) image; the depth is normalised to 1, 4, 8 or 24. Paletted images get a grey ramp.
    // Keeps the JPEG quality, transparent colour and opacity; everything else starts afresh.
    bool Create(int width, int height, int depth, int type);

    // Encoding. `out` must be empty on entry ("the buffer must be empty"); it receives the encoded file.
    bool EncodeBuffer(QByteArray& out, int type);
    bool SaveFile(const QString& path, int type);

    // Draws onto the painter's device stretched to the target rectangle; a negative width or height means
    // the image's own. Honours the transparent index or colour and the alpha channel. False when nothing
    // was drawn (invalid image, no painter, zero size).
    bool DrawTo(QPainter* painter, int x, int y, int width = -1, int height = -1) const;
    bool DrawTo(QPainter* painter, const QRect& target) const;

    // Changes the pixel size: area averaging where the image shrinks, bilinear interpolation where it grows.
    // Paletted images other than a grey ramp come out as 24 bits (their transparent index as alpha).
    bool ResampleTo(int width, int height);

    // A copy of the pixels as a QImage: Indexed8 for paletted images (ARGB32 when they carry alpha),
    // RGB32 for 24 bits, ARGB32 (not premultiplied) with an alpha channel. Null when invalid.
    QImage ToBitmap() const;
    // Header (40 bytes), palette and pixels in one block: the clipboard's device-independent bitmap.
    QByteArray DibBytes() const;

    bool IsValid() const { return m_deferred || !m_bits.isEmpty(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Bpp() const
    {
        Realize();
        return m_bpp;
    }
    int Type() const { return m_type; }
    void SetType(int type) { m_type = type; }
    qsizetype BytesPerLine() const;

    // Rows counted from the top of the picture (stored bottom-up).
    uchar* ScanLine(int y);
    const uchar* ScanLine(int y) const;
    // Palette entries as blue, green, red, reserved bytes (QRgb's memory order); the reserved byte is
    // opacity only for palettes that use it (see FlattenAlpha).
    const QList<QRgb>& Palette() const
    {
        Realize();
        return m_palette;
    }
    void SetPalette(const QList<QRgb>& palette);
    void SetGreyPalette();
    bool IsGreyScale() const;

    // A deferred picture is a JPEG, which has no alpha channel.
    bool HasAlpha() const { return !m_alpha.isEmpty(); }
    // Adds a fully opaque alpha channel; does nothing when one exists.
    void AlphaCreate();
    void AlphaDelete();
    uchar* AlphaScanLine(int y);
    const uchar* AlphaScanLine(int y) const;

    void SetTransparentIndex(int index) { m_transparentIndex = index < 0 ? -1 : index; }
    int TransparentIndex() const { return m_transparentIndex; }
    void SetTransparentColor(QRgb color) { m_transparentColor = color | 0xff000000u; }
    QRgb TransparentColor() const { return m_transparentColor; }
    bool HasTransparency() const { return m_transparentIndex >= 0; }
    void SetOpacity(int opacity);
    int Opacity() const { return m_opacity; }
    void SetJpegQuality(int quality);
    int JpegQuality() const { return m_jpegQuality; }
    void SetResolution(int xDpi, int yDpi);
    int XDpi() const { return m_xDpi; }
    int YDpi() const { return m_yDpi; }

    // Blends every pixel over the transparent colour by its alpha times the opacity (and the palette's
    // reserved byte), then drops the alpha channel; paletted images become 24 bits. Does nothing when there
    // is neither an alpha channel nor a palette entry with a non-zero reserved byte.
    void FlattenAlpha();

    // Colour of one pixel (top-left origin) with its alpha (255 without an alpha channel); 0 outside.
    QRgb PixelColor(int x, int y) const;

    // The encoded file the picture came from (kept for JPEG so a design stores it unchanged). Cleared by
    // every operation that changes the pixels.
    const QByteArray& SourceBytes() const { return m_sourceBytes; }
    void SetSourceBytes(const QByteArray& bytes) { m_sourceBytes = bytes; }

    const QString& lastError() const { return m_lastError; }
    void SetLastError(const QString& error);

private:
    bool Decode(QByteArrayView bytes, int type, QSize atLeast, bool keepSource);
    // Decodes a deferred picture's pixels in place; a picture that fails to decode becomes invalid but
    // keeps its SourceBytes(), so a design still stores them.
    void Realize() const
    {
        if (m_deferred)
            RealizeDeferred();
    }
    void RealizeDeferred() const;
    void ExpandToTrueColor();
    QImage DrawableImage() const;

    // Mutable so that a deferred picture can decode its pixels when a const accessor first needs them.
    mutable bool m_deferred = false;
    mutable int m_width = 0;
    mutable int m_height = 0;
    mutable int m_bpp = 0;
    int m_type = CXIMAGE_FORMAT_UNKNOWN;
    mutable QList<QRgb> m_palette;
    mutable QByteArray m_bits;
    mutable QByteArray m_alpha;
    int m_transparentIndex = -1;
    QRgb m_transparentColor = 0xffffffffu;
    int m_opacity = 255;
    int m_jpegQuality = kDefaultJpegQuality;
    mutable int m_xDpi = 96;
    mutable int m_yDpi = 96;
    QByteArray m_sourceBytes;
    mutable QString m_lastError;
};

} // namespace tvl
