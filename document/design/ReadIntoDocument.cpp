#include "document/design/ReadIntoDocument.h"

#include "document/design/DesignDocument.h"

namespace tvl {

FileResult<DesignReadNotes> ReadIntoDocument(DesignDocument& document, const QString& path,
                                             PictureReading pictures, const PrepareReadDesign& prepare)
{
    FileResult<DesignContent> read = ReadDesignFile(path, pictures);
    if (!read)
        return read.error();
    DesignContent& content = read.value();

    document.BeginReplace();
    LabelDesign& design = document.MutableDesign();
    // The items move whole, so the picture headers still point at them.
    design.ReplaceItems(std::move(content.design.itemList));
    design.albumHeader = content.design.albumHeader;
    document.file().fileVersion = content.fileVersion;
    const CAlbumInfo& header = design.albumHeader;
    LiveDesignState live{header.currentSurface, header.currentPageCode, header.discMode, header.caseKind};
    if (prepare)
        prepare(design, live);
    document.EndReplace(live);
    return DesignReadNotes{std::move(content.reportedErrors), std::move(content.pictureHeaders)};
}

} // namespace tvl
