#include "document/files/early/EarlyItems.h"

#include "document/files/early/EarlyValues.h"
#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"
#include "images/CxImage.h"

#include <set>

namespace tvl {
namespace {

constexpr ItemColor kWhite = 0x00FFFFFF;

bool IsKind(const QString& value)
{
    const ItemKind kind = ParseItemKind(value);
    return kind != ItemKind::None && kind != ItemKind::Other;
}

int DiscTextMargin(int margin)
{
    return margin == 0 || margin == 50 || margin == 100 || margin == 150 ? margin : 50;
}

class ItemBuilder
{
public:
    ItemBuilder(const PropertyRows& rows, const TextRows& textRows, const EarlyPictureList& pictures,
                LabelDesign& design)
        : m_rows(rows)
        , m_textRows(textRows)
        , m_pictures(pictures)
        , m_design(design)
    {
    }

    bool Walk()
    {
        size_t at = 0;
        while (at < m_rows.size()) {
            m_at = at;
            const CProperty& row = *m_rows[at];
            std::optional<size_t> next;
            if (IsKind(row.value))
                next = MakeItem(ParseItemKind(row.value));
            if (!next) {
                if (m_cutShort)
                    return false;
                next = at + 1 + static_cast<size_t>(std::max(0, row.orderNumber));
            }
            at = *next;
        }
        return true;
    }

    void AddMissingInsidePanel()
    {
        if (m_design.FindItem(kFrontInside))
            return;
        auto panel = NewItem(kFrontInside.toString(), ItemKind::Boundary);
        panel->pageCode = QStringLiteral("2");
        panel->surface = kFrontCover.toString();
        panel->colors = {kWhite};
        if (const CRichChild* front = m_design.FindItem(kFrontCover)) {
            panel->top(front->top());
            panel->height(front->height());
            if (m_foldedFront) {
                panel->left(front->left());
                panel->width(front->width() / 2);
            } else {
                panel->left(front->left() - front->width());
                panel->width(front->width());
            }
        }
        m_design.InsertItem(std::move(panel));
    }

private:
    const QString& Value(size_t row) const { return m_rows[m_at + row]->value; }
    const QString& Choices(size_t row) const { return m_rows[m_at + row]->choices; }
    int Length(size_t row) const { return EarlyLength(Value(row)); }

    // The next row to examine, or nothing when the kind row makes no item.
    std::optional<size_t> MakeItem(ItemKind kind)
    {
        if (kind == ItemKind::Page)
            return Group(
                7, [this] { return MakePage(); }, 6);
        if (kind == ItemKind::Boundary)
            return Group(8, [this] { return MakeBoundary(); });
        if (kind == ItemKind::Image)
            return Group(11, [this] { return MakeImage(); });
        if (kind == ItemKind::Text)
            return Group(13, [this] { return MakeText(false); });
        if (kind == ItemKind::Track)
            return Group(15, [this] { return MakeText(true); });
        const QString& name = m_rows[m_at]->itemName;
        if (name == kFrontCover || name == kBackCover)
            return Group(9, [this] { return MakeCaseCover(); });
        if (m_at + 1 < m_rows.size() && Value(1) == u"1")
            return Group(10, [this] { return MakeDiscCover(); });
        return std::nullopt;
    }

    template <class Make>
    std::optional<size_t> Group(size_t size, Make make, std::optional<size_t> resume = {})
    {
        if (m_rows.size() - m_at < size) {
            m_cutShort = true;
            return std::nullopt;
        }
        make();
        return m_at + resume.value_or(size);
    }

    std::unique_ptr<CRichChild> NewItem(const QString& name, ItemKind kind) const
    {
        auto item = std::make_unique<CRichChild>();
        item->name = name;
        item->kind = kind;
        return item;
    }

    std::unique_ptr<CRichChild> NewItem() const
    {
        return NewItem(m_rows[m_at]->itemName, ParseItemKind(Value(0)));
    }

    void Place(CRichChild& item, size_t left, size_t top, size_t width, size_t height) const
    {
        item.left(Length(left));
        item.top(Length(top));
        item.width(Length(width));
        item.height(Length(height));
    }

    void MakePage()
    {
        auto item = NewItem();
        item->pageCode = Value(1);
        Place(*item, 3, 4, 5, 6);
        m_design.InsertItem(std::move(item));
    }

    void MakeBoundary()
    {
        auto item = NewItem();
        item->pageCode = Value(1);
        item->surface = Value(2);
        item->colors = {EarlyColor(Value(3))};
        Place(*item, 4, 5, 6, 7);
        m_design.InsertItem(std::move(item));
    }

    void MakeCaseCover()
    {
        auto item = NewItem();
        item->surface = item->name;
        item->pageCode = Value(1);
        Place(*item, 2, 3, 4, 5);
        if (item->name == kFrontCover) {
            item->coverFolded = Value(6) == u"Yes" ? 1 : 0;
            m_foldedFront = item->coverFolded == 1;
        } else {
            item->coverSpine = Length(6);
        }
        item->colors = {EarlyColor(Value(8))};
        m_design.InsertItem(std::move(item));
    }

