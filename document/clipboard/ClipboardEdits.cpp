#include "document/clipboard/ClipboardEdits.h"

#include "document/design/DesignDocument.h"
#include "document/design/EditScope.h"
#include "document/design/FitToPicture.h"
#include "document/design/NewItems.h"
#include "images/CxImage.h"

namespace tvl {
namespace {

constexpr int kPastedPictureSide = 1000;

QString TrackLayoutFor(const QString& layout, bool discSheet)
{
    if (discSheet)
        return layout == u"1 Column" || layout == u"Table Format" ? QStringLiteral("Bottom") : layout;
    if (layout == u"1 Column" || layout == u"2 Columns" || layout == u"Table Format")
        return layout;
    return QStringLiteral("1 Column");
}

QString PastedName(const LabelDesign& design, const CRichChild& item)
{
    QString base = item.name;
    const qsizetype bracket = base.indexOf(u'(');
    if (bracket >= 0)
        base.truncate(bracket);
    if (base.isEmpty())
        base = ItemKindName(item.kind);
    // Free text gets the parenthesised form too, so a copy of "Text 1" is not taken for a new "Text n".
    for (int n = 1;; ++n) {
        const QString candidate = base + u'(' + QString::number(n) + u')';
        if (design.IndexOf(candidate) < 0)
            return candidate;
    }
}

CRichChild* InsertPasted(DesignDocument& document, std::unique_ptr<CRichChild> item)
{
    EditScope scope(document, EditKind::InsertItem);
    CRichChild* inserted = document.InsertItem(std::move(item));
    if (inserted)
        document.Select(inserted->name);
    return inserted;
}

} // namespace

PastePlace FindPastePlace(const DesignDocument& document, std::optional<QPoint> contextPoint)
{
    const CRichChild* cover = document.design().FindCover(document.currentSurface());
    if (!cover)
        return {};
    if (contextPoint && !cover->Rect().contains(*contextPoint))
        contextPoint.reset();
    return {true, contextPoint};
}

CRichChild* PasteItem(DesignDocument& document, std::unique_ptr<CRichChild> item,
                      std::optional<QPoint> contextPoint, const std::function<int()>& jitter)
{
    const PastePlace place = FindPastePlace(document, contextPoint);
    if (!item || !place.surfaceHasCover)
        return nullptr;
    const LabelDesign& design = document.design();
    const CRichChild& cover = *design.FindCover(document.currentSurface());
    item->AttachRecorder(nullptr);
    item->name = PastedName(design, *item);
    item->pageCode = cover.pageCode;
    item->surface = cover.name;
    if (item->kind == ItemKind::Track)
        item->textLayout(TrackLayoutFor(item->textLayout(), cover.pageCode == u"1"));
    const QSize size(item->width(), item->height());
    const QRect rect = place.centre
                           ? CentredOn(*place.centre, size)
                           : PlaceNewItem(design, cover.name, document.Selected(), size, true, jitter);
    item->left(rect.left());
    item->top(rect.top());
    item->width(rect.width());
    item->height(rect.height());
    return InsertPasted(document, std::move(item));
}

CRichChild* PastePicture(DesignDocument& document, std::shared_ptr<CxImage> picture,
                         std::optional<QPoint> contextPoint, const std::function<int()>& jitter)
{
    const PastePlace place = FindPastePlace(document, contextPoint);
    if (!picture || !picture->IsValid() || !place.surfaceHasCover)
        return nullptr;
    if (picture->HasAlpha()) {
        picture->SetTransparentColor(0xffffffffu);
        picture->FlattenAlpha();
    }
    const LabelDesign& design = document.design();
    std::unique_ptr<CRichChild> item = MakePictureItem(design, document.currentSurface(), {}, QString());
    if (!item)
        return nullptr;
    item->image = std::move(picture);
    int width = kPastedPictureSide;
    int height = kPastedPictureSide;
    FitToPicture(*item, width, height);
    const QSize size(width, height);
    const QRect rect = place.centre
                           ? CentredOn(*place.centre, size)
                           : PlaceNewItem(design, item->surface, document.Selected(), size, false, jitter);
    item->left(rect.left());
    item->top(rect.top());
    item->width(rect.width());
    item->height(rect.height());
    return InsertPasted(document, std::move(item));
}

bool CanDeleteSelected(const DesignDocument& document)
{
    const CRichChild* selected = document.Selected();
    return selected && selected->kind != ItemKind::Cover && selected->kind != ItemKind::Page &&
           selected->kind != ItemKind::Boundary;
}

bool DeleteSelected(DesignDocument& document)
{
    if (!CanDeleteSelected(document))
        return false;
    EditScope scope(document, EditKind::DeleteItem);
    // Names are how the document addresses items; the selected item is the one its name finds first.
    if (!document.DeleteItem(document.Selected()->name))
        return false;
    document.Select(document.currentSurface());
    return true;
}

} // namespace tvl
