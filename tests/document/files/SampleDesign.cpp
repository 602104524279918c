#include "SampleDesign.h"

#include "images/CxImage.h"

#include <QBuffer>
#include <QImage>

namespace tvl {
namespace {

CRichChild& Add(LabelDesign& design, const char* name, const char* type, const char* surface,
                const char* page)
{
    auto item = std::make_unique<CRichChild>();
    item->name = QString::fromLatin1(name);
    item->SetKindName(QString::fromLatin1(type));
    item->surface = QString::fromLatin1(surface);
    item->pageCode = QString::fromLatin1(page);
    return design.InsertItem(std::move(item));
}

void SetText(CRichChild& item, const QString& text, ItemFont font, ItemColor color)
{
    item.characters = ToCharacters(text);
    item.fonts.assign(item.characters.size(), std::nullopt);
    item.colors.assign(item.characters.size(), std::nullopt);
    item.underlines.assign(item.characters.size(), 0);
    if (!item.characters.empty()) {
        item.fonts[0] = font;
        item.colors[0] = color;
    }
}

} // namespace

std::shared_ptr<CxImage> MakePicture(int type)
{
    QImage pixels(7, 5, QImage::Format_RGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        for (int x = 0; x < pixels.width(); ++x)
            pixels.setPixel(x, y, qRgb(x * 30, y * 40, 200));
    }
    CxImage source;
    source.FromBitmap(pixels);
    QByteArray encoded;
    source.EncodeBuffer(encoded, type);
    auto image = std::make_shared<CxImage>();
    image->LoadBuffer(QByteArrayView(encoded), type);
    return image;
}

LabelDesign MakeSampleDesign()
{
    LabelDesign design;
    CAlbumInfo& album = design.albumHeader;
    album.Field(0, AlbumField::Artist) = QStringLiteral("The Artist\b");
    album.Field(0, AlbumField::TrackList) = QStringLiteral("1. \bFirst\b 3:01\b2. \bSecond\b 4:02\b");
    album.Field(1, AlbumField::Genre) = QStringLiteral("Ambient\b");

    for (const char* page : {"Page 1", "Page 2", "Page 3"})
        Add(design, page, "Page", "", page + 5).width(8500);
    CRichChild& front = Add(design, "Front Cover", "Cover", "Front Cover", "2");
    front.coverFolded = 1;
    front.colors = {0x00ffffff};
    CRichChild& back = Add(design, "Back Cover", "Cover", "Back Cover", "3");
    back.coverSpine = 250;
    back.colors = {0x00102030};
    for (const char* disc : {"Disc 1", "Disc 2"}) {
        CRichChild& item = Add(design, disc, "Cover", disc, "1");
        item.width(4625);
        item.height(1600);
        item.textMargin(50);
        item.colors = {0x00ffffff};
    }
    Add(design, "Front Cover (Inside)", "Boundary", "Front Cover", "2").colors = {0x00eeeeee};
    Add(design, "Left Tab", "Boundary", "Back Cover", "3").colors = {0x00ffffff};
    Add(design, "Right Tab", "Boundary", "Back Cover", "3").colors = {std::nullopt};

    CRichChild& freeText = Add(design, "Text 1", "Text", "Disc 1", "1");
    freeText.left(100);
    freeText.top(-20);
    freeText.width(3000);
    freeText.height(400);
    freeText.alignment(QStringLiteral("Center"));
    freeText.angle(QStringLiteral("90 degrees"));
    freeText.wrapStyle(QStringLiteral("Word-Wrap"));
    freeText.bAutoFit(1);
    SetText(freeText, QStringLiteral("Caf\u00e9 \u20ac\rline\b"),
            ItemFont{QStringLiteral("Arial"), 400, 700, 1}, 0x000000ff);
    freeText.fonts[3] = ItemFont{QStringLiteral("Liberation Serif"), 125, 400, 0};
    freeText.colors[6] = 0x00563412;
    freeText.underlines[2] = 1;

    CRichChild& artist = Add(design, "Artist(1)", "Text", "Front Cover", "2");
    artist.bLinkText(1);
    SetText(artist, album.Field(0, AlbumField::Artist), ItemFont{QStringLiteral("Arial"), 200, 400, 0}, 0);

    CRichChild& genre = Add(design, "Genre - Disc 2(1)", "Text", "Disc 2", "1");
    genre.bLinkText(1);
    SetText(genre, album.Field(1, AlbumField::Genre), ItemFont{QStringLiteral("Arial"), 200, 400, 0}, 0);

    CRichChild& tracks = Add(design, "Track List(1)", "Track", "Back Cover", "3");
    tracks.bLinkText(1);
    tracks.trackNumbers(QStringLiteral("Track Numbers && Times"));
    tracks.textLayout(QStringLiteral("Top && Bottom"));
    tracks.wrapStyle(QStringLiteral("Track-Wrap"));
    SetText(tracks, album.Field(0, AlbumField::TrackList), ItemFont{QStringLiteral("Arial"), 100, 400, 0},
            0x00ff0000);

    Add(design, "Text 2", "Text", "Back Cover", "3"); // no characters at all

    const std::pair<const char*, int> pictures[] = {
        {"Image(1)", CXIMAGE_FORMAT_JPG}, {"Image(2)", CXIMAGE_FORMAT_PNG}, {"Image(3)", CXIMAGE_FORMAT_BMP},
        {"Image(5)", CXIMAGE_FORMAT_GIF}, {"Image(6)", CXIMAGE_FORMAT_TIF},
    };
    for (const auto& [name, type] : pictures) {
        CRichChild& image = Add(design, name, "Image", "Front Cover", "2");
        image.bAspectRatio(1);
        image.image = MakePicture(type);
    }
    Add(design, "Image(4)", "Image", "Back Cover", "3").bBackground(1); // without a picture
    return design;
}

LiveDesignState SampleState(const char* discMode, const char* caseKind)
{
    return {QStringLiteral("Front Cover"), QStringLiteral("2"), QString::fromLatin1(discMode),
            QString::fromLatin1(caseKind)};
}

QByteArray WriteToBytes(LabelDesign& design, const LiveDesignState& live)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const FileResult<> written = WriteDesign(buffer, design, live);
    return written ? bytes : QByteArray();
}

FileResult<DesignContent> ReadFromBytes(const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return ReadDesign(buffer);
}

void SetFileVersion(QByteArray& bytes, int version)
{
    const qsizetype name = bytes.indexOf(QByteArrayView("\x05\x00"
                                                        "CText",
                                                        7));
    bytes[name - 2] = static_cast<char>(version & 0xff);
    bytes[name - 1] = static_cast<char>(version >> 8);
}

} // namespace tvl
