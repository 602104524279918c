#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

class QMimeData;

namespace tvl {

class CRichChild;
class CxImage;

// What Paste Object takes from what the desktop clipboard offers: a picture first (from any program, or
// the one Copy Object left), else an item in our own format.
struct ClipboardOffer
{
    enum class Kind
    {
        None,
        Picture,
        Item,
    };
    Kind kind = Kind::None;
    std::shared_ptr<CxImage> picture;
    std::unique_ptr<CRichChild> item;
    // Why an offered picture or item was refused (a picture above the image layer's limits says so);
    // empty when nothing was offered or it was read.
    QString error;
};

bool OffersPicture(const QMimeData* data);
ClipboardOffer ReadClipboardOffer(const QMimeData* data);

// What Copy Object and Copy Text place on the desktop clipboard. The caller owns the result until it hands
// it to the clipboard.
QMimeData* TextForDesktop(const QString& text);
QMimeData* ItemForDesktop(const QByteArray& block);
// The picture as image/png and the other image forms the platform offers for an image (BMP among them).
QMimeData* PictureForDesktop(const CxImage& picture);
// Hands data to the desktop clipboard; true when the clipboard then offers its first format.
bool PlaceOnClipboard(QMimeData* data);
// Puts a picture on the desktop clipboard in the forms PictureForDesktop gives: Copy Object on a picture
// item and Copy Image of a picture file both go this way.
bool PlacePictureOnClipboard(const CxImage& picture);

} // namespace tvl
