#include "document/commands/DefaultDesigns.h"
#include "document/design/DesignDocument.h"
#include "stock/BuildSurfaceItems.h"
#include "stock/CLabelDim.h"
#include "tests/document/files/SampleDesign.h"

#include <gtest/gtest.h>
#include <random>

namespace tvl {
namespace {

// Random edits of every kind through the document's operations. Values never equal the history's
// not-recorded markers (0 for positions and sizes, -1 for switches, empty texts), and moved items never
// start at one, so every step can be taken back exactly.
class RandomEditor
{
public:
    RandomEditor(DesignDocument& document, unsigned seed)
        : m_document(document)
        , m_random(seed)
        , m_stocksRandom(seed + 1)
    {
    }

    // One edit; false when the chosen edit did not apply (nothing suitable), which records no step.
    bool Edit()
    {
        // New stocks now and then, drawn from a stream of their own so that the other edits stay as seeded.
        if (std::uniform_int_distribution<int>(0, 13)(m_stocksRandom) == 0)
            return ApplyStocks();
        switch (Pick(13)) {
        case 0:
            return MoveResize();
        case 1:
            return SetIntProperty();
        case 2:
            return SetStringProperty();
        case 3:
        case 4:
            return ReplaceCharacters();
        case 5:
            return Run(0);
        case 6:
            return Run(1);
        case 7:
            return Run(2);
        case 8:
            return Insert();
        case 9:
            return Delete();
        case 10:
            return Pick(2) == 0 ? Reorder()
                                : m_document.BringToFront(AnyItem([](const CRichChild&) { return true; }));
        case 11:
            return SetAlbumField();
        default:
            return SetBackground();
        }
    }

private:
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    template <class Accept>
    QString AnyItem(Accept accept)
    {
        std::vector<QString> names;
        for (const auto& item : m_document.design().itemList) {
            if (accept(*item))
                names.push_back(item->name);
        }
        return names.empty() ? QString() : names[static_cast<size_t>(Pick(static_cast<int>(names.size())))];
    }

    QString AnyText(bool withCharacters)
    {
        return AnyItem([&](const CRichChild& item) {
            return item.IsTextual() && (!withCharacters || !item.characters.empty());
        });
    }

    QString RandomText()
    {
        static const QString letters = QStringLiteral("ab Z\u00e9\u20ac\r\b");
        QString text;
        for (int i = Between(0, 5); i > 0; --i)
            text += letters[Pick(static_cast<int>(letters.size()))];
        return text;
    }

    bool MoveResize()
    {
        const QString name = AnyItem([](const CRichChild& item) {
            return item.left() != 0 && item.top() != 0 && item.width() != 0 && item.height() != 0;
        });
        return !name.isEmpty() && m_document.MoveResize(name, QRect(Between(1, 9000), Between(1, 9000),
                                                                    Between(1, 5000), Between(1, 5000)));
    }

    bool SetIntProperty()
    {
        const QString name = AnyItem([](const CRichChild& item) { return !IsStructural(item.kind); });
        switch (Pick(4)) {
        case 0:
            return m_document.SetItemProperty(name, ItemProperty::TextMargin, 50 * Between(0, 3));
        case 1:
            return m_document.SetItemProperty(name, ItemProperty::AspectRatio, Pick(2));
        case 2:
            return m_document.SetItemProperty(name, ItemProperty::AutoFit, Pick(2));
        default:
            return m_document.SetItemProperty(name, ItemProperty::LinkText, Pick(2));
        }
    }

    // Only over a value that is set: an empty one is the history's not-recorded marker.
    bool SetStringProperty()
    {
        static const QStringList angles{QStringLiteral("0 degrees"), QStringLiteral("90 degrees"),
                                        QStringLiteral("180 degrees"), QStringLiteral("270 degrees")};
        static const QStringList wraps{QStringLiteral("Single-Line"), QStringLiteral("Multi-Line"),
                                       QStringLiteral("Word-Wrap"), QStringLiteral("No Wrap"),
                                       QStringLiteral("Track-Wrap")};
        static const QStringList alignments{QStringLiteral("Left"), QStringLiteral("Center"),
                                            QStringLiteral("Right")};
        static const QStringList numbers{QStringLiteral("Track Numbers && Times"),
                                         QStringLiteral("Text Only")};
        static const QStringList layouts{QStringLiteral("Bottom"), QStringLiteral("Table Format"),
                                         QStringLiteral("2 Columns")};
        const struct
        {
            ItemProperty property;
            const QString& (CRichChild::*get)() const;
            const QStringList& values;
        } properties[] = {
            {ItemProperty::Angle, &CRichChild::angle, angles},
            {ItemProperty::WrapStyle, &CRichChild::wrapStyle, wraps},
            {ItemProperty::Alignment, &CRichChild::alignment, alignments},
            {ItemProperty::TrackNumbers, &CRichChild::trackNumbers, numbers},
            {ItemProperty::TextLayout, &CRichChild::textLayout, layouts},
        };
        const auto& p = properties[Pick(5)];
        const QString name = AnyItem([&](const CRichChild& item) { return !(item.*p.get)().isEmpty(); });
        return m_document.SetItemProperty(name, p.property,
                                          p.values[Pick(static_cast<int>(p.values.size()))]);
    }

