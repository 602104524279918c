#pragma once

#include <QSize>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace tvl {

class CArchive;
class CRichChild;
class LabelDesign;

// What the headers of a stored picture say: its format number, its pixel size as a decode would give it,
// and how many encoded bytes the block holds.
struct PictureHeader
{
    const CRichChild* item = nullptr;
    int type = 0;
    QSize size;
    qint64 bytes = 0;
};

// The picture of an "Image" item after the item list: its format code and byte count as decimal text
// lines, then the encoded file. JPEG pictures write the bytes they were loaded from; WMF pictures, and
// pictures whose own format cannot be encoded, are written as PNG. An item that keeps an undecoded picture
// or a kept one writes its bytes and code back unchanged; an item without any picture writes a count of 0.
// Returns false when the picture cannot be encoded at all.
bool PutPictureBlock(CArchive& archive, const CRichChild& item);

// Reads one block into the item. A count of 0 leaves the item without a picture; bytes that do not decode
// (or a code the image layer does not know) leave it without a picture that can be shown, but kept in
// undecodedPicture. A JPEG is only probed: its pixels are decoded when first needed (see
// CxImage::LoadBufferDeferred). A count the file cannot hold raises the end-of-file error.
void GetPictureBlock(CArchive& archive, CRichChild& item);
// Reads one block without decoding its pixels; nothing for an empty block or one whose headers are not
// those of a picture the image layer would take, whose bytes are then kept in the item's undecodedPicture
// as GetPictureBlock keeps them.
std::optional<PictureHeader> GetPictureBlockHeader(CArchive& archive, CRichChild& item);

// Reads one block into the item's keptPicture without decoding its pixels, for a save that writes it back
// unchanged. Metafiles, which are never written as such, and blocks whose headers the image layer refuses
// are read as GetPictureBlock reads them.
void GetPictureBlockKept(CArchive& archive, CRichChild& item);

// The line that tells the user which items hold a picture that could not be shown; empty when none does.
QString UndecodedPictureNotice(const LabelDesign& design);

} // namespace tvl
