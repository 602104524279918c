#include "EarlyFileBuilder.h"

#include "document/archive/CArchive.h"
#include "document/archive/ObjectArray.h"
#include "document/model/CProperty.h"
#include "document/model/CText.h"
#include "images/CxImage.h"

#include <QBuffer>
#include <QImage>

namespace tvl {
namespace {

// The placeholder records as an early release wrote them: the same class names and fields, with the
// early version as the class schema.
template <class Record>
class EarlyRecord : public Record
{
public:
    explicit EarlyRecord(const RecordClass& recordClass)
        : m_class(recordClass)
    {
    }
    const RecordClass& recordClass() const override { return m_class; }

private:
    const RecordClass& m_class;
};

void PutCount(CArchive& archive, std::uint16_t tag, qint64 count)
{
    archive.PutWord(tag);
    switch (tag) {
    case 2:
    case 11:
    case 18:
        archive.PutWord(static_cast<std::uint16_t>(count));
        break;
    case 5:
    case 6:
    case 7:
        archive.PutDword(static_cast<std::uint32_t>(count));
        archive.PutDword(static_cast<std::uint32_t>(static_cast<std::uint64_t>(count) >> 32));
        break;
    case 16:
    case 17:
        archive.PutByte(static_cast<std::uint8_t>(count));
        break;
    default:
        archive.PutInt32(static_cast<std::int32_t>(count));
    }
}

} // namespace

size_t EarlyFile::AddGroup(const QString& item,
                           std::initializer_list<std::pair<const char*, QString>> properties)
{
    const size_t first = rows.size();
    for (const auto& [property, value] : properties)
        rows.push_back(EarlyRow{item, QString::fromLatin1(property), value, {}, 1, 0});
    return first;
}

size_t EarlyFile::AddPage(const QString& name, const QString& pageCode, const QString& width,
                          const QString& height)
{
    return AddGroup(name, {{"Item Type", QStringLiteral("Page")},
                           {"Page", pageCode},
                           {"Paper", QStringLiteral("Letter")},
                           {"Left", QStringLiteral("0")},
                           {"Top", QStringLiteral("0")},
                           {"Width", width},
                           {"Height", height}});
}

size_t EarlyFile::AddFrontCover(const QString& left, const QString& width, bool folded)
{
    return AddGroup(QStringLiteral("Front Cover"),
                    {{"Item Type", QStringLiteral("Cover")},
                     {"Page", QStringLiteral("2")},
                     {"Left", left},
                     {"Top", QStringLiteral("0.5")},
                     {"Width", width},
                     {"Height", QStringLiteral("4.724")},
                     {"Folded Cover", folded ? QStringLiteral("Yes") : QStringLiteral("No")},
                     {"Orientation", QStringLiteral("Portrait")},
                     {"Color", QStringLiteral("255,255,200")}});
}

size_t EarlyFile::AddBackCover(const QString& spine)
{
    return AddGroup(QStringLiteral("Back Cover"), {{"Item Type", QStringLiteral("Cover")},
                                                   {"Page", QStringLiteral("3")},
                                                   {"Left", QStringLiteral("1.5")},
                                                   {"Top", QStringLiteral("2")},
                                                   {"Width", QStringLiteral("5.906")},
                                                   {"Height", QStringLiteral("4.626")},
                                                   {"Spine Width", spine},
                                                   {"Orientation", QStringLiteral("Landscape")},
                                                   {"Color", QStringLiteral("16,32,48")}});
}

size_t EarlyFile::AddDisc(const QString& name, const QString& margin)
{
    return AddGroup(name, {{"Item Type", QStringLiteral("Cover")},
                           {"Page", QStringLiteral("1")},
                           {"Left", QStringLiteral("1.938")},
                           {"Top", QStringLiteral("0.625")},
                           {"Inner Diameter", QStringLiteral("1.6")},
                           {"Outer Diameter", QStringLiteral("4.625")},
                           {"Orientation", QStringLiteral("Portrait")},
                           {"Color", QStringLiteral("0,0,255")},
                           {"Hub", QStringLiteral("Yes")},
                           {"Text Margin", margin}});
}

size_t EarlyFile::AddBoundary(const QString& name, const QString& surface)
{
    return AddGroup(name, {{"Item Type", QStringLiteral("Boundary")},
                           {"Page", QStringLiteral("2")},
                           {"Surface", surface},
                           {"Color", QStringLiteral("1,2,3")},
                           {"Left", QStringLiteral("1")},
                           {"Top", QStringLiteral("0.5")},
                           {"Width", QStringLiteral("2.5")},
                           {"Height", QStringLiteral("4.724")}});
}

size_t EarlyFile::AddImage(const QString& name, const QString& numberOrBackground, const QString& surface,
                           int pictureIndex, const QString& lock)
{
    const size_t first = AddGroup(name, {{"Item Type", QStringLiteral("Image")},
                                         {"Page", QStringLiteral("2")},
                                         {"Surface", surface},
                                         {"Picture", QString::number(pictureIndex)},
                                         {"Left", QStringLiteral("1.25")},
                                         {"Top", QStringLiteral("0.75")},
                                         {"Width", QStringLiteral("2")},
                                         {"Height", QStringLiteral("1.5")}});
    if (version >= 5) {
        AddGroup(name, {{"Lock Aspect Ratio", lock},
                        {"Set as Background", QStringLiteral("No")},
                        {"Bring to Front", QStringLiteral("No")}});
    } else {
        AddGroup(name,
                 {{"Aspect Ratio", lock == u"Yes" ? QStringLiteral("Locked") : QStringLiteral("Free")}});
    }
    rows[first].choices = numberOrBackground;
    return first;
}

size_t EarlyFile::AddText(const QString& name, const QString& surface, const QString& alignment,
                          const QString& angle, const QString& multiLine)
{
    return AddGroup(name, {{"Item Type", QStringLiteral("Text")},
                           {"Page", QStringLiteral("2")},
                           {"Color", QStringLiteral("10,20,30")},
                           {"Surface", surface},
                           {"Font", QStringLiteral("Arial,0,700,1")},
                           {"Left", QStringLiteral("1.5")},
                           {"Top", QStringLiteral("1")},
                           {"Width", QStringLiteral("3")},
                           {"Height", QStringLiteral("0.5")},
                           {"Alignment", alignment},
                           {"Size", QStringLiteral("180`18 pt")},
                           {"Multi-Line", multiLine},
                           {"Angle", angle}});
}

size_t EarlyFile::AddTrack(const QString& name, const QString& pageCode, const QString& numbers,
                           const QString& times, const QString& layout, const QString& wrap)
{
    return AddGroup(name,
                    {{"Item Type", QStringLiteral("Track")},
                     {"Page", pageCode},
                     {"Color", QStringLiteral("0,0,0")},
                     {"Surface", pageCode == u"1" ? QStringLiteral("Disc 1") : QStringLiteral("Back Cover")},
                     {"Font", QStringLiteral("Verdana,0,400,0")},
                     {"Left", QStringLiteral("2")},
                     {"Top", QStringLiteral("2.5")},
                     {"Width", QStringLiteral("3")},
                     {"Height", QStringLiteral("2")},
                     {"Alignment", QStringLiteral("Bottom Right")},
                     {"Size", QStringLiteral("90")},
                     {"Track Numbers", numbers},
                     {"Track Times", times},
                     {"Layout", layout},
                     {"Wrap Tracks", wrap}});
}

QByteArray BuildEarlyFile(const EarlyFile& file)
{
    // A file without text rows still names its property class with some early version.
    const auto schema = static_cast<std::uint16_t>(file.version);
    const RecordClass propertyClass{"CProperty", file.version < 0 ? std::uint16_t{1} : schema, true, nullptr};
    const RecordClass textClass{"CText", schema, true, nullptr};

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    CArchive archive(buffer, CArchive::Mode::Store);

    std::vector<std::unique_ptr<CProperty>> rows;
    for (const EarlyRow& source : file.rows) {
        auto row = std::make_unique<EarlyRecord<CProperty>>(propertyClass);
        row->itemName = source.item;
        row->propertyName = source.property;
        row->value = source.value;
        row->choices = source.choices;
        row->flag = source.flag;
        row->orderNumber = source.order;
        rows.push_back(std::move(row));
    }
    PutObjectArray(archive, rows);

    std::vector<std::unique_ptr<CText>> texts;
    for (const EarlyTextRow& source : file.texts) {
        auto text = std::make_unique<EarlyRecord<CText>>(textClass);
        text->number = static_cast<int>(texts.size());
        text->name = source.name;
        text->kind = source.kind;
        text->value = source.value;
        texts.push_back(std::move(text));
    }
    PutObjectArray(archive, texts);

    archive.PutString(file.pageCode);
    archive.PutInt32(0);
    archive.PutString(file.surface);
    archive.PutRaw(QByteArray(8, '\0'));
    archive.PutInt32(file.statedImageCount.value_or(static_cast<int>(file.pictures.size())));
    archive.PutString(file.discMode);
    if (file.version >= 5)
        archive.PutInt32(file.imageSerial);

    for (const EarlyPictureBlock& picture : file.pictures) {
        const qint64 count = picture.statedCount.value_or(picture.bytes.size());
        if (file.version <= 1) {
            PutCount(archive, picture.tag, count);
        } else {
            archive.PutText(QByteArray::number(picture.code) + '\n' + QByteArray::number(count) + '\n');
        }
        archive.PutRaw(picture.bytes);
    }
    archive.Flush();
    return bytes;
}

QByteArray EncodedPicture(int type, int width, int height)
{
    QImage pixels(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            pixels.setPixel(x, y, qRgb(x * 40, y * 50, 120));
    }
    CxImage source;
    source.FromBitmap(pixels);
    QByteArray encoded;
    source.EncodeBuffer(encoded, type);
    return encoded;
}

} // namespace tvl
