#pragma once

#include <QByteArrayView>
#include <QRectF>
#include <QSize>
#include <QString>

namespace tvl {

class GdiPlayer;

// Windows metafiles (with or without the placeable header): their frame and their records.
class WmfReader
{
public:
    struct Frame
    {
        // The logical rectangle the picture occupies.
        QRectF window;
        // Its natural size in pixels at 96 dots per inch.
        QSizeF size;
    };

    static bool isWmf(QByteArrayView data);
    static bool frame(QByteArrayView data, Frame& frame, QString& error);
    // Plays every record onto the player; false (with "corrupted WMF") when a record runs past the data.
    static bool play(QByteArrayView data, GdiPlayer& player, QString& error);
};

} // namespace tvl
