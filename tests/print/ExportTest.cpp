#include "document/files/DesignFile.h"
#include "images/CxImage.h"
#include "print/export/LabelExport.h"
#include "render/paint/PaintSheet.h"
#include "render/surface/RenderSurfaceImage.h"
#include "tests/render/SurfaceFixture.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <random>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::SurfaceFixture;

TEST(ExportPathTest, ExtensionIsAppendedOrItsCaseMended)
{
    const struct
    {
        const char* chosen;
        const char* saved;
    } cases[] = {
        {"label.PNG", "label.png"},
        {"label", "label.png"},
        {"label.jpg", "label.jpg.png"},
        {"dir.png/label.Png", "dir.png/label.png"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExportFilePath(QString::fromLatin1(c.chosen), u".png"), QString::fromLatin1(c.saved));
    EXPECT_EQ(ExportImageType(u"a.TIF"), 3);
    EXPECT_EQ(ExportImageType(u"a.gif"), -1);
}

TEST(ExportLabelTest, LabelKeepsItsOrientationInEveryFormat)
{
    SurfaceFixture f;
    const CRichChild& front = *f.design.FindCover(u"Front Cover");
    CRichChild& mark =
        f.Add(u"Image(1)"_s, u"Image"_s, u"Front Cover"_s, front.left(), front.top(), 1000, 500);
    // Green above, red below.
    QImage pixels(4, 4, QImage::Format_RGB32);
    pixels.fill(Qt::green);
    for (int x = 0; x < 4; ++x) {
        pixels.setPixel(x, 2, qRgb(255, 0, 0));
        pixels.setPixel(x, 3, qRgb(255, 0, 0));
    }
    mark.image = std::make_shared<CxImage>();
    ASSERT_TRUE(mark.image->FromBitmap(pixels));
    SurfaceImageRequest request;
    request.dpiX = request.dpiY = 150;
    const QImage preview = RenderSurfaceImage(f.design, request);
    EXPECT_EQ(preview.pixel(20, 10) & 0xffffff, 0x00ff00u);
    EXPECT_EQ(preview.pixel(20, 65) & 0xffffff, 0xff0000u);
    QTemporaryDir dir;
    for (const char16_t* extension : {u".png", u".bmp", u".tif", u".jpg"}) {
        const QString out = dir.filePath(u"front"_s + QString::fromUtf16(extension));
        ASSERT_TRUE(ExportLabel(f.design, {0, 150, 0, 0}, out));
        CxImage image;
        ASSERT_TRUE(image.LoadFile(out, CXIMAGE_FORMAT_DETECT));
        ASSERT_EQ(image.Width(), 1428);
        ASSERT_EQ(image.Height(), 714);
        EXPECT_GT(qGreen(image.PixelColor(20, 10)), 230) << "top left";
        EXPECT_LT(qRed(image.PixelColor(20, 10)), 30);
        EXPECT_GT(qRed(image.PixelColor(20, 65)), 230) << "the picture's lower half";
        EXPECT_LT(qGreen(image.PixelColor(20, 65)), 30);
        EXPECT_GT(qRed(image.PixelColor(20, 700)), 230) << "bottom left stays white";
        EXPECT_GT(qRed(image.PixelColor(160, 20)), 230) << "right of the picture";
    }
}

// A design read from its file holds a photograph's encoded bytes only; the cover's export at 600 dots per
// inch and its printed sheet still draw every block of the photograph's fine pattern in its own grey, so they
// used the full-size picture, and the design holds no decoded copy afterwards.
TEST(ExportLabelTest, ExportAndPrintDrawALargePhotographAtFullResolution)
{
    constexpr int kSide = 1200;
    constexpr int kBlock = 8;
    CxImage source;
    ASSERT_TRUE(source.Create(kSide, kSide, 24, CXIMAGE_FORMAT_JPG));
    source.SetJpegQuality(100);
    std::mt19937 random(22);
    std::vector<uchar> greys;
    for (int i = 0; i < (kSide / kBlock) * (kSide / kBlock); ++i)
        greys.push_back(uchar(random() % 256));
    const auto greyAt = [&](int x, int y) {
        return greys[size_t((y / kBlock) * (kSide / kBlock) + x / kBlock)];
    };
    for (int y = 0; y < kSide; ++y) {
        uchar* row = source.ScanLine(y);
        for (int x = 0; x < kSide; ++x)
            row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = greyAt(x, y);
    }
    QByteArray jpeg;
    ASSERT_TRUE(source.EncodeBuffer(jpeg, CXIMAGE_FORMAT_JPG));

    SurfaceFixture f;
    const CRichChild& cover = *f.design.FindCover(u"Front Cover");
    const QPoint offset(500, 600); // mils from the cover's corner; the picture is 2 inches square
    CRichChild& photo = f.Add(u"Image(1)"_s, u"Image"_s, u"Front Cover"_s, cover.left() + offset.x(),
                              cover.top() + offset.y(), 2000, 2000);
    photo.image = std::make_shared<CxImage>();
    ASSERT_TRUE(photo.image->LoadBuffer(jpeg, CXIMAGE_FORMAT_JPG));
    QTemporaryDir dir;
    const QString path = dir.filePath(u"photo.tvl"_s);
    ASSERT_TRUE(WriteDesignFile(path, f.design, {u"Front Cover"_s, cover.pageCode, u"Single"_s, u"Jewel"_s}));
    FileResult<DesignContent> read = ReadDesignFile(path);
    ASSERT_TRUE(read);
    const LabelDesign& design = read.value().design;
    const std::shared_ptr<CxImage> held = design.FindItem(u"Image(1)")->image;
    ASSERT_TRUE(held && held->IsDeferred());

    // Blocks whose centre differs from the source's grey by more than JPEG's rounding; dpi pixels per inch,
    // the picture's corner at corner.
    const auto wrongBlocks = [&](const QImage& drawn, QPoint corner, int dpi) {
        const double scale = dpi * 2.0 / kSide;
        int wrong = 0;
        for (int by = 0; by < kSide / kBlock; by += 3) {
            for (int bx = 0; bx < kSide / kBlock; bx += 3) {
                const int x = corner.x() + int((bx * kBlock + kBlock / 2) * scale);
                const int y = corner.y() + int((by * kBlock + kBlock / 2) * scale);
                wrong += std::abs(qGray(drawn.pixel(x, y)) - greyAt(bx * kBlock, by * kBlock)) > 6 ? 1 : 0;
            }
        }
        return wrong;
    };
    const QString out = dir.filePath(u"front.png"_s);
    ASSERT_TRUE(ExportLabel(design, {FrontSurface, 600, 0, 0}, out));
    const QImage exported(out);
    ASSERT_FALSE(exported.isNull());
    EXPECT_EQ(wrongBlocks(exported, offset * 600 / 1000, 600), 0);

    SheetSpec spec;
    spec.dpiX = spec.dpiY = 300;
    QImage sheet(8500 * 300 / 1000, 11000 * 300 / 1000, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    {
        QPainter painter(&sheet);
        PaintSheet(painter, design, cover.pageCode, spec);
    }
    const QPoint printed((cover.left() + offset.x()) * 300 / 1000, (cover.top() + offset.y()) * 300 / 1000);
    EXPECT_EQ(wrongBlocks(sheet, printed, 300), 0);
    EXPECT_TRUE(held->IsDeferred()) << "no full-size copy outlives the export or the print";
}

// Runs a netpbm reader on a file; the picture it writes, or a null image.
QImage ReadWithNetpbm(const QString& converter, const QString& path)
{
    QProcess process;
    process.start(converter, {path});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return QImage::fromData(process.readAllStandardOutput());
}

// PNG and TIFF labels are compressed in pieces on several threads; read back by netpbm they must hold the
// drawn label exactly, which the BMP export stores as it is.
TEST(ExportLabelTest, PngAndTiffHoldTheDrawnLabelExactly)
{
    SurfaceFixture f;
    const CRichChild& disc = *f.design.FindCover(u"Disc 1");
    CRichChild& photo =
        f.Add(u"Image(1)"_s, u"Image"_s, u"Disc 1"_s, disc.left(), disc.top(), disc.width(), disc.height());
    QImage pixels(300, 300, QImage::Format_RGB32);
    quint32 seed = 99;
    for (int y = 0; y < pixels.height(); ++y) {
        for (int x = 0; x < pixels.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            pixels.setPixel(x, y, qRgb(x * 255 / 300, y * 255 / 300, int(seed >> 24)));
        }
    }
    photo.image = std::make_shared<CxImage>();
    ASSERT_TRUE(photo.image->FromBitmap(pixels));
    QTemporaryDir dir;
    const ExportChoices choices{2, 150, 0, 0};
    const QString bmp = dir.filePath(u"disc.bmp"_s);
    ASSERT_TRUE(ExportLabel(f.design, choices, bmp));
    const QImage drawn = QImage(bmp).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(drawn.size(), QSize(693, 693));
    for (const auto& [extension, reader] :
         {std::pair{u".png"_s, u"pngtopnm"_s}, std::pair{u".tif"_s, u"tifftopnm"_s}}) {
        const QString out = dir.filePath(u"disc"_s + extension);
        ASSERT_TRUE(ExportLabel(f.design, choices, out));
        const QImage read = ReadWithNetpbm(reader, out).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(read.size(), drawn.size()) << extension.toStdString();
        EXPECT_TRUE(read == drawn) << extension.toStdString() << " differs from the drawn label";
        CxImage image;
        ASSERT_TRUE(image.LoadFile(out, CXIMAGE_FORMAT_DETECT));
        EXPECT_EQ(image.XDpi(), 150);
    }
}

class ExportVerbTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        SurfaceFixture f;
        f.design.FindCover(u"Disc 1")->colors[0] = 0x000000ff;
        design = dir.filePath(u"album.tvl"_s);
        LiveDesignState live{u"Disc 1"_s, u"1"_s, u"Single"_s, u"Jewel"_s};
        ASSERT_TRUE(WriteDesignFile(design, f.design, live).ok());
    }

    // Runs the program without a display.
    int Run(const QStringList& args, QString* errors = nullptr)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"DISPLAY"_s);
        env.remove(u"WAYLAND_DISPLAY"_s);
        env.remove(u"QT_QPA_PLATFORM"_s);
        env.insert(u"ASAN_OPTIONS"_s, u"detect_leaks=0"_s);
        process.setProcessEnvironment(env);
        process.start(QString::fromLatin1(TOVRELLINE_PROGRAM), QStringList{u"export"_s} + args);
        process.waitForFinished(120000);
        if (errors)
            *errors = QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    static QString Identify(const QString& path)
    {
        QProcess identify;
        identify.start(u"identify"_s, {u"-units"_s, u"PixelsPerInch"_s, u"-format"_s,
                                       u"%w %h %[fx:round(resolution.x)]"_s, path});
        identify.waitForFinished(60000);
        return QString::fromLocal8Bit(identify.readAllStandardOutput()).trimmed();
    }

    QTemporaryDir dir;
    QString design;
};

