// Exports of varied designs compared pixel for pixel with PNGs recorded from an earlier painter, so that
// a change to how labels are composed shows as a changed pixel. To record them again (after a change
// meant to alter pixels), run this test with TOVRELLINE_RECORD_GOLDEN set to the folder to write into.
#include "document/model/SurfaceNames.h"
#include "images/CxImage.h"
#include "print/export/LabelExport.h"
#include "render/picture/PlaceBackground.h"
#include "tests/render/SurfaceFixture.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::SurfaceFixture;

constexpr int kFrontLabel = 0;
constexpr int kBackLabel = 1;
constexpr int kDisc1Label = 2;
constexpr int kDisc2Label = 3;
constexpr int k150Dpi = 150;

// A small picture with a gradient, stored in an image format and read back as a design holds it.
std::shared_ptr<CxImage> Picture(int format, int seed)
{
    QImage pixels(9, 7, QImage::Format_RGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        for (int x = 0; x < pixels.width(); ++x)
            pixels.setPixel(x, y, qRgb((x * 28 + seed * 50) % 256, y * 36, (seed * 90 + x * y * 4) % 256));
    }
    CxImage source;
    source.FromBitmap(pixels);
    QByteArray encoded;
    source.EncodeBuffer(encoded, format);
    auto picture = std::make_shared<CxImage>();
    picture->LoadBuffer(QByteArrayView(encoded), format);
    return picture;
}

struct Run
{
    size_t at;
    ItemFont font;
    ItemColor color;
};

void SetText(CRichChild& item, const QString& text, std::initializer_list<Run> runs, size_t underlined = 0)
{
    item.characters = ToCharacters(text);
    const size_t count = item.characters.size();
    item.fonts.assign(count, std::nullopt);
    item.colors.assign(count, std::nullopt);
    item.underlines.assign(count, 0);
    for (const Run& run : runs) {
        item.fonts[run.at] = run.font;
        item.colors[run.at] = run.color;
    }
    for (size_t i = 0; i < underlined && i < count; ++i)
        item.underlines[i] = 1;
}

ItemFont Arial(int height, int weight = 400, int italic = 0)
{
    return {u"Arial"_s, height, weight, italic};
}

ItemFont Serif(int height)
{
    return {u"Liberation Serif"_s, height, 400, 1};
}

CRichChild& AddText(SurfaceFixture& f, const QString& name, const QString& surface, QRect mils)
{
    const CRichChild& cover = *f.design.FindCover(surface);
    CRichChild& text = f.Add(name, u"Text"_s, surface, cover.left() + mils.x(), cover.top() + mils.y(),
                             mils.width(), mils.height());
    text.angle(u"0 degrees"_s);
    text.alignment(u"Left"_s);
    text.wrapStyle(u"Multi-Line"_s);
    return text;
}

CRichChild& AddTracks(SurfaceFixture& f, const QString& surface, QRect mils, const QString& layout,
                      const QString& wrap)
{
    const CRichChild& cover = *f.design.FindCover(surface);
    CRichChild& tracks = f.Add(u"Track List(1)"_s, u"Track"_s, surface, cover.left() + mils.x(),
                               cover.top() + mils.y(), mils.width(), mils.height());
    tracks.angle(u"0 degrees"_s);
    tracks.alignment(u"Left"_s);
    tracks.trackNumbers(u"Track Numbers && Times"_s);
    tracks.textLayout(layout);
    tracks.wrapStyle(wrap);
    SetText(tracks,
            u"1. \bOpening Theme\b 3:01\b2. \bA Longer Second Song Title\b 4:02\b3. \bThird\b 12:30\b"
            u"4. \bFourth and Last\b 0:59\b"_s,
            {{0, Arial(100), 0x00402000}, {4, Serif(110), 0x000000c0}});
    return tracks;
}

