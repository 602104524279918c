#include "render/text/RunMeasurer.h"

namespace tvl {
namespace {

const ItemFont& DefaultFont()
{
    static const ItemFont font{QStringLiteral("Arial"), 400, 400, 0};
    return font;
}

} // namespace

RunMeasurer::RunMeasurer(const CRichChild& item, FontEngine& engine)
    : m_item(item)
    , m_uniform(item.bAutoFit() != 0)
{
    const size_t count = item.characters.size();
    m_runOf.resize(count);
    m_advances.resize(count);
    m_runStart.push_back(0);
    m_runs.push_back({&engine.Face(DefaultFont()), 0});
    for (size_t i = 0; i < count; ++i) {
        if (i < item.fonts.size() && item.fonts[i]) {
            m_runStart.push_back(i);
            m_runs.push_back({&engine.Face(*item.fonts[i]), 0});
        }
        m_runOf[i] = m_runs.size() - 1;
        m_advances[i] = m_runs.back().face->Advance(item.characters[i]);
    }
    for (Run& run : m_runs)
        run.spaceAdvance = run.face->Advance(U' ');
}

void RunMeasurer::BeginPass(int defaultHeight)
{
    m_defaultHeight = defaultHeight;
    m_selectedRun = static_cast<size_t>(-1);
}

void RunMeasurer::SelectRun(size_t run)
{
    m_selectedRun = run;
    const int height = run == 0 || m_uniform ? m_defaultHeight : m_item.fonts[m_runStart[run]]->height;
    m_scale = m_runs[run].face->AtHeight(height);
}

ItemFont FirstFont(const CRichChild& item)
{
    for (const std::optional<ItemFont>& font : item.fonts) {
        if (font)
            return *font;
    }
    return DefaultFont();
}

} // namespace tvl