void AppendWords(QByteArray& bytes, std::initializer_list<int> values)
{
    for (int value : values) {
        const quint16 word = qToLittleEndian(quint16(value));
        bytes.append(reinterpret_cast<const char*>(&word), 2);
    }
}

// A placeable metafile, 96 pixels square, that writes a word in red bold Arial.
QByteArray MetafileWithText()
{
    QByteArray records;
    const auto words = [&records](std::initializer_list<int> values) { AppendWords(records, values); };
    words({5, 0, 0x020B, 0, 0});                            // SETWINDOWORG
    words({5, 0, 0x020C, 1000, 1000});                      // SETWINDOWEXT
    words({28, 0, 0x02FB, -300, 0, 0, 0, 700, 0, 0, 0, 0}); // CREATEFONTINDIRECT, bold
    records.append(QByteArray("Arial").leftJustified(32, '\0'));
    words({4, 0, 0x012D, 0});         // SELECTOBJECT the font
    words({5, 0, 0x0209, 0x00ff, 0}); // SETTEXTCOLOR red
    words({10, 0, 0x0521, 8});        // TEXTOUT
    records.append("Metafile");
    words({300, 50});
    words({3, 0, 0}); // EOF
    QByteArray header;
    const auto headerWords = [&header](std::initializer_list<int> values) { AppendWords(header, values); };
    headerWords({0xCDD7, 0x9AC6, 0, 0, 0, 1000, 1000, 1000, 0, 0});
    quint16 checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= qFromLittleEndian<quint16>(header.constData() + 2 * i);
    headerWords({checksum});
    const int fileWords = 9 + int(records.size() / 2);
    headerWords({1, 9, 0x0300, fileWords & 0xffff, fileWords >> 16, 1, 28, 0, 0});
    return header + records;
}