CRichChild& AddPicture(SurfaceFixture& f, const QString& name, const QString& surface, QRect mils, int format,
                       int seed)
{
    const CRichChild& cover = *f.design.FindCover(surface);
    CRichChild& picture = f.Add(name, u"Image"_s, surface, cover.left() + mils.x(), cover.top() + mils.y(),
                                mils.width(), mils.height());
    picture.image = Picture(format, seed);
    return picture;
}

void Colour(SurfaceFixture& f, QStringView item, ItemColor color)
{
    f.design.FindItem(item)->colors = {color};
}

// Texts in every wrap style and angle, with font, colour and underline runs.
void AddFrontTexts(SurfaceFixture& f, int panelLeft)
{
    const QString front = u"Front Cover"_s;
    const QString text = u"Night Drive \rCity lights over the water and a long road home\b"_s;
    struct Style
    {
        const char16_t* wrap;
        const char16_t* angle;
        const char16_t* alignment;
        QRect mils;
    };
    const Style styles[] = {
        {u"Single-Line", u"0 degrees", u"Left", QRect(panelLeft + 200, 200, 3800, 500)},
        {u"Multi-Line", u"90 degrees", u"Center", QRect(panelLeft + 200, 900, 900, 3000)},
        {u"Word-Wrap", u"180 degrees", u"Right", QRect(panelLeft + 1300, 900, 2000, 1800)},
        {u"No Wrap", u"270 degrees", u"Center", QRect(panelLeft + 3500, 900, 900, 3000)},
    };
    int n = 1;
    for (const Style& style : styles) {
        CRichChild& item = AddText(f, u"Text %1"_s.arg(n++), front, style.mils);
        item.wrapStyle(QString::fromUtf16(style.wrap));
        item.angle(QString::fromUtf16(style.angle));
        item.alignment(QString::fromUtf16(style.alignment));
        SetText(item, text, {{0, Arial(240, 700), 0x000000ff}, {12, Serif(160), 0x00206020}}, 5);
    }
    CRichChild& fitted = AddText(f, u"Text 5"_s, front, QRect(panelLeft + 1300, 2900, 2000, 900));
    fitted.wrapStyle(u"Word-Wrap"_s);
    fitted.bAutoFit(1);
    SetText(fitted, u"Fitted to its frame\b"_s, {{0, Arial(400, 400, 1), 0x00800080}});
}

// A folded jewel booklet with a picture behind its front panel, every text style, a track table on the
// back and a flowing track list on the disc.
SurfaceFixture JewelSingle()
{
    SurfaceFixture f(u"Jewel", u"Single");
    Colour(f, u"Front Cover", 0x00c0f0ff);
    Colour(f, u"Front Cover (Inside)", 0x00ffe0c0);
    Colour(f, u"Back Cover", 0x00e0ffe0);
    Colour(f, u"Left Tab", 0x00404080);
    Colour(f, u"Disc 1", 0x00f0d0ff);
    const int half = f.design.FindCover(u"Front Cover")->width() / 2;
    CRichChild& photo = AddPicture(f, u"Image(1)"_s, u"Front Cover"_s, QRect(half + 300, 300, 1000, 800),
                                   CXIMAGE_FORMAT_JPG, 1);
    PlaceBackground(f.design, photo, {100, 50, 150}, u"Jewel");
    AddFrontTexts(f, half);
    AddText(f, u"Text 6"_s, u"Front Cover"_s, QRect(300, 300, 3000, 800)).wrapStyle(u"Word-Wrap"_s);
    SetText(*f.design.FindItem(u"Text 6"), u"Inside panel notes that wrap at words\b"_s,
            {{0, Arial(180), 0x00000000}});
    AddTracks(f, u"Back Cover"_s, QRect(500, 300, 4800, 2500), u"Table Format"_s, u"Word-Wrap"_s);
    AddPicture(f, u"Image(2)"_s, u"Back Cover"_s, QRect(600, 3000, 1500, 1000), CXIMAGE_FORMAT_PNG, 2);
    AddTracks(f, u"Disc 1"_s, QRect(300, 300, 4000, 4000), u"Top && Bottom"_s, u"Track-Wrap"_s);
    return f;
}

