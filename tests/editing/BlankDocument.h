#pragma once

#include "document/commands/DefaultDesigns.h"
#include "document/design/DesignDocument.h"
#include "document/model/SurfaceNames.h"
#include "images/CxImage.h"
#include "stock/BuildSurfaceItems.h"
#include "stock/CLabelDim.h"

namespace tvl::test {

// Makes a new design of the built-in stocks the open one, its album filled with the sample values and
// disc 1 shown, as File > New does.
inline void OpenBlankDesign(DesignDocument& document, const char* discMode, QStringView caseKind = u"Jewel")
{
    CLabelDim disc;
    CLabelDim caseStock;
    MakeBuiltInStock(disc, u"Disc");
    MakeBuiltInStock(caseStock, caseKind);
    document.BeginReplace();
    LabelDesign& design = document.MutableDesign();
    design.ReplaceItems(
        BuildSurfaceItems(disc, caseStock, QString::fromLatin1(discMode), DiscPositionMode::DiscOnTop));
    design.albumHeader.discMode = QString::fromLatin1(discMode);
    FillSampleAlbum(design);
    document.SetDiscPositionMode(DiscPositionMode::DiscOnTop);
    document.EndReplace(
        {kDisc1.toString(), QStringLiteral("1"), QString::fromLatin1(discMode), caseKind.toString()});
}

// Loads a blank picture whose size the file name tells ("wide.png" 200 × 100); other names fail with a
// message.
inline QString LoadTestPicture(CRichChild& item)
{
    if (!item.imagePath.endsWith(u"wide.png"))
        return QStringLiteral("Invalid image format.");
    item.image = std::make_shared<CxImage>();
    item.image->Create(200, 100, 24, 2);
    return {};
}

} // namespace tvl::test
