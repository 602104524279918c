#include "document/files/early/EarlyPictures.h"

#include "document/archive/CArchive.h"
#include "document/files/PictureBlock.h"
#include "document/model/CRichChild.h"
#include "images/CxImage.h"

namespace tvl {
namespace {

constexpr int kFirstTextBlockVersion = 2;

[[noreturn]] void Damaged()
{
    throw ArchiveError(ArchiveError::Cause::EndOfFile);
}

// The byte count after a version-1 type tag, in the width the tag stands for.
std::int64_t TaggedByteCount(CArchive& archive, std::uint16_t tag)
{
    switch (tag) {
    case 2:
    case 11:
    case 18:
        return static_cast<std::int16_t>(archive.GetWord());
    case 3:
    case 4:
    case 10:
    case 19:
    case 22:
    case 23:
        return archive.GetInt32();
    case 5:
    case 6:
    case 7: {
        const std::uint64_t low = archive.GetDword();
        const std::uint64_t high = archive.GetDword();
        return static_cast<std::int64_t>(high << 32 | low);
    }
    case 16:
    case 17:
        return archive.GetByte();
    default:
        Damaged();
    }
}

std::shared_ptr<CxImage> ReadTaggedPicture(CArchive& archive)
{
    const std::int64_t count = TaggedByteCount(archive, archive.GetWord());
    if (count < 0)
        Damaged();
    if (const auto remaining = archive.RemainingBytes(); remaining && count > *remaining)
        Damaged();
    const QByteArray bytes = archive.GetRaw(count);
    if (bytes.size() != count)
        Damaged();
    if (bytes.isEmpty())
        return nullptr;
    for (const int type : {CXIMAGE_FORMAT_ICO, CXIMAGE_FORMAT_BMP, CXIMAGE_FORMAT_JPG}) {
        auto image = std::make_shared<CxImage>();
        if (image->LoadBuffer(QByteArrayView(bytes), type))
            return image;
    }
    return nullptr;
}

std::shared_ptr<CxImage> ReadPictureBlock(CArchive& archive)
{
    CRichChild holder;
    GetPictureBlock(archive, holder);
    return holder.image;
}

} // namespace

EarlyPictureList ReadEarlyPictures(CArchive& archive, int fileVersion, int count)
{
    if (count < 0)
        Damaged();
    EarlyPictureList pictures;
    for (int i = 0; i < count; ++i) {
        pictures.push_back(fileVersion < kFirstTextBlockVersion ? ReadTaggedPicture(archive)
                                                                : ReadPictureBlock(archive));
    }
    return pictures;
}

} // namespace tvl