// The label draws text only with the font database, which the verb starts only for a label with text; a
// label of colours and photographs is drawn without it. Either way the verb writes the pixels the program
// draws, text and a metafile's words included.
TEST_F(ExportVerbTest, TextPhotographsAndMetafilesAreDrawnAsTheProgramDrawsThem)
{
    enum class Content
    {
        Text,
        Photograph,
        Metafile
    };
    for (const Content content : {Content::Text, Content::Photograph, Content::Metafile}) {
        SCOPED_TRACE(static_cast<int>(content));
        SurfaceFixture f;
        const CRichChild& disc = *f.design.FindCover(u"Disc 1");
        f.design.FindCover(u"Disc 1")->colors[0] = 0x00e0e0e0;
        CRichChild& item = f.Add(u"Item(1)"_s, content == Content::Text ? u"Text"_s : u"Image"_s, u"Disc 1"_s,
                                 disc.left() + 700, disc.top() + 1800, 3000, 1000);
        if (content == Content::Text) {
            item.angle(u"0 degrees"_s);
            item.alignment(u"Center"_s);
            item.wrapStyle(u"Multi-Line"_s);
            item.characters = ToCharacters(u"Disc One\b"_s);
            item.fonts.assign(item.characters.size(), std::nullopt);
            item.colors.assign(item.characters.size(), std::nullopt);
            item.underlines.assign(item.characters.size(), 0);
            item.fonts[0] = ItemFont{u"Arial"_s, 400, 700, 0};
            item.colors[0] = 0x000000ff;
        } else {
            // The metafile is stored in place of this picture's PNG below: the program writes none itself.
            QImage pixels(64, 40, QImage::Format_RGB32);
            for (int y = 0; y < pixels.height(); ++y) {
                for (int x = 0; x < pixels.width(); ++x)
                    pixels.setPixel(x, y, qRgb(x * 4, y * 6, (x * y) % 256));
            }
            CxImage source;
            ASSERT_TRUE(source.FromBitmap(pixels));
            QByteArray bytes;
            const int format = content == Content::Photograph ? CXIMAGE_FORMAT_JPG : CXIMAGE_FORMAT_PNG;
            ASSERT_TRUE(source.EncodeBuffer(bytes, format));
            item.image = std::make_shared<CxImage>();
            ASSERT_TRUE(item.image->LoadBuffer(QByteArrayView(bytes), format));
        }
        const QString path = dir.filePath(u"content.tvl"_s);
        LiveDesignState live{u"Disc 1"_s, u"1"_s, u"Single"_s, u"Jewel"_s};
        ASSERT_TRUE(WriteDesignFile(path, f.design, live).ok());
        if (content == Content::Metafile) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            QByteArray stored = file.readAll();
            const qsizetype png = stored.lastIndexOf("\x89PNG");
            // The block is the format code (one digit here) and the byte count, each on a line, then the
            // bytes.
            const qsizetype codeLine = stored.lastIndexOf('\n', png - 2) - 1;
            ASSERT_EQ(stored.mid(codeLine, 2), "2\n");
            const QByteArray wmf = MetafileWithText();
            stored = stored.left(codeLine) + "5\n" + QByteArray::number(wmf.size()) + '\n' + wmf;
            ASSERT_TRUE(file.resize(0));
            ASSERT_EQ(file.write(stored), stored.size());
        }

        const FileResult<DesignContent> read = ReadDesignFile(path);
        ASSERT_TRUE(read);
        const QString expected = dir.filePath(u"expected.bmp"_s);
        const ExportChoices choices{2, 150, 0, 0};
        ASSERT_TRUE(ExportLabel(read.value().design, choices, expected));
        const QString out = dir.filePath(u"verb.bmp"_s);
        QString errors;
        ASSERT_EQ(Run({path, u"--label"_s, u"disc1"_s, u"--dpi"_s, u"150"_s, u"-o"_s, out}, &errors), 0)
            << errors.toStdString();
        const QImage drawn = QImage(expected).convertToFormat(QImage::Format_RGB32);
        const QImage written = QImage(out).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(written.size(), drawn.size());
        EXPECT_TRUE(written == drawn);
        if (content != Content::Photograph) {
            int red = 0;
            for (int y = 0; y < drawn.height(); ++y) {
                for (int x = 0; x < drawn.width(); ++x) {
                    const QRgb pixel = drawn.pixel(x, y);
                    red += qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
                }
            }
            EXPECT_GT(red, 50) << "the words are drawn";
        }
    }
}

