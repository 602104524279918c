#include "document/design/ItemEdits.h"

#include "document/design/DesignDocument.h"
#include "document/design/EditScope.h"
#include "document/design/FitToPicture.h"
#include "document/model/SurfaceNames.h"

#include <optional>

namespace tvl {
namespace {

constexpr int kFrontSize = 1250;

QPoint Centre(const QRect& r)
{
    return {r.x() + r.width() / 2, r.y() + r.height() / 2};
}

// The middle of the area a background covers, by its background code.
QPoint BackgroundAreaCentre(const LabelDesign& design, const CRichChild& picture)
{
    const CRichChild* cover = design.FindCover(picture.surface);
    if (!cover)
        return Centre(picture.Rect());
    const int code = picture.bBackground();
    if (code == 3 || code == 4) {
        if (const CRichChild* tab = design.FindItem(code == 3 ? kLeftTab : kRightTab))
            return Centre(tab->Rect());
    }
    const QRect area = cover->Rect();
    if (cover->name == kFrontCover && cover->coverFolded != 0) {
        const int half = area.width() / 2;
        const QRect panel = code == 2 ? QRect(area.x(), area.y(), half, area.height())
                                      : QRect(area.x() + half, area.y(), area.width() - half, area.height());
        return Centre(panel);
    }
    return Centre(area);
}

struct DiscPlacement
{
    QRect rect;
    QString wrapStyle;
};

// Where a track list of this layout goes on disc D, or nothing for a layout that keeps its place.
std::optional<DiscPlacement> DiscLayoutPlacement(const CRichChild& d, QStringView layout)
{
    const int left = d.left();
    const int top = d.top();
    const int diameter = d.width();
    const int rimHeight = diameter / 2 - d.height() / 2 - d.textMargin();
    const QString wordWrap = QStringLiteral("Word-Wrap");
    const QString trackWrap = QStringLiteral("Track-Wrap");
    if (layout == u"Left Side")
        return DiscPlacement{QRect(left, top + 900, diameter / 2, diameter - 1600), wordWrap};
    if (layout == u"Right Side")
        return DiscPlacement{QRect(left + diameter / 2, top + 900, diameter / 2, diameter - 1600), wordWrap};
    if (layout == u"Top")
        return DiscPlacement{QRect(left, top, diameter, rimHeight), trackWrap};
    if (layout == u"Bottom")
        return DiscPlacement{QRect(left, top + diameter - rimHeight, diameter, rimHeight), trackWrap};
    if (layout == u"2 Columns")
        return DiscPlacement{QRect(left, top + diameter / 2 - 800, diameter, 1650), wordWrap};
    if (layout == u"Top && Bottom")
        return DiscPlacement{QRect(left, top, diameter, diameter), trackWrap};
    return std::nullopt;
}

} // namespace

bool SetAsBackground(DesignDocument& document, const QString& name,
                     const std::function<bool(LabelDesign&, CRichChild&)>& place)
{
    CRichChild* picture = document.MutableDesign().FindItem(name);
    if (!picture || picture->kind != ItemKind::Image || !document.design().FindCover(picture->surface))
        return false;
    EditScope scope(document, EditKind::SetBackground);
    document.history().RecordChange(UndoKey::PrevOrder, nullptr, {}, {});
    scope.Touch(*picture, ChangedAspect::Geometry);
    if (!place(document.MutableDesign(), *picture))
        return false;
    QStringList replaced;
    for (const auto& item : document.design().itemList) {
        if (item.get() != picture && item->kind == ItemKind::Image && item->surface == picture->surface &&
            item->bBackground() == picture->bBackground())
            replaced.append(item->name);
    }
    for (const QString& other : std::as_const(replaced))
        document.DeleteItem(other);
    document.history().RecordChange(UndoKey::NextOrder, nullptr, {}, {});
    scope.Touch(*picture, ChangedAspect::Order);
    return true;
}

bool BringPictureToFront(DesignDocument& document, const QString& name, const std::function<int()>& jitter)
{
    CRichChild* picture = document.MutableDesign().FindItem(name);
    if (!picture || picture->kind != ItemKind::Image)
        return false;
    EditScope scope(document, EditKind::BringToFront);
    if (picture->bBackground() != 0) {
        const QPoint centre = BackgroundAreaCentre(document.design(), *picture);
        const auto shift = [&] { return jitter() / 5 - 100; };
        const int left = centre.x() - kFrontSize / 2 + shift();
        const int top = centre.y() - kFrontSize / 2 + shift();
        document.SetItemProperty(name, ItemProperty::Background, 0);
        document.MoveResize(name, QRect(left, top, kFrontSize, kFrontSize));
    }
    document.BringToFront(name);
    document.Select(name);
    return true;
}

bool SetAspectLock(DesignDocument& document, const QString& name, bool lock)
{
    const CRichChild* picture = document.design().FindItem(name);
    if (!picture || picture->kind != ItemKind::Image)
        return false;
    if (!lock)
        return document.SetItemProperty(name, ItemProperty::AspectRatio, 0);
    if (picture->bAspectRatio() != 0)
        return true;
    int width = picture->width();
    int height = picture->height();
    if (!FitToPicture(*picture, width, height))
        return false;
    EditScope scope(document, EditKind::SetProperty);
    document.MoveResize(name, QRect(picture->left(), picture->top(), width, height));
    document.SetItemProperty(name, ItemProperty::AspectRatio, 1);
    return true;
}

bool SetTrackLayout(DesignDocument& document, const QString& name, const QString& layout)
{
    const CRichChild* item = document.design().FindItem(name);
    if (!item || item->kind != ItemKind::Track || layout.isEmpty())
        return false;
    EditScope scope(document, EditKind::SetProperty);
    document.SetItemProperty(name, ItemProperty::TextLayout, layout);
    if (layout == u"Table Format" && item->wrapStyle() == u"Track-Wrap")
        document.SetItemProperty(name, ItemProperty::WrapStyle, QStringLiteral("Word-Wrap"));
    if (item->pageCode != u"1")
        return true;
    const CRichChild* disc = document.design().FindCover(item->surface);
    if (!disc)
        return true;
    const std::optional<DiscPlacement> placement = DiscLayoutPlacement(*disc, layout);
    if (!placement)
        return true;
    document.MoveResize(name, placement->rect);
    document.SetItemProperty(name, ItemProperty::Angle, QStringLiteral("0 degrees"));
    document.SetItemProperty(name, ItemProperty::TrackNumbers, QStringLiteral("Track Numbers"));
    document.SetItemProperty(name, ItemProperty::WrapStyle, placement->wrapStyle);
    return true;
}

bool CentreOnSurface(DesignDocument& document, const QString& name, bool horizontal)
{
    const CRichChild* item = document.design().FindItem(name);
    if (!item || IsStructural(item->kind))
        return false;
    const CRichChild* cover = document.design().FindCover(item->surface);
    if (!cover)
        return false;
    const QRect area = cover->Rect();
    QRect rect = item->Rect();
    if (horizontal)
        rect.moveLeft(area.x() + (area.width() - rect.width()) / 2);
    else
        rect.moveTop(area.y() + (area.height() - rect.height()) / 2);
    if (rect == item->Rect())
        return true;
    return document.MoveResize(name, rect);
}

bool ChangeEveryFont(DesignDocument& document, const QString& name,
                     const std::function<void(ItemFont&)>& change)
{
    CRichChild* item = document.MutableDesign().FindItem(name);
    if (!item || !item->IsTextual())
        return false;
    EditScope scope(document, EditKind::SetFontRun);
    document.history().RecordChange(UndoKey::PrevFont, item, {}, {});
    for (std::optional<ItemFont>& font : item->fonts) {
        if (font)
            change(*font);
    }
    item->MarkChanged();
    document.history().RecordChange(UndoKey::NextFont, item, {}, {});
    scope.Touch(*item, ChangedAspect::Runs);
    return true;
}

void SetDiscPosition(DesignDocument& document, DiscPositionMode mode,
                     const std::function<void(LabelDesign&, DiscPositionMode&)>& applyStocks)
{
    const DiscPositionMode before = document.discPositionMode();
    EditScope scope(document, EditKind::ApplyStocks);
    document.ApplyStocks([&](LabelDesign& design, DiscPositionMode& current) {
        current = mode;
        applyStocks(design, current);
    });
    // Recorded after the surfaces' whole snapshots, which would otherwise hide it.
    if (CRichChild* disc = document.MutableDesign().FindCover(kDisc1))
        document.history().RecordChange(UndoKey::DiscPosition, disc,
                                        QString::number(static_cast<int>(before)),
                                        QString::number(static_cast<int>(document.discPositionMode())));
}

} // namespace tvl