    bool ReplaceCharacters()
    {
        const QString name = AnyText(true);
        if (name.isEmpty())
            return false;
        const int size = static_cast<int>(m_document.design().FindItem(name)->characters.size());
        const int start = Between(0, size - 1);
        return m_document.ReplaceCharacters(name, start, Between(0, size - 1 - start), RandomText());
    }

    bool Run(int kind)
    {
        const QString name = AnyText(true);
        if (name.isEmpty())
            return false;
        const int size = static_cast<int>(m_document.design().FindItem(name)->characters.size());
        const int start = Between(0, size - 1);
        const int count = Between(1, size - start);
        if (kind == 0) {
            const ItemFont font{Pick(2) == 0 ? QStringLiteral("Arial") : QStringLiteral("Courier New"),
                                Between(5, 100) * 10, Pick(2) == 0 ? 400 : 700, Pick(2)};
            return m_document.SetFontRun(name, start, count, font);
        }
        if (kind == 1)
            return m_document.SetColorRun(name, start, count, static_cast<ItemColor>(Between(0, 0xffffff)));
        return m_document.SetUnderlineRun(name, start, count, Pick(2) == 0);
    }

    bool Insert()
    {
        auto item = std::make_unique<CRichChild>();
        item->kind = Pick(3) == 0 ? ItemKind::Track : ItemKind::Text;
        item->name = Pick(2) == 0 ? QStringLiteral("Text") : QStringLiteral("Artist");
        item->surface = SurfaceName(Pick(kSurfaceCount)).toString();
        item->pageCode = QStringLiteral("2");
        item->left(Between(1, 3000));
        item->top(Between(1, 3000));
        item->width(Between(1, 3000));
        item->height(Between(1, 3000));
        item->wrapStyle(QStringLiteral("Word-Wrap"));
        item->ReplaceText(QStringLiteral("New\b"));
        item->fonts[0] = ItemFont{QStringLiteral("Arial"), 120, 400, 0};
        item->colors[0] = 0;
        const int count = static_cast<int>(m_document.design().itemList.size());
        return m_document.InsertItem(std::move(item), Between(-1, count)) != nullptr;
    }

    bool Delete()
    {
        return m_document.DeleteItem(
            AnyItem([](const CRichChild& item) { return !IsStructural(item.kind); }));
    }

    bool Reorder()
    {
        const QString name = AnyItem([](const CRichChild&) { return true; });
        return m_document.MoveInOrder(name, Pick(static_cast<int>(m_document.design().itemList.size())));
    }

    bool SetAlbumField()
    {
        static const QStringList keys{QStringLiteral("Artist"), QStringLiteral("Title"),
                                      QStringLiteral("Track List"), QStringLiteral("Genre - Disc 2"),
                                      QStringLiteral("Year - Disc 1")};
        const QString key = keys[Pick(static_cast<int>(keys.size()))];
        const QString value = key.startsWith(u"Track")
                                  ? QStringLiteral("1. \bSong\b 1:00\b") + RandomText() + u'\b'
                                  : RandomText() + u'\b';
        return m_document.SetAlbumField(key, value);
    }

    bool SetBackground()
    {
        const QString name = AnyItem([](const CRichChild& item) { return item.kind == ItemKind::Image; });
        return m_document.SetBackground(name, Between(0, 4));
    }

