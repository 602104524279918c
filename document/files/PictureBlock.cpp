#include "document/files/PictureBlock.h"

#include "document/archive/CArchive.h"
#include "document/model/CRichChild.h"
#include "document/model/LabelDesign.h"
#include "images/CxImage.h"
#include "images/codecs/ImageCodecs.h"

namespace tvl {
namespace {

// A line holding a non-negative decimal number; anything else is a damaged file.
qint64 NumberLine(CArchive& archive)
{
    const std::optional<QByteArray> line = archive.GetLine();
    if (!line)
        throw ArchiveError(ArchiveError::Cause::EndOfFile);
    bool ok = false;
    const qint64 value = line->trimmed().toLongLong(&ok);
    if (!ok || value < 0)
        throw ArchiveError(ArchiveError::Cause::EndOfFile);
    return value;
}

struct StoredBlock
{
    qint64 code = 0;
    QByteArray bytes;
};

// The format code and the encoded bytes; no bytes for a count of 0.
StoredBlock GetBlock(CArchive& archive)
{
    StoredBlock block;
    block.code = NumberLine(archive);
    const qint64 count = NumberLine(archive);
    if (count == 0)
        return block;
    if (const auto remaining = archive.RemainingBytes(); remaining && count > *remaining)
        throw ArchiveError(ArchiveError::Cause::EndOfFile);
    block.bytes = archive.GetRaw(count);
    if (block.bytes.size() != count)
        throw ArchiveError(ArchiveError::Cause::EndOfFile);
    return block;
}

bool IsStoredFormat(qint64 code)
{
    return code >= CXIMAGE_FORMAT_BMP && code <= CXIMAGE_FORMAT_TIF;
}

void PutBlock(CArchive& archive, qint64 code, const QByteArray& bytes)
{
    archive.PutText(QByteArray::number(code) + '\n' + QByteArray::number(bytes.size()) + '\n');
    archive.PutRaw(bytes);
}

// Decodes a block into the item; bytes that do not decode stay with it as its undecoded picture.
void DecodeInto(CRichChild& item, StoredBlock block)
{
    item.image.reset();
    item.undecodedPicture = {};
    item.keptPicture = {};
    if (block.bytes.isEmpty())
        return;
    if (IsStoredFormat(block.code)) {
        // A photograph's pixels wait until something draws or edits them: opening costs no decoding.
        auto image = std::make_shared<CxImage>();
        if (image->LoadBufferDeferred(block.bytes, static_cast<int>(block.code))) {
            item.image = std::move(image);
            return;
        }
    }
    item.undecodedPicture = {block.code, std::move(block.bytes)};
}

} // namespace

bool PutPictureBlock(CArchive& archive, const CRichChild& item)
{
    const CxImage* image = item.image.get();
    // A JPEG writes the bytes it was read from, even one that failed to decode when it was first drawn.
    if (image && image->Type() == CXIMAGE_FORMAT_JPG && !image->SourceBytes().isEmpty()) {
        PutBlock(archive, CXIMAGE_FORMAT_JPG, image->SourceBytes());
        return true;
    }
    if (!image || !image->IsValid()) {
        if (!item.keptPicture.bytes.isEmpty())
            PutBlock(archive, item.keptPicture.code, item.keptPicture.bytes);
        else if (!item.undecodedPicture.bytes.isEmpty())
            PutBlock(archive, item.undecodedPicture.code, item.undecodedPicture.bytes);
        else
            PutBlock(archive, CXIMAGE_FORMAT_PNG, {});
        return true;
    }
    const int type = image->Type();
    CxImage encoder = *image;
    QByteArray bytes;
    const bool ownFormat =
        type >= CXIMAGE_FORMAT_BMP && type <= CXIMAGE_FORMAT_TIF && type != CXIMAGE_FORMAT_WMF;
    if (ownFormat && encoder.EncodeBuffer(bytes, type)) {
        PutBlock(archive, type, bytes);
        return true;
    }
    bytes.clear();
    if (!encoder.EncodeBuffer(bytes, CXIMAGE_FORMAT_PNG))
        return false;
    PutBlock(archive, CXIMAGE_FORMAT_PNG, bytes);
    return true;
}

void GetPictureBlock(CArchive& archive, CRichChild& item)
{
    DecodeInto(item, GetBlock(archive));
}

void GetPictureBlockKept(CArchive& archive, CRichChild& item)
{
    StoredBlock block = GetBlock(archive);
    const bool keepable = IsStoredFormat(block.code) && block.code != CXIMAGE_FORMAT_WMF &&
                          ImageCodecs::probe(block.bytes, static_cast<int>(block.code));
    if (block.bytes.isEmpty() || !keepable) {
        DecodeInto(item, std::move(block));
        return;
    }
    item.image.reset();
    item.undecodedPicture = {};
    item.keptPicture = {block.code, std::move(block.bytes)};
}

QString UndecodedPictureNotice(const LabelDesign& design)
{
    QStringList names;
    for (const auto& item : design.itemList) {
        if (!item->undecodedPicture.bytes.isEmpty())
            names.append(item->name);
    }
    if (names.isEmpty())
        return {};
    if (names.size() == 1)
        return QStringLiteral("A picture could not be shown: %1 (its data is kept as it was)")
            .arg(names.front());
    return QStringLiteral("Pictures could not be shown: %1 (their data is kept as it was)")
        .arg(names.join(QStringLiteral(", ")));
}

std::optional<PictureHeader> GetPictureBlockHeader(CArchive& archive, CRichChild& item)
{
    StoredBlock block = GetBlock(archive);
    item.image.reset();
    item.undecodedPicture = {};
    item.keptPicture = {};
    if (block.bytes.isEmpty())
        return std::nullopt;
    if (IsStoredFormat(block.code)) {
        const auto probed = ImageCodecs::probe(block.bytes, static_cast<int>(block.code));
        if (probed)
            return PictureHeader{&item, probed.value().type, probed.value().size, block.bytes.size()};
    }
    item.undecodedPicture = {block.code, std::move(block.bytes)};
    return std::nullopt;
}

} // namespace tvl
