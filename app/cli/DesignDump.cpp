#include "app/cli/DesignDump.h"

#include "document/design/DesignDocument.h"
#include "document/files/PictureBlock.h"
#include "images/CxImage.h"

#include <QHash>
#include <QJsonArray>

namespace tvl {
namespace {

QString Key(const char* key)
{
    return QString::fromLatin1(key);
}

QJsonObject DumpPicture(int type, QSize size, qint64 sourceBytes)
{
    return QJsonObject{
        {Key("type"), type},
        {Key("width"), size.width()},
        {Key("height"), size.height()},
        {Key("sourceBytes"), sourceBytes},
    };
}

// A picture read only as far as its headers reports what a decode would hold: JPEG pictures keep their
// encoded bytes, the others none.
QJsonValue DumpImage(const CRichChild& item, const PictureHeader* header)
{
    if (header)
        return DumpPicture(header->type, header->size,
                           header->type == CXIMAGE_FORMAT_JPG ? header->bytes : 0);
    const CxImage* image = item.image.get();
    if (!image)
        return QJsonValue::Null;
    return DumpPicture(image->Type(), QSize(image->Width(), image->Height()), image->SourceBytes().size());
}

QJsonObject DumpItem(const CRichChild& item, const PictureHeader* header)
{
    QJsonArray fonts;
    for (size_t slot = 0; slot < item.fonts.size(); ++slot) {
        if (const auto& font = item.fonts[slot]) {
            fonts.append(QJsonObject{
                {Key("slot"), static_cast<qint64>(slot)},
                {Key("face"), font->faceName},
                {Key("height"), font->height},
                {Key("weight"), font->weight},
                {Key("italic"), font->italic},
            });
        }
    }
    QJsonArray colors;
    for (size_t slot = 0; slot < item.colors.size(); ++slot) {
        if (const auto& color = item.colors[slot]) {
            const QString text = QString::asprintf("#%02X%02X%02X", *color & 0xff, (*color >> 8) & 0xff,
                                                   (*color >> 16) & 0xff);
            colors.append(QJsonObject{{Key("slot"), static_cast<qint64>(slot)}, {Key("color"), text}});
        }
    }
    QJsonArray underlines;
    for (const std::uint16_t underline : item.underlines)
        underlines.append(underline);

    return QJsonObject{
        {Key("name"), item.name},
        {Key("itemType"), item.KindName()},
        {Key("pageCode"), item.pageCode},
        {Key("surface"), item.surface},
        {Key("left"), item.left()},
        {Key("top"), item.top()},
        {Key("width"), item.width()},
        {Key("height"), item.height()},
        {Key("alignment"), item.alignment()},
        {Key("angle"), item.angle()},
        {Key("trackNumbers"), item.trackNumbers()},
        {Key("textLayout"), item.textLayout()},
        {Key("wrapStyle"), item.wrapStyle()},
        {Key("coverSpine"), item.coverSpine},
        {Key("textMargin"), item.textMargin()},
        {Key("bLinkText"), item.bLinkText()},
        {Key("bAspectRatio"), item.bAspectRatio()},
        {Key("bBackground"), item.bBackground()},
        {Key("bAutoFit"), item.bAutoFit()},
        {Key("coverFolded"), item.coverFolded},
        {Key("characters"), item.Text()},
        {Key("fonts"), fonts},
        {Key("colors"), colors},
        {Key("underlines"), underlines},
        {Key("image"), DumpImage(item, header)},
    };
}

} // namespace

QJsonObject DumpDesign(const DesignDocument& document, const std::vector<PictureHeader>& pictures)
{
    const CAlbumInfo& header = document.design().albumHeader;
    QJsonObject fields{
        {Key("currentSurface"), header.currentSurface},
        {Key("currentPageCode"), header.currentPageCode},
        {Key("discMode"), header.discMode},
        {Key("caseKind"), header.caseKind},
    };
    for (int field = 0; field < kAlbumFieldCount; ++field) {
        const QString key = AlbumFieldKey(static_cast<AlbumField>(field));
        fields[key] = header.discs[0][static_cast<size_t>(field)];
        fields[key + QStringLiteral(" - Disc 2")] = header.discs[1][static_cast<size_t>(field)];
    }
    QHash<const CRichChild*, const PictureHeader*> headers;
    for (const PictureHeader& header : pictures)
        headers.insert(header.item, &header);
    QJsonArray items;
    for (const auto& item : document.design().itemList)
        items.append(DumpItem(*item, headers.value(item.get())));
    return QJsonObject{
        {Key("fileVersion"), document.file().fileVersion},
        {Key("header"), fields},
        {Key("itemList"), items},
    };
}

} // namespace tvl
