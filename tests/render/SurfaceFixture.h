#pragma once

#include "document/model/LabelDesign.h"
#include "render/surface/SceneState.h"
#include "render/surface/ViewGeometry.h"
#include "stock/CLabelDim.h"

#include <QString>
#include <memory>

namespace tvl::test {

using namespace Qt::Literals::StringLiterals;

inline std::unique_ptr<CRichChild> MakeItem(const QString& name, const QString& type, const QString& surface,
                                            const QString& page, int left, int top, int width, int height)
{
    auto item = std::make_unique<CRichChild>();
    item->name = name;
    item->SetKindName(type);
    item->surface = surface;
    item->pageCode = page;
    item->left(left);
    item->top(top);
    item->width(width);
    item->height(height);
    if (type == u"Cover" || type == u"Boundary")
        item->colors.emplace_back(0x00ffffffu);
    return item;
}

// A design with the structural items made from a disc stock and a case stock, as a new design has them.
struct SurfaceFixture
{
    LabelDesign design;
    CLabelDim disc;
    CLabelDim caseStock;
    SceneState scene;
    ViewGeometry geometry;

    explicit SurfaceFixture(QStringView caseKey = u"Jewel", QStringView discMode = u"Single",
                            DiscPositionMode positionMode = DiscPositionMode::DiscOnTop)
    {
        MakeBuiltInStock(disc, u"Disc");
        MakeBuiltInStock(caseStock, caseKey);
        const CLabelDim& c = caseStock;
        const QString p1 = QString::number(c.page1);
        const QString p2 = QString::number(c.page2);
        const QString front = QStringLiteral("Front Cover");
        const QString back = QStringLiteral("Back Cover");
        auto& frontItem =
            design.InsertItem(MakeItem(front, u"Cover"_s, front, p1, c.left1, c.top1, c.width1, c.height1));
        frontItem.coverFolded = c.folded;
        if (c.folded)
            design.InsertItem(MakeItem(u"Front Cover (Inside)"_s, u"Boundary"_s, front, p1, c.left1, c.top1,
                                       c.width1 / 2, c.height1));
        else
            design.InsertItem(MakeItem(u"Front Cover (Inside)"_s, u"Boundary"_s, front, p1,
                                       c.left1 - c.width1, c.top1, c.width1, c.height1));
        auto& backItem =
            design.InsertItem(MakeItem(back, u"Cover"_s, back, p2, c.left2, c.top2, c.width2, c.height2));
        backItem.coverSpine = c.spine;
        design.InsertItem(
            MakeItem(u"Left Tab"_s, u"Boundary"_s, back, p2, c.left2, c.top2, c.spine, c.height2));
        design.InsertItem(MakeItem(u"Right Tab"_s, u"Boundary"_s, back, p2, c.left2 + c.width2 - c.spine,
                                   c.top2, c.spine, c.height2));
        design.InsertItem(
            MakeItem(u"Page 2"_s, u"Page"_s, {}, u"2"_s, 0, 0, c.paper1.width(), c.paper1.height()));
        design.InsertItem(
            MakeItem(u"Page 3"_s, u"Page"_s, {}, u"3"_s, 0, 0, c.paper2.width(), c.paper2.height()));
        design.InsertItem(
            MakeItem(u"Page 1"_s, u"Page"_s, {}, u"1"_s, 0, 0, disc.paper1.width(), disc.paper1.height()));
        const bool firstPosition = positionMode == DiscPositionMode::DiscOnTop ||
                                   (positionMode == DiscPositionMode::DuplicateDisc && discMode == u"Single");
        const int l1 = firstPosition ? disc.left1 : disc.left2;
        const int t1 = firstPosition ? disc.top1 : disc.top2;
        const int l2 = firstPosition ? disc.left2 : disc.left1;
        const int t2 = firstPosition ? disc.top2 : disc.top1;
        design
            .InsertItem(
                MakeItem(u"Disc 1"_s, u"Cover"_s, u"Disc 1"_s, u"1"_s, l1, t1, disc.width1, disc.height1))
            .textMargin(50);
        design
            .InsertItem(
                MakeItem(u"Disc 2"_s, u"Cover"_s, u"Disc 2"_s, u"1"_s, l2, t2, disc.width2, disc.height2))
            .textMargin(50);
        scene.design = &design;
        scene.discMode = discMode.toString();
        scene.caseKind = caseKey == u"Jewel" ? QStringLiteral("Jewel") : QStringLiteral("DVD");
        scene.discPositionMode = positionMode;
        geometry.SetScreenDpi(96, 96);
        geometry.SetClientSize(QSize(1200, 1200));
    }

    void Select(const QString& surface) { geometry.SelectSurface(design, disc, caseStock, surface); }

    CRichChild& Add(const QString& name, const QString& type, const QString& surface, int left, int top,
                    int width, int height)
    {
        const CRichChild* cover = design.FindCover(surface);
        return design.InsertItem(MakeItem(name, type, surface, cover->pageCode, left, top, width, height));
    }
};

} // namespace tvl::test
