#pragma once

#include <QByteArrayView>
#include <QRectF>
#include <QSizeF>
#include <QString>

namespace tvl {

class GdiPlayer;

// Enhanced metafiles: their frame and their records (EMF+ comments are skipped; the plain records they
// travel with draw the picture).
class EmfReader
{
public:
    struct Frame
    {
        // The picture's rectangle in the reference device's pixels.
        QRectF device;
        // The reference device's pixels per millimetre.
        QSizeF pixelsPerMm;
        // Natural size in pixels at 96 dots per inch.
        QSizeF size;
    };

    static bool isEmf(QByteArrayView data);
    static bool frame(QByteArrayView data, Frame& frame, QString& error);
    static bool play(QByteArrayView data, GdiPlayer& player, QString& error);
};

} // namespace tvl
