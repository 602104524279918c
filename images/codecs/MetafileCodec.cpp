#include "images/codecs/MetafileCodec.h"

#include "images/CxImage.h"
#include "images/ImageLimits.h"
#include "images/metafile/EmfReader.h"
#include "images/metafile/GdiPlayer.h"
#include "images/metafile/WmfReader.h"

#include <QGuiApplication>
#include <QPainter>

namespace tvl {

namespace {

// Vector pictures have no pixel size of their own; this bounds what one costs to render.
constexpr int maxRenderSide = 4000;

QSize renderSize(QSizeF natural)
{
    double side = std::min<double>(maxRenderSide, ImageLimits::maxSide());
    QSizeF size = natural;
    if (size.width() > side || size.height() > side)
        size.scale(side, side, Qt::KeepAspectRatio);
    const double area = size.width() * size.height();
    if (area > double(ImageLimits::maxPixels()))
        size *= std::sqrt(double(ImageLimits::maxPixels()) / area);
    return QSize(std::max(1, int(size.width())), std::max(1, int(size.height())));
}

bool fontsAvailable()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

// Unpainted pixels become transparent white, so that a reader ignoring alpha sees white paper. The canvas is
// converted where it lies: a large rendering is never held twice.
bool toImage(QImage& canvas, CxImage& image, QString& error)
{
    canvas.convertTo(QImage::Format_ARGB32);
    for (int y = 0; y < canvas.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int x = 0; x < canvas.width(); ++x) {
            if (qAlpha(row[x]) == 0)
                row[x] = 0x00ffffffu;
        }
    }
    if (!image.FromBitmap(canvas)) {
        error = image.lastError();
        return false;
    }
    image.SetType(CXIMAGE_FORMAT_WMF);
    return true;
}

} // namespace

bool MetafileCodec::decode(QByteArrayView data, CxImage& image, QString& error, QSize* headerSize)
{
    const bool wmf = WmfReader::isWmf(data);
    if (!wmf && !EmfReader::isEmf(data)) {
        error = QStringLiteral("corrupted WMF");
        return false;
    }
    WmfReader::Frame wmfFrame;
    EmfReader::Frame emfFrame;
    if (wmf ? !WmfReader::frame(data, wmfFrame, error) : !EmfReader::frame(data, emfFrame, error))
        return false;
    const QSize size = renderSize(wmf ? wmfFrame.size : emfFrame.size);
    if (headerSize) {
        *headerSize = size;
        return true;
    }
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull()) {
        error = QStringLiteral("CxImage::Create can't allocate memory");
        return false;
    }
    canvas.fill(Qt::transparent);
    bool played = false;
    {
        QPainter painter(&canvas);
        if (wmf) {
            GdiPlayer player(painter, QTransform(), QSizeF(96 / 25.4, 96 / 25.4), fontsAvailable());
            player.setMapMode(GdiPlayer::MM_ANISOTROPIC);
            player.setWindowOrg(wmfFrame.window.topLeft());
            player.setWindowExt(wmfFrame.window.size());
            player.setViewportExt(QSizeF(size));
            played = WmfReader::play(data, player, error);
        } else {
            const QRectF& device = emfFrame.device;
            const QTransform toImage =
                QTransform::fromTranslate(-device.left(), -device.top()) *
                QTransform::fromScale(size.width() / device.width(), size.height() / device.height());
            GdiPlayer player(painter, toImage, emfFrame.pixelsPerMm, fontsAvailable());
            played = EmfReader::play(data, player, error);
        }
    }
    return played && toImage(canvas, image, error);
}

} // namespace tvl