TEST_F(ExportVerbTest, WritesEveryFormatAtItsTrueSize)
{
    for (const char16_t* extension : {u".png", u".jpg", u".bmp", u".tif"}) {
        const QString out = dir.filePath(u"disc"_s + QString::fromUtf16(extension));
        QString errors;
        ASSERT_EQ(Run({design, u"--label"_s, u"disc1"_s, u"--dpi"_s, u"300"_s, u"-o"_s, out}, &errors), 0)
            << errors.toStdString();
        EXPECT_EQ(Identify(out), u"1387 1387 300"_s) << out.toStdString();
        CxImage image;
        ASSERT_TRUE(image.LoadFile(out, CXIMAGE_FORMAT_DETECT));
        const QRgb ring = image.PixelColor(40, 693) & 0xffffff;
        EXPECT_GT(qRed(ring), 230);
        EXPECT_LT(qGreen(ring), 30);
        EXPECT_EQ(image.PixelColor(5, 5) & 0xffffff, 0xffffffu) << "white outside the ring";
        EXPECT_GT(qGreen(image.PixelColor(693, 693)), 230) << "white hub";
    }
}

TEST_F(ExportVerbTest, OverlapBorderAndNameRules)
{
    const QString out = dir.filePath(u"label.PNG"_s);
    ASSERT_EQ(Run({design, u"--label"_s, u"disc1"_s, u"--dpi"_s, u"600"_s, u"--overlap"_s, u"100"_s,
                   u"--border"_s, u"1"_s, u"-o"_s, out}),
              0);
    EXPECT_EQ(Identify(dir.filePath(u"label.png"_s)), u"2895 2895 600"_s);
    ASSERT_EQ(
        Run({design, u"--label"_s, u"front"_s, u"--dpi"_s, u"150"_s, u"-o"_s, dir.filePath(u"front"_s)}), 0);
    EXPECT_EQ(Identify(dir.filePath(u"front.png"_s)), u"1428 714 150"_s);
}

