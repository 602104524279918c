#pragma once

#include <QByteArrayView>
#include <QString>

namespace tvl {

class CxImage;

// WMF and EMF pictures rendered to pixels by our own record player, at 96 dots per inch (shrunk to fit the
// picture limits). Parts the metafile leaves unpainted are transparent. Text is drawn only when a
// QGuiApplication exists (fonts need one).
class MetafileCodec
{
public:
    static bool decode(QByteArrayView data, CxImage& image, QString& error);
};

} // namespace tvl
