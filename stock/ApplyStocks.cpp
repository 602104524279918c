#include "stock/ApplyStocks.h"

#include "document/model/LabelDesign.h"
#include "stock/StockCatalogue.h"

#include <QRect>

namespace tvl {
namespace {

// Moves a surface to rect (origin and size) and the items on it by the same change of left and top;
// from is where the surface counts as having been. Boundary items are left to DeriveBoundaries.
void PlaceSurface(LabelDesign& design, CRichChild& cover, QPoint from, const QRect& rect, const QString& page)
{
    const QPoint shift = rect.topLeft() - from;
    for (const auto& item : design.itemList) {
        if (item.get() == &cover || item->surface != cover.name)
            continue;
        item->pageCode = page;
        if (item->itemType == u"Boundary")
            continue;
        if (!shift.isNull()) {
            item->left(item->left() + shift.x());
            item->top(item->top() + shift.y());
        }
    }
    cover.pageCode = page;
    cover.left(rect.left());
    cover.top(rect.top());
    cover.width(rect.width());
    cover.height(rect.height());
}

void SetRect(CRichChild& item, int left, int top, int width, int height)
{
    item.left(left);
    item.top(top);
    item.width(width);
    item.height(height);
}

void DeriveBoundaries(LabelDesign& design)
{
    if (const CRichChild* front = design.FindCover(u"Front Cover")) {
        if (CRichChild* inside = design.FindItem(u"Front Cover (Inside)")) {
            if (front->coverFolded != 0)
                SetRect(*inside, front->left(), front->top(), front->width() / 2, front->height());
            else
                SetRect(*inside, front->left() - front->width(), front->top(), front->width(),
                        front->height());
        }
    }
    if (const CRichChild* back = design.FindCover(u"Back Cover")) {
        const int spine = back->coverSpine;
        if (CRichChild* leftTab = design.FindItem(u"Left Tab"))
            SetRect(*leftTab, back->left(), back->top(), spine, back->height());
        if (CRichChild* rightTab = design.FindItem(u"Right Tab"))
            SetRect(*rightTab, back->left() + back->width() - spine, back->top(), spine, back->height());
    }
}

void PlaceFrontCover(LabelDesign& design, const CLabelDim& stock)
{
    CRichChild* front = design.FindCover(u"Front Cover");
    if (!front)
        return;
    // Re-base first so the front panel keeps its place when the booklet fold comes or goes.
    QPoint from(front->left(), front->top());
    if (front->coverFolded != 0 && stock.folded == 0)
        from.rx() += front->width() / 2;
    else if (front->coverFolded == 0 && stock.folded != 0)
        from.rx() -= front->width();
    front->coverFolded = stock.folded;
    PlaceSurface(design, *front, from, QRect(stock.left1, stock.top1, stock.width1, stock.height1),
                 QString::number(stock.page1));
}

void PlaceBackCover(LabelDesign& design, const CLabelDim& stock)
{
    CRichChild* back = design.FindCover(u"Back Cover");
    if (!back)
        return;
    back->coverSpine = stock.spine;
    PlaceSurface(design, *back, QPoint(back->left(), back->top()),
                 QRect(stock.left2, stock.top2, stock.width2, stock.height2), QString::number(stock.page2));
}

void PlaceDisc(LabelDesign& design, QStringView name, const QRect& rect)
{
    if (CRichChild* disc = design.FindCover(name))
        PlaceSurface(design, *disc, QPoint(disc->left(), disc->top()), rect, QStringLiteral("1"));
}

void SizePage(LabelDesign& design, QStringView name, QSize paper)
{
    CRichChild* page = design.FindItem(name);
    if (!page || page->itemType != u"Page")
        return;
    SetRect(*page, 0, 0, paper.width(), paper.height());
}

} // namespace

void ApplyStocks(LabelDesign& design, StockCatalogue& catalogue, QStringView caseKind, QStringView discMode,
                 int& discPositionMode)
{
    catalogue.ReconcileCaseKind(caseKind);
    const CLabelDim& discStock = catalogue.DiscStock();
    const CLabelDim& caseStock = catalogue.CaseStock();
    if (discStock.IsDirectToDisc())
        discPositionMode = DiscOnTop;

    PlaceFrontCover(design, caseStock);
    PlaceBackCover(design, caseStock);
    DeriveBoundaries(design);

    const QRect first(discStock.left1, discStock.top1, discStock.width1, discStock.height1);
    const QRect second(discStock.left2, discStock.top2, discStock.width2, discStock.height2);
    const bool discOneFirst =
        discPositionMode == DiscOnTop || (discPositionMode == DuplicateDisc && discMode == u"Single");
    PlaceDisc(design, u"Disc 1", discOneFirst ? first : second);
    PlaceDisc(design, u"Disc 2", discOneFirst ? second : first);

    SizePage(design, u"Page 1", discStock.paper1);
    SizePage(design, u"Page 2", caseStock.paper1);
    SizePage(design, u"Page 3", caseStock.paper2);
}

} // namespace tvl
