#include "document/files/early/EarlyDesignReader.h"

#include "document/archive/CArchive.h"
#include "document/files/early/EarlyItems.h"
#include "document/files/early/EarlyPictures.h"
#include "document/model/LabelDesign.h"

namespace tvl {
namespace {

constexpr int kAlbumError = 674;
constexpr int kItemsError = 675;
constexpr int kFirstSerialVersion = 5;
constexpr int kLegacyBlockSize = 8;

void ReadEarlyHeader(CArchive& archive, int fileVersion, CAlbumInfo& header)
{
    header.currentPageCode = archive.GetString();
    header.legacyValue = archive.GetInt32();
    header.currentSurface = archive.GetString();
    if (archive.GetRaw(kLegacyBlockSize).size() != kLegacyBlockSize)
        throw ArchiveError(ArchiveError::Cause::EndOfFile);
    header.legacyImageCount = archive.GetInt32();
    // Anything but a double design opens as a single one rather than leaving the view a mode it has
    // no surfaces for.
    const QString discMode = archive.GetString();
    header.discMode = discMode == u"Double" ? discMode : QStringLiteral("Single");
    if (fileVersion >= kFirstSerialVersion)
        header.legacyImageSerial = archive.GetInt32();
}

} // namespace

EarlyReadResult ReadEarlyDesign(CArchive& archive, int fileVersion, PropertyRows propertyRows,
                                TextRows textRows, LabelDesign& design)
{
    EarlyReadResult result;
    CAlbumInfo& header = design.albumHeader;
    try {
        result.stage = EarlyStageHeader;
        ReadEarlyHeader(archive, fileVersion, header);
        result.stage = EarlyStagePictures;
        const EarlyPictureList pictures = ReadEarlyPictures(archive, fileVersion, header.legacyImageCount);

        result.stage = EarlyStageRows;
        int pictureCounter = 0;
        const PropertyRows rows = NormaliseEarlyRows(std::move(propertyRows), fileVersion, pictureCounter);
        if (fileVersion < kFirstSerialVersion)
            header.legacyImageSerial = pictureCounter;

        result.stage = EarlyStageAlbum;
        if (!EarlyTextRowsToAlbum(textRows, design))
            result.reportedErrors.push_back(kAlbumError);
        result.stage = EarlyStageItems;
        if (!EarlyRowsToItems(rows, textRows, pictures, design))
            result.reportedErrors.push_back(kItemsError);
    } catch (const ArchiveError&) {
        result.ok = false;
    } catch (const std::bad_alloc&) {
        result.ok = false;
    }
    return result;
}

} // namespace tvl
