#include "app/clipboard/ClipboardOffer.h"
#include "app/ClipboardFormat.h"
#include "document/clipboard/ClipboardItem.h"
#include "document/model/CRichChild.h"
#include "images/CxImage.h"
#include "images/ImageLimits.h"

#include <QBuffer>
#include <QImage>
#include <QMimeData>
#include <gtest/gtest.h>

namespace tvl {
namespace {

QByteArray Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray ItemBlock()
{
    CRichChild item;
    item.name = QStringLiteral("Text 1");
    item.kind = ItemKind::Text;
    item.characters = ToCharacters(QStringLiteral("東京\b"));
    return EncodeClipboardItem(item);
}

QImage Picture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(10, 20, 30));
    return image;
}

TEST(ClipboardOfferTest, APictureIsPreferredToAnItem)
{
    QMimeData data;
    data.setData(objectClipboardMimeType, ItemBlock());
    data.setData(QStringLiteral("image/png"), Encoded(Picture(40, 30), "PNG"));
    const ClipboardOffer offer = ReadClipboardOffer(&data);
    ASSERT_EQ(offer.kind, ClipboardOffer::Kind::Picture);
    EXPECT_EQ(QSize(offer.picture->Width(), offer.picture->Height()), QSize(40, 30));
    EXPECT_FALSE(offer.item);
}

TEST(ClipboardOfferTest, AnItemIsReadWhenNoPictureIsOfferedAndABadBlockIsRefused)
{
    QMimeData data;
    data.setData(objectClipboardMimeType, ItemBlock());
    const ClipboardOffer offer = ReadClipboardOffer(&data);
    ASSERT_EQ(offer.kind, ClipboardOffer::Kind::Item);
    EXPECT_EQ(offer.item->Text(), QStringLiteral("東京\b"));

    QMimeData truncated;
    truncated.setData(objectClipboardMimeType, ItemBlock().chopped(3));
    EXPECT_EQ(ReadClipboardOffer(&truncated).kind, ClipboardOffer::Kind::None);
}

TEST(ClipboardOfferTest, PicturesComeInAnyFormAnotherProgramOffers)
{
    // A BMP alone, a form the image layer does not decode (read by Qt within the limits), and a picture
    // held as an image by this program's own clipboard data.
    QMimeData bmp;
    bmp.setData(QStringLiteral("image/bmp"), Encoded(Picture(8, 6), "BMP"));
    QMimeData ppm;
    ppm.setData(QStringLiteral("image/x-portable-pixmap"), Encoded(Picture(5, 4), "PPM"));
    QMimeData own;
    own.setImageData(Picture(3, 2));
    const std::pair<QMimeData*, QSize> cases[] = {{&bmp, {8, 6}}, {&ppm, {5, 4}}, {&own, {3, 2}}};
    for (const auto& [data, size] : cases) {
        const ClipboardOffer offer = ReadClipboardOffer(data);
        ASSERT_EQ(offer.kind, ClipboardOffer::Kind::Picture) << data->formats().join(u' ').toStdString();
        EXPECT_EQ(QSize(offer.picture->Width(), offer.picture->Height()), size);
    }
}

TEST(ClipboardOfferTest, APictureAboveTheImageLayersLimitsIsRefusedWithItsMessage)
{
    const int side = ImageLimits::maxSide();
    const qint64 pixels = ImageLimits::maxPixels();
    ImageLimits::setLimits(100, 10'000);
    QMimeData png;
    png.setData(QStringLiteral("image/png"), Encoded(Picture(200, 50), "PNG"));
    QMimeData own;
    own.setImageData(Picture(101, 2));
    const ClipboardOffer fromPng = ReadClipboardOffer(&png);
    const ClipboardOffer fromOwn = ReadClipboardOffer(&own);
    ImageLimits::setLimits(side, pixels);
    EXPECT_EQ(fromPng.kind, ClipboardOffer::Kind::None);
    EXPECT_EQ(fromPng.error, QStringLiteral("Image too large: 200 x 50 pixels"));
    EXPECT_EQ(fromOwn.kind, ClipboardOffer::Kind::None);
    EXPECT_EQ(fromOwn.error, QStringLiteral("Image too large: 101 x 2 pixels"));
}

TEST(ClipboardOfferTest, WhatCopyPlacesCarriesUnicodeTextTheBlockAndPictureForms)
{
    const std::unique_ptr<QMimeData> text(TextForDesktop(QStringLiteral("東京\r\nx")));
    EXPECT_EQ(text->text(), QStringLiteral("東京\r\nx"));
    const std::unique_ptr<QMimeData> item(ItemForDesktop(ItemBlock()));
    EXPECT_EQ(item->data(objectClipboardMimeType), ItemBlock());
    CxImage picture;
    ASSERT_TRUE(picture.FromBitmap(Picture(4, 3)));
    const std::unique_ptr<QMimeData> image(PictureForDesktop(picture));
    ASSERT_TRUE(image->hasImage());
    EXPECT_EQ(qvariant_cast<QImage>(image->imageData()).size(), QSize(4, 3));
}

} // namespace
} // namespace tvl
