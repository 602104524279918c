#include "document/design/ItemGeometry.h"

#include "document/design/DesignDocument.h"
#include "document/design/EditScope.h"
#include "document/model/SurfaceNames.h"

#include <vector>

namespace tvl {
namespace {

int Scaled(int value, double factor)
{
    return static_cast<int>(value * factor);
}

void PlaceCover(DesignDocument& document, EditScope& scope, CRichChild& cover, const GeometryChange& change)
{
    LabelDesign& design = document.MutableDesign();
    UndoHistory& history = document.history();
    std::vector<CRichChild*> carried;
    for (const auto& item : design.itemList) {
        if (item->surface == cover.name && item->kind != ItemKind::Cover)
            carried.push_back(item.get());
    }
    // The carried items change page and more than their placement: each is kept whole for undo.
    for (CRichChild* item : carried)
        history.RecordChange(UndoKey::PrevRich, item, {}, {});

    const int oldLeft = cover.left();
    const int oldTop = cover.top();
    const int oldWidth = cover.width();
    cover.left(change.left.value_or(oldLeft));
    cover.top(change.top.value_or(oldTop));
    cover.width(change.width.value_or(oldWidth));
    cover.height(change.height.value_or(cover.height()));
    const int dx = cover.left() - oldLeft;
    const int dy = cover.top() - oldTop;
    const bool disc = cover.IsDiscSurface();
    // A disc whose old width is 0 gives no factor to scale by.
    const double factor = disc && oldWidth != 0 ? static_cast<double>(cover.width()) / oldWidth : 0.0;

    for (CRichChild* item : carried) {
        if (item->pageCode != cover.pageCode) {
            item->pageCode = cover.pageCode;
            item->MarkChanged();
        }
        item->left(item->left() + dx);
        item->top(item->top() + dy);
        if (item->kind == ItemKind::Boundary && !disc) {
            item->height(cover.height());
            if (cover.name == kBackCover) {
                item->width(cover.coverSpine);
                if (item->name == kRightTab)
                    item->left(cover.left() + cover.width() - cover.coverSpine);
            } else if (cover.name == kFrontCover) {
                item->width(cover.width() / 2);
            }
        }
        if (factor != 0.0 && factor != 1.0) {
            item->left(cover.left() + Scaled(item->left() - cover.left(), factor));
            item->top(cover.top() + Scaled(item->top() - cover.top(), factor));
            item->width(Scaled(item->width(), factor));
            item->height(Scaled(item->height(), factor));
        }
        scope.Touch(*item, ChangedAspect::Geometry);
    }
    for (CRichChild* item : carried)
        history.RecordChange(UndoKey::NextRich, item, {}, {});
}

} // namespace

bool SetItemGeometry(DesignDocument& document, const QString& name, const GeometryChange& change)
{
    CRichChild* item = document.MutableDesign().FindItem(name);
    if (!item || change.IsEmpty())
        return false;
    const bool content =
        item->kind == ItemKind::Text || item->kind == ItemKind::Track || item->kind == ItemKind::Image;
    if (!content && item->kind != ItemKind::Cover)
        return false;
    EditScope scope(document, EditKind::MoveResize);
    if (content) {
        if (change.left)
            item->left(*change.left);
        if (change.top)
            item->top(*change.top);
        if (change.width)
            item->width(*change.width);
        if (change.height)
            item->height(*change.height);
    } else {
        PlaceCover(document, scope, *item, change);
    }
    scope.Touch(*item, ChangedAspect::Geometry);
    return true;
}

bool SwapDiscPositions(DesignDocument& document)
{
    const LabelDesign& design = document.design();
    const CRichChild* disc1 = design.FindCover(kDisc1);
    const CRichChild* disc2 = design.FindCover(kDisc2);
    if (!disc1 || !disc2)
        return false;
    const QRect first(disc1->left(), disc1->top(), disc1->width(), disc1->height());
    const QRect second(disc2->left(), disc2->top(), disc2->width(), disc2->height());
    EditScope scope(document, EditKind::MoveResize);
    const DiscPositionMode old = document.discPositionMode();
    const DiscPositionMode swapped =
        old == DiscPositionMode::DiscOnBottom ? DiscPositionMode::DiscOnTop : DiscPositionMode::DiscOnBottom;
    document.history().RecordChange(UndoKey::DiscPosition, document.MutableDesign().FindCover(kDisc1),
                                    QString::number(static_cast<int>(old)),
                                    QString::number(static_cast<int>(swapped)));
    document.SetDiscPositionMode(swapped);
    SetItemGeometry(document, kDisc1.toString(), GeometryChange::All(second));
    SetItemGeometry(document, kDisc2.toString(), GeometryChange::All(first));
    return true;
}

} // namespace tvl