    void MakeDiscCover()
    {
        auto item = NewItem();
        item->surface = item->name;
        item->pageCode = Value(1);
        item->left(Length(2));
        item->top(Length(3));
        item->height(Length(4));
        item->width(Length(5));
        item->colors = {EarlyColor(Value(7))};
        item->textMargin(DiscTextMargin(Length(9)));
        m_design.InsertItem(std::move(item));
    }

    void MakeImage()
    {
        const int index = LeadingInteger(Value(3));
        if (index < 0 || static_cast<size_t>(index) >= m_pictures.size())
            return;
        auto item = NewItem();
        item->pageCode = Value(1);
        item->surface = Value(2);
        Place(*item, 4, 5, 6, 7);
        item->bAspectRatio(Value(8) == u"Yes" ? 1 : 0);
        const bool background = Choices(0) == u"Background";
        if (background)
            item->bBackground(Choices(2) == kFrontInside ? 2 : 1);
        else
            item->bAutoFit(LeadingInteger(Choices(0)));
        if (const auto& picture = m_pictures[static_cast<size_t>(index)]) {
            item->image = m_taken.insert(index).second ? picture : std::make_shared<CxImage>(*picture);
        }
        const int position = ImagePosition(*item, background);
        m_design.InsertItem(std::move(item), position);
    }

    int ImagePosition(const CRichChild& picture, bool background) const
    {
        const auto& items = m_design.itemList;
        for (size_t i = 0; i < items.size(); ++i) {
            const CRichChild& item = *items[i];
            if (item.kind == ItemKind::Image && item.surface == picture.surface &&
                (background || item.bAutoFit() > picture.bAutoFit()))
                return static_cast<int>(i);
        }
        return -1;
    }

    QString TextRowValue(const QString& itemName) const
    {
        const QString key = itemName.left(itemName.indexOf(u'('));
        for (const auto& row : m_textRows) {
            if (row->name == key)
                return row->value;
        }
        return {};
    }

    void MakeText(bool track)
    {
        auto item = NewItem();
        item->pageCode = Value(1);
        item->surface = Value(3);
        Place(*item, 5, 6, 7, 8);
        const QString text =
            track ? m_design.LinkedAlbumText(item->name) : EarlyPlainText(TextRowValue(item->name));
        item->characters = ToCharacters(text);
        const size_t length = item->characters.size();
        item->fonts.resize(length);
        item->colors.resize(length);
        item->underlines.assign(length, 0);
        if (length > 0) {
            item->fonts[0] = EarlyFont(Value(4), Value(10));
            item->colors[0] = EarlyColor(Value(2));
        }
        item->bAutoFit(1);
        item->bLinkText(item->name.startsWith(u"Text") ? 0 : 1);

        if (track) {
            item->angle(QStringLiteral("0 degrees"));
            SetTrackOptions(*item);
        } else {
            item->wrapStyle(Value(11) == u"No" ? QStringLiteral("Single-Line")
                                               : QStringLiteral("Multi-Line"));
            item->angle(Value(12));
        }
        item->alignment(AlignmentForAngle(Value(9), item->angle()).value_or(Value(9)));
        m_design.InsertItem(std::move(item));
    }

    void SetTrackOptions(CRichChild& item) const
    {
        const bool numbers = Value(11) == u"Yes";
        const bool times = Value(12) == u"Yes";
        item.trackNumbers(numbers && times ? QStringLiteral("Track Numbers && Times")
                          : numbers        ? QStringLiteral("Track Numbers")
                          : times          ? QStringLiteral("Track Times")
                                           : QStringLiteral("Text Only"));
        const bool layout = Value(13) == u"Yes";
        if (item.pageCode == u"1") {
            item.textLayout(layout ? QStringLiteral("Top && Bottom") : QStringLiteral("Bottom"));
        } else {
            item.textLayout(layout ? QStringLiteral("Table Format") : QStringLiteral("1 Column"));
            if (layout)
                item.wrapStyle(QStringLiteral("Multi-Line"));
        }
        item.wrapStyle(Value(14) == u"Yes" ? QStringLiteral("Track-Wrap") : QStringLiteral("Multi-Line"));
    }

    const PropertyRows& m_rows;
    const TextRows& m_textRows;
    const EarlyPictureList& m_pictures;
    LabelDesign& m_design;
    size_t m_at = 0;
    bool m_cutShort = false;
    bool m_foldedFront = false;
    std::set<int> m_taken;
};

} // namespace

bool EarlyRowsToItems(const PropertyRows& rows, const TextRows& textRows, const EarlyPictureList& pictures,
                      LabelDesign& design)
{
    ItemBuilder builder(rows, textRows, pictures, design);
    const bool complete = builder.Walk();
    builder.AddMissingInsidePanel();
    return complete;
}

} // namespace tvl
