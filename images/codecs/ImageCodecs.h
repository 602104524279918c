#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

namespace tvl {

class CxImage;

// What a file's headers say: its format number and the pixel size a decode would give.
struct ProbedPicture
{
    int type = 0;
    QSize size;
};

// Dispatches decoding and encoding to the codec of a format number.
class ImageCodecs
{
public:
    // Decodes with one format's decoder, or tries them all in the detect order for CXIMAGE_FORMAT_DETECT.
    // `atLeast` (when valid) is a thumbnail's box: a decoder may return a smaller picture, as long as it
    // is no smaller than the picture fitted into that box.
    static bool decode(QByteArrayView data, int type, QSize atLeast, CxImage& image, QString& error);
    // A picture decoded straight into the RGB32 rows the painter draws from, where its format allows that
    // without changing a pixel; null otherwise, and the caller decodes as usual. Counted as a decode.
    static QImage decodeDrawable(QByteArrayView data, int type);
    // The format and pixel size a decode would give, read from the file's headers after the checks every
    // decoder makes before allocating; no pixels are decoded. A file damaged past its headers may still
    // probe as valid. For CXIMAGE_FORMAT_DETECT, the format found is given back.
    static Result<ProbedPicture, QString> probe(QByteArrayView data, int type);
    static bool encode(const CxImage& image, int type, QByteArray& out, QString& error);
    // How many decodes of pixels this process has started, successful or not (probes do not count): what
    // shows that a verb which needs only sizes never paid for pixels.
    static int decodeCount();
};

} // namespace tvl
