#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSize>
#include <QString>

namespace tvl {

class CxImage;

// The device-independent bitmap shared by BMP files, icon entries and the clipboard: an information header
// (OS/2 core, OS/2 2.x, Windows 40-byte and its V4/V5 extensions), palette or colour masks, then the pixels.
class DibCodec
{
public:
    enum class Layout
    {
        Plain,
        // Icon entry: the header's height counts the colour rows and the 1-bit transparency mask after them.
        Icon,
    };

    // Decodes the DIB whose header starts at data[0]. `bitsOffset` is where the pixels start within
    // `data`, or -1 for right after the header, masks and palette.
    // With headerSize only the size is found, as for the codecs of whole files (see PngCodec).
    static bool decode(QByteArrayView data, qsizetype bitsOffset, Layout layout, CxImage& image,
                       QString& error, QSize* headerSize = nullptr);

    // Header, palette and pixels. With `withAlpha` a 24-bit image with alpha is written as 32 bits (blue,
    // green, red, alpha); otherwise the alpha channel is left out.
    static QByteArray encode(const CxImage& image, bool withAlpha, Layout layout = Layout::Plain);
};

} // namespace tvl