// Two discs: disc 1 wholly covered by a picture, disc 2 coloured with a small picture and a turned text.
SurfaceFixture JewelDouble()
{
    SurfaceFixture f(u"Jewel", u"Double");
    Colour(f, u"Disc 2", 0x00308030);
    CRichChild& photo =
        AddPicture(f, u"Image(1)"_s, u"Disc 1"_s, QRect(800, 800, 1000, 1000), CXIMAGE_FORMAT_PNG, 3);
    PlaceBackground(f.design, photo, {0, 0, 100}, u"Jewel");
    AddText(f, u"Text 1"_s, u"Disc 1"_s, QRect(400, 1000, 3800, 600)).alignment(u"Center"_s);
    SetText(*f.design.FindItem(u"Text 1"), u"Disc One\b"_s, {{0, Arial(360, 700), 0x00ffffff}});
    AddPicture(f, u"Image(2)"_s, u"Disc 2"_s, QRect(3000, 1800, 900, 700), CXIMAGE_FORMAT_BMP, 4);
    CRichChild& turned = AddText(f, u"Text 2"_s, u"Disc 2"_s, QRect(300, 1000, 700, 2600));
    turned.angle(u"270 degrees"_s);
    SetText(turned, u"Disc Two\rSide\b"_s, {{0, Serif(300), 0x0000ffff}});
    return f;
}

// A DVD wrap-around cover with a picture behind its left tab and one on the front, and a disc text fitted
// to the ring.
SurfaceFixture DvdSingle()
{
    SurfaceFixture f(u"DVD", u"Single");
    Colour(f, u"Front Cover", 0x00f0f0f0);
    Colour(f, u"Right Tab", 0x000080ff);
    const CRichChild& back = *f.design.FindCover(u"Back Cover");
    CRichChild& tab = AddPicture(f, u"Image(1)"_s, u"Back Cover"_s,
                                 QRect(100, 2000, back.coverSpine / 2, 900), CXIMAGE_FORMAT_GIF, 5);
    PlaceBackground(f.design, tab, {0, 100, 0}, u"DVD");
    AddPicture(f, u"Image(2)"_s, u"Front Cover"_s, QRect(1000, 1000, 3000, 2500), CXIMAGE_FORMAT_TIF, 6);
    AddFrontTexts(f, 0);
    AddTracks(f, u"Back Cover"_s, QRect(back.coverSpine + 300, 300, 4000, 5000), u"2 Columns"_s,
              u"Multi-Line"_s);
    CRichChild& ring = AddText(f, u"Text 7"_s, u"Disc 1"_s, QRect(200, 200, 4200, 1200));
    ring.alignment(u"Center"_s);
    ring.wrapStyle(u"Word-Wrap"_s);
    ring.bAutoFit(1);
    SetText(ring, u"A title that must fit the curve of the disc\b"_s, {{0, Arial(300, 700), 0x00004080}});
    return f;
}

// Two DVD discs, disc 2 behind a picture running past its edge and into its hub.
SurfaceFixture DvdDouble()
{
    SurfaceFixture f(u"DVD", u"Double");
    Colour(f, u"Disc 1", 0x00202020);
    AddTracks(f, u"Disc 1"_s, QRect(400, 2700, 3800, 1500), u"Bottom"_s, u"Multi-Line"_s);
    CRichChild& photo =
        AddPicture(f, u"Image(1)"_s, u"Disc 2"_s, QRect(100, 100, 800, 800), CXIMAGE_FORMAT_JPG, 7);
    PlaceBackground(f.design, photo, {0, 0, 150}, u"DVD");
    AddText(f, u"Text 1"_s, u"Disc 2"_s, QRect(500, 500, 3600, 800)).angle(u"180 degrees"_s);
    SetText(*f.design.FindItem(u"Text 1"), u"Upside down\b"_s, {{0, Arial(280), 0x0000ff00}}, 3);
    return f;
}

