#pragma once

#include <QByteArrayView>
#include <QSize>
#include <QString>

namespace tvl {

class CxImage;

// WMF and EMF pictures rendered to pixels by our own record player, at 96 dots per inch (shrunk to fit the
// picture limits). Parts the metafile leaves unpainted are transparent. Text is drawn only when a
// QGuiApplication exists (fonts need one).
class MetafileCodec
{
public:
    // With headerSize the decoder stops once every check made before allocating has passed: it stores the
    // picture's size there and leaves the image untouched.
    static bool decode(QByteArrayView data, CxImage& image, QString& error, QSize* headerSize = nullptr);
};

} // namespace tvl
