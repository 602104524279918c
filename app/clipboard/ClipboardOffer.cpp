#include "app/clipboard/ClipboardOffer.h"

#include "app/ClipboardFormat.h"
#include "document/clipboard/ClipboardItem.h"
#include "document/model/CRichChild.h"
#include "images/CxImage.h"
#include "images/ImageLimits.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>

namespace tvl {
namespace {

// The image forms another program may offer, best first; any other image/* follows them.
const char* const kPreferredImageTypes[] = {"image/png",  "image/bmp", "image/x-bmp",
                                            "image/jpeg", "image/gif", "image/tiff"};

QStringList OfferedImageTypes(const QMimeData& data)
{
    QStringList types;
    for (const char* type : kPreferredImageTypes) {
        if (data.hasFormat(QString::fromLatin1(type)))
            types.append(QString::fromLatin1(type));
    }
    for (const QString& type : data.formats()) {
        if (type.startsWith(u"image/") && !types.contains(type))
            types.append(type);
    }
    return types;
}

// The size an encoded picture declares, read from its header alone.
QSize DeclaredSize(const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return reader.size();
}

// Decodes one offered form: through the image layer's decoders, or for a form they do not know through
// Qt's once its declared size is within the layer's limits.
std::shared_ptr<CxImage> DecodeOffered(const QByteArray& bytes, QString& error)
{
    const QSize declared = DeclaredSize(bytes);
    if (declared.isValid() && !ImageLimits::check(declared.width(), declared.height(), error))
        return nullptr;
    auto picture = std::make_shared<CxImage>();
    if (picture->LoadBuffer(QByteArrayView(bytes), CXIMAGE_FORMAT_DETECT))
        return picture;
    error = picture->lastError();
    if (!declared.isValid())
        return nullptr;
    const QImage image = QImage::fromData(bytes);
    if (image.isNull() || !picture->FromBitmap(image))
        return nullptr;
    error.clear();
    return picture;
}

} // namespace

bool OffersPicture(const QMimeData* data)
{
    return data && (data->hasImage() || !OfferedImageTypes(*data).isEmpty());
}

ClipboardOffer ReadClipboardOffer(const QMimeData* data)
{
    ClipboardOffer offer;
    if (!data)
        return offer;
    if (OffersPicture(data)) {
        for (const QString& type : OfferedImageTypes(*data)) {
            const QByteArray bytes = data->data(type);
            if (bytes.isEmpty())
                continue;
            offer.picture = DecodeOffered(bytes, offer.error);
            if (offer.picture)
                break;
        }
        if (!offer.picture && offer.error.isEmpty() && data->hasImage()) {
            // A picture held in this program's own clipboard data, not encoded.
            const QImage image = qvariant_cast<QImage>(data->imageData());
            auto picture = std::make_shared<CxImage>();
            if (ImageLimits::check(image.width(), image.height(), offer.error) && picture->FromBitmap(image))
                offer.picture = std::move(picture);
            else if (offer.error.isEmpty())
                offer.error = picture->lastError();
        }
        offer.kind = offer.picture ? ClipboardOffer::Kind::Picture : ClipboardOffer::Kind::None;
        return offer;
    }
    if (data->hasFormat(objectClipboardMimeType)) {
        offer.item = DecodeClipboardItem(data->data(objectClipboardMimeType));
        offer.kind = offer.item ? ClipboardOffer::Kind::Item : ClipboardOffer::Kind::None;
    }
    return offer;
}

QMimeData* TextForDesktop(const QString& text)
{
    auto* data = new QMimeData;
    data->setText(text);
    return data;
}

QMimeData* ItemForDesktop(const QByteArray& block)
{
    auto* data = new QMimeData;
    data->setData(objectClipboardMimeType, block);
    return data;
}

bool PlaceOnClipboard(QMimeData* data)
{
    const QStringList formats = data->formats();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setMimeData(data);
    const QMimeData* now = clipboard->mimeData();
    return now && !formats.isEmpty() && now->hasFormat(formats.first());
}

QMimeData* PictureForDesktop(const CxImage& picture)
{
    auto* data = new QMimeData;
    data->setImageData(picture.ToBitmap());
    return data;
}

bool PlacePictureOnClipboard(const CxImage& picture)
{
    return PlaceOnClipboard(PictureForDesktop(picture));
}

} // namespace tvl
