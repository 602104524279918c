#include "document/model/CRichChild.h"
#include "images/CxImage.h"
#include "render/picture/LoadPictureFile.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;

TEST(LoadPictureFileTest, MissingAndUndecodableFilesLeaveNoPictureAndSayWhy)
{
    QTemporaryDir dir;
    const QString text = dir.filePath(u"notes.png"_s);
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture at all");
    file.close();

    CRichChild item;
    item.image = std::make_shared<CxImage>();
    const FileResult<> missing = LoadPictureFile(item, dir.filePath(u"gone.jpg"_s));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().message, u"The image file has been moved or deleted"_s);
    EXPECT_EQ(item.image, nullptr);

    const FileResult<> invalid = LoadPictureFile(item, text);
    ASSERT_FALSE(invalid);
    EXPECT_EQ(invalid.error().message, u"Invalid image format."_s);
    EXPECT_EQ(item.image, nullptr);
}

TEST(LoadPictureFileTest, AlphaIsFlattenedOverWhiteAndTheFileBytesKept)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"half.png"_s);
    QImage pixels(4, 4, QImage::Format_ARGB32);
    pixels.fill(qRgba(0, 0, 0, 0));
    pixels.setPixel(0, 0, qRgba(255, 0, 0, 255));
    ASSERT_TRUE(pixels.save(path, "PNG"));

    CRichChild item;
    ASSERT_TRUE(LoadPictureFile(item, path));
    ASSERT_NE(item.image, nullptr);
    EXPECT_FALSE(item.image->HasAlpha());
    EXPECT_EQ(item.image->PixelColor(3, 3) & 0xffffff, 0xffffffu);
    EXPECT_EQ(item.image->PixelColor(0, 0) & 0xffffff, 0xff0000u);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(item.image->SourceBytes(), file.readAll());
}

} // namespace
} // namespace tvl
