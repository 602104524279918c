#include "print/export/LabelExport.h"

#include "document/files/SafeWrite.h"

#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"
#include "images/CxImage.h"
#include "images/codecs/JpegCodec.h"
#include "render/surface/RenderSurfaceImage.h"

#include <QIODevice>
#include <QPainter>

namespace tvl {
namespace {

constexpr const char* kExtensions[] = {".bmp", ".jpg", ".png", ".tif"};
constexpr int kImageFormats[] = {CXIMAGE_FORMAT_BMP, CXIMAGE_FORMAT_JPG, CXIMAGE_FORMAT_PNG,
                                 CXIMAGE_FORMAT_TIF};

FileError Failure(const QString& message)
{
    FileError error;
    error.message = message;
    return error;
}

bool Cancelled(const ExportProgress& progress)
{
    return progress.cancelled && progress.cancelled();
}

// Tells that drawing is done; false when the export was cancelled meanwhile.
bool Drawn(const ExportProgress& progress, QString& error)
{
    if (Cancelled(progress)) {
        error = ExportCancelledText();
        return false;
    }
    if (progress.saving)
        progress.saving();
    return true;
}

// The label is drawn straight into the 24-bit bottom-up bitmap the encoder takes, seen as a top-down
// image turned upside down, so that no second copy of a large label is made.
bool EncodeLabel(const LabelDesign& design, const SurfaceImageRequest& request, int format, int dpi,
                 const ExportProgress& progress, QByteArray& bytes, QString& error)
{
    const QSize size = SurfaceImageSize(design, request);
    CxImage image;
    if (!image.Create(size.width(), size.height(), 24, format)) {
        error = ExportOutOfMemoryText();
        return false;
    }
    {
        QImage canvas(image.ScanLine(size.height() - 1), size.width(), size.height(), image.BytesPerLine(),
                      QImage::Format_BGR888);
        canvas.fill(QColor::fromRgb(request.background));
        QPainter painter(&canvas);
        painter.translate(0, size.height());
        painter.scale(1, -1);
        DrawSurfaceImage(painter, design, request);
    }
    if (!Drawn(progress, error))
        return false;
    image.SetResolution(dpi, dpi);
    if (image.EncodeBuffer(bytes, format))
        return true;
    error = image.lastError();
    return false;
}

// JPEG takes 32-bit rows, so the label is drawn the way the painter draws fastest: top down, one word a
// pixel, without the flip and the 24-bit conversion of every span the bitmap above costs.
bool EncodeJpegLabel(const LabelDesign& design, const SurfaceImageRequest& request, int dpi,
                     const ExportProgress& progress, QByteArray& bytes, QString& error)
{
    const QImage label = RenderSurfaceImage(design, request);
    if (label.isNull()) {
        error = ExportOutOfMemoryText();
        return false;
    }
    if (!Drawn(progress, error))
        return false;
    auto encoded = JpegCodec::encode(label, kDefaultJpegQuality, dpi);
    if (!encoded) {
        error = encoded.error();
        return false;
    }
    bytes = std::move(encoded.value());
    return true;
}

} // namespace

const QString& ExportOutOfMemoryText()
{
    static const QString text = QStringLiteral(
        "Your computer does not have enough memory to complete this operation.\r\n\r\nPlease choose a "
        "smaller resolution (300 DPI or below).");
    return text;
}

const QString& ExportCancelledText()
{
    static const QString text = QStringLiteral("The export was cancelled.");
    return text;
}

QString ExportExtension(int imageType)
{
    if (imageType < 0 || imageType > 3)
        return {};
    return QString::fromLatin1(kExtensions[imageType]);
}

int ExportImageType(QStringView path)
{
    for (int i = 0; i < 4; ++i) {
        if (path.endsWith(QLatin1StringView(kExtensions[i]), Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

QString ExportFilePath(const QString& chosen, QStringView extension)
{
    if (chosen.endsWith(extension, Qt::CaseInsensitive))
        return chosen.left(chosen.size() - extension.size()) + extension.toString();
    return chosen + extension.toString();
}

QString ExportSizeText(const LabelDesign& design, const ExportChoices& choices)
{
    const CRichChild* cover = design.FindCover(SurfaceName(choices.label));
    if (!cover || choices.dpi <= 0)
        return {};
    const QSize size = SurfaceImageSize(*cover, choices.dpi, choices.dpi, OverlapMils(choices.overlap));
    return QStringLiteral("%1 x %2 pixels ").arg(size.width()).arg(size.height());
}

FileResult<> ExportLabel(const LabelDesign& design, const ExportChoices& choices, const QString& path,
                         const ExportProgress& progress)
{
    const int imageType = ExportImageType(path);
    if (imageType < 0)
        return Failure(QStringLiteral("Unknown image type: use .bmp, .jpg, .png or .tif"));
    const int dpi = choices.dpi;
    if (choices.label < 0 || choices.label >= kSurfaceCount || dpi <= 0)
        return Failure(QStringLiteral("Unknown label or resolution"));
    if (!design.FindCover(SurfaceName(choices.label)))
        return Failure(QStringLiteral("The design has no %1").arg(SurfaceName(choices.label)));

    SurfaceImageRequest request;
    request.surface = choices.label;
    request.dpiX = dpi;
    request.dpiY = dpi;
    request.borderMode = choices.border;
    request.overlap = OverlapMils(choices.overlap);
    if (SurfaceImageSize(design, request).isEmpty())
        return Failure(QStringLiteral("Nothing to export: the %1 is 0 pixels wide or high")
                           .arg(SurfaceName(choices.label)));
    QByteArray bytes;
    QString error;
    const bool encoded =
        kImageFormats[imageType] == CXIMAGE_FORMAT_JPG
            ? EncodeJpegLabel(design, request, dpi, progress, bytes, error)
            : EncodeLabel(design, request, kImageFormats[imageType], dpi, progress, bytes, error);
    if (!encoded)
        return Failure(error);

    return WriteFileSafely(
        path,
        [&bytes, &progress](QIODevice& device) -> FileResult<> {
            if (Cancelled(progress))
                return Failure(ExportCancelledText());
            if (device.write(bytes) != bytes.size())
                return Failure(device.errorString());
            return std::monostate{};
        },
        QStringLiteral("Cannot write the image file."));
}

} // namespace tvl
