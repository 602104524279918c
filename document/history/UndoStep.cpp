#include "document/history/UndoStep.h"

namespace tvl {

std::unique_ptr<CRichChild> MakeEmptySnapshot(const CRichChild& item)
{
    auto snapshot = std::make_unique<CRichChild>();
    snapshot->name = item.name;
    snapshot->SetKindName(item.KindName());
    snapshot->pageCode = item.pageCode;
    snapshot->surface = item.surface;
    snapshot->imagePath = item.imagePath;
    snapshot->bAspectRatio(-1);
    snapshot->bLinkText(-1);
    snapshot->bAutoFit(-1);
    snapshot->bBackground(-1);
    snapshot->textMargin(-1);
    return snapshot;
}

std::unique_ptr<CRichChild> MakeFullCopy(const CRichChild& item)
{
    auto copy = std::make_unique<CRichChild>(item);
    copy->AttachRecorder(nullptr);
    return copy;
}

} // namespace tvl
