#include "render/text/RunMeasurer.h"

namespace tvl {

RunMeasurer::RunMeasurer(const CRichChild& item, FontEngine& engine, int defaultHeight)
    : m_item(item)
    , m_engine(engine)
{
    m_defaultFont = ItemFont{QStringLiteral("Arial"), defaultHeight, 400, 0};
    m_runOf.resize(item.characters.size(), -1);
    int run = -1;
    for (size_t i = 0; i < m_runOf.size(); ++i) {
        if (i < item.fonts.size() && item.fonts[i])
            run = static_cast<int>(i);
        m_runOf[i] = run;
    }
}

void RunMeasurer::Select(size_t index)
{
    const int run = index < m_runOf.size() ? m_runOf[index] : -1;
    if (run == m_selectedRun)
        return;
    m_selectedRun = run;
    const ItemFont& font = run < 0 ? m_defaultFont : *m_item.fonts[static_cast<size_t>(run)];
    m_face = &m_engine.Face(font);
    m_height = font.height;
}

CharExtent RunMeasurer::Measure(size_t index, char32_t character)
{
    Select(index);
    return m_face->Extent(character, m_height);
}

ItemFont FirstFont(const CRichChild& item)
{
    for (const std::optional<ItemFont>& font : item.fonts) {
        if (font)
            return *font;
    }
    return ItemFont{QStringLiteral("Arial"), 400, 400, 0};
}

void SetRunHeights(CRichChild& item, int height)
{
    for (std::optional<ItemFont>& font : item.fonts) {
        if (font)
            font->height = height;
    }
}

} // namespace tvl