// A single disc duplicated onto the second disc position.
SurfaceFixture DuplicateDisc()
{
    SurfaceFixture f(u"Jewel", u"Single", DiscPositionMode::DuplicateDisc);
    Colour(f, u"Disc 1", 0x00a0ffff);
    AddPicture(f, u"Image(1)"_s, u"Disc 1"_s, QRect(300, 1500, 1200, 1500), CXIMAGE_FORMAT_BMP, 8);
    AddText(f, u"Text 1"_s, u"Disc 1"_s, QRect(2800, 1700, 1600, 1200)).wrapStyle(u"Word-Wrap"_s);
    SetText(*f.design.FindItem(u"Text 1"), u"Copied to both discs\b"_s, {{0, Arial(200), 0x00000080}});
    return f;
}

struct Golden
{
    const char* file;
    std::function<SurfaceFixture()> design;
    ExportChoices choices;
};

const Golden kGoldens[] = {
    {"jewel-single-front", JewelSingle, {kFrontLabel, k150Dpi, 3, 2}},
    {"jewel-single-back", JewelSingle, {kBackLabel, k150Dpi, 3, 1}},
    {"jewel-single-disc1", JewelSingle, {kDisc1Label, k150Dpi, 1, 0}},
    {"jewel-double-disc1", JewelDouble, {kDisc1Label, k150Dpi, 1, 3}},
    {"jewel-double-disc2", JewelDouble, {kDisc2Label, k150Dpi, 0, 0}},
    {"dvd-single-front", DvdSingle, {kFrontLabel, k150Dpi, 1, 0}},
    {"dvd-single-back", DvdSingle, {kBackLabel, k150Dpi, 2, 2}},
    {"dvd-single-disc1", DvdSingle, {kDisc1Label, k150Dpi, 3, 1}},
    {"dvd-double-disc1", DvdDouble, {kDisc1Label, k150Dpi, 0, 2}},
    {"dvd-double-disc2", DvdDouble, {kDisc2Label, k150Dpi, 1, 3}},
    {"duplicate-disc1", DuplicateDisc, {kDisc1Label, k150Dpi, 1, 0}},
    {"duplicate-disc2", DuplicateDisc, {kDisc2Label, k150Dpi, 1, 0}},
};

class GoldenExportTest : public ::testing::TestWithParam<Golden>
{
};

TEST_P(GoldenExportTest, ExportMatchesTheRecordedPixels)
{
    const Golden& golden = GetParam();
    SurfaceFixture f = golden.design();
    QTemporaryDir dir;
    const QString path = dir.filePath(u"label.png"_s);
    ASSERT_TRUE(ExportLabel(f.design, golden.choices, path));
    const QImage exported = QImage(path).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(exported.isNull());

    const QString name = QString::fromLatin1(golden.file) + u".png"_s;
    if (const QByteArray record = qgetenv("TOVRELLINE_RECORD_GOLDEN"); !record.isEmpty()) {
        const QDir into(QString::fromLocal8Bit(record));
        ASSERT_TRUE(exported.save(into.filePath(name)));
        return;
    }
    const QImage expected =
        QImage(QStringLiteral(TOVRELLINE_TEST_DATA "/golden/") + name).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(expected.isNull()) << name.toStdString();
    ASSERT_EQ(exported.size(), expected.size());
    int differing = 0;
    QPoint first(-1, -1);
    for (int y = 0; y < expected.height(); ++y) {
        const auto* want = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
        const auto* got = reinterpret_cast<const QRgb*>(exported.constScanLine(y));
        for (int x = 0; x < expected.width(); ++x) {
            if (want[x] != got[x] && differing++ == 0)
                first = QPoint(x, y);
        }
    }
    EXPECT_EQ(differing, 0) << "first at " << first.x() << ", " << first.y();
}

INSTANTIATE_TEST_SUITE_P(Designs, GoldenExportTest, ::testing::ValuesIn(kGoldens),
                         [](const ::testing::TestParamInfo<Golden>& info) {
                             QString name = QString::fromLatin1(info.param.file);
                             return name.remove(u'-').toStdString();
                         });

} // namespace
} // namespace tvl