    // What new stocks do: a surface moves with everything on it to another page, its cover folds or
    // unfolds and takes another spine, and the discs may take another position.
    bool ApplyStocks()
    {
        const QString surface = SurfaceName(Stocks(0, kSurfaceCount - 1)).toString();
        if (!m_document.design().FindCover(surface))
            return false;
        const int dx = Stocks(1, 200);
        const int dy = Stocks(1, 200);
        const QString page = QString::number(Stocks(1, 3));
        const int folded = Stocks(0, 1);
        const int spine = Stocks(1, 500);
        const auto position = static_cast<DiscPositionMode>(Stocks(1, 3));
        m_document.ApplyStocks([&](LabelDesign& design, DiscPositionMode& discPosition) {
            for (const auto& item : design.itemList) {
                if (item->surface != surface)
                    continue;
                // Never onto 0, the history's not-recorded marker for later moves.
                item->left(item->left() + dx == 0 ? 1 : item->left() + dx);
                item->top(item->top() + dy == 0 ? 1 : item->top() + dy);
                item->pageCode = page;
                if (item->kind == ItemKind::Cover) {
                    item->coverFolded = folded;
                    item->coverSpine = spine;
                }
            }
            discPosition = position;
        });
        return true;
    }

    int Stocks(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_stocksRandom); }

    DesignDocument& m_document;
    std::mt19937 m_random;
    std::mt19937 m_stocksRandom;
};

LabelDesign BlankDesign(const char* discMode, QStringView caseKey)
{
    CLabelDim disc;
    CLabelDim caseStock;
    MakeBuiltInStock(disc, u"Disc");
    MakeBuiltInStock(caseStock, caseKey);
    LabelDesign design;
    design.ReplaceItems(
        BuildSurfaceItems(disc, caseStock, QString::fromLatin1(discMode), DiscPositionMode::DiscOnTop));
    design.albumHeader.discMode = QString::fromLatin1(discMode);
    FillSampleAlbum(design);
    return design;
}

struct DesignCase
{
    const char* title;
    LabelDesign (*make)();
    const char* discMode;
    const char* caseKind;
};

const DesignCase kDesigns[] = {
    {"sample with every kind of item", [] { return MakeSampleDesign(); }, "Single", "Jewel"},
    {"blank single jewel design", [] { return BlankDesign("Single", u"Jewel"); }, "Single", "Jewel"},
    {"blank double DVD design", [] { return BlankDesign("Double", u"DVD"); }, "Double", "DVD"},
};

// Loads a design the way a read file is made the open one.
void Load(DesignDocument& document, LabelDesign design, const LiveDesignState& live)
{
    document.BeginReplace();
    document.MutableDesign().ReplaceItems(std::move(design.itemList));
    document.MutableDesign().albumHeader = design.albumHeader;
    document.EndReplace(live);
}

TEST(EditProperty, UndoToTheStartAndRedoToTheEndGiveTheSameFiles)
{
    constexpr int kSequencesPerDesign = 200;
    for (const DesignCase& c : kDesigns) {
        for (int sequence = 0; sequence < kSequencesPerDesign; ++sequence) {
            const unsigned seed = static_cast<unsigned>(sequence) * 7919u + 17u;
            SCOPED_TRACE(testing::Message() << c.title << ", seed " << seed);
            DesignDocument document;
            // The live state is fixed: undo may show another surface, which is not an edit of the design.
            const LiveDesignState live = SampleState(c.discMode, c.caseKind);
            Load(document, c.make(), live);
            const QByteArray original = WriteToBytes(document.MutableDesign(), live);
            ASSERT_FALSE(original.isEmpty());

            RandomEditor editor(document, seed);
            std::mt19937 lengths(seed);
            const int wanted = std::uniform_int_distribution<int>(1, 40)(lengths);
            int steps = 0;
            for (int attempt = 0; steps < wanted && attempt < wanted * 4; ++attempt)
                steps += editor.Edit() ? 1 : 0;
            ASSERT_EQ(document.history().stepCount(), steps);
            const QByteArray edited = WriteToBytes(document.MutableDesign(), live);
            const DiscPositionMode editedPosition = document.discPositionMode();

            for (int i = 0; i < steps; ++i)
                document.Undo();
            EXPECT_FALSE(document.history().CanUndo());
            ASSERT_EQ(WriteToBytes(document.MutableDesign(), live), original);
            EXPECT_EQ(document.discPositionMode(), DiscPositionMode::DiscOnTop);

            for (int i = 0; i < steps; ++i)
                document.Redo();
            EXPECT_FALSE(document.history().CanRedo());
            ASSERT_EQ(WriteToBytes(document.MutableDesign(), live), edited);
            EXPECT_EQ(document.discPositionMode(), editedPosition);
        }
    }
}

} // namespace
} // namespace tvl