TEST_F(ExportVerbTest, BadChoicesFailWithAMessageAndLeaveNoFile)
{
    const QString out = dir.filePath(u"bad.png"_s);
    const QStringList cases[] = {
        {design, u"--label"_s, u"sleeve"_s, u"-o"_s, out},
        {design, u"--label"_s, u"disc1"_s, u"--dpi"_s, u"200"_s, u"-o"_s, out},
        {design, u"--label"_s, u"disc1"_s, u"--overlap"_s, u"75"_s, u"-o"_s, out},
        {design, u"--label"_s, u"disc1"_s, u"-o"_s, dir.filePath(u"bad.gif"_s)},
        {design, u"--label"_s, u"disc1"_s},
        {dir.filePath(u"missing.tvl"_s), u"--label"_s, u"disc1"_s, u"-o"_s, out},
        {design, u"--label"_s, u"disc1"_s, u"-o"_s, dir.filePath(u"no/such/folder/x.png"_s)},
    };
    for (const QStringList& args : cases) {
        QString errors;
        EXPECT_NE(Run(args, &errors), 0) << args.join(u' ').toStdString();
        EXPECT_FALSE(errors.trimmed().isEmpty());
    }
    QDir folder(dir.path());
    EXPECT_EQ(folder.entryList(QDir::Files), QStringList{u"album.tvl"_s});
}

} // namespace
} // namespace tvl
