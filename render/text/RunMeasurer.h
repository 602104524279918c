#pragma once

#include "document/model/CRichChild.h"
#include "render/text/FontEngine.h"

#include <vector>

namespace tvl {

// Measures the characters of an item in the font of their run. Made once per layout: the advances
// do not depend on the size, so the AutoFit passes only scale them. Characters may be measured in any
// order (a line cut at a break is laid out again).
class RunMeasurer
{
public:
    RunMeasurer(const CRichChild& item, FontEngine& engine);

    // Starts a pass: characters before the first run are measured at defaultHeight, and so is every
    // run of an AutoFit item (AutoFit tries one size for all); other runs at their fonts' sizes.
    void BeginPass(int defaultHeight);

    // The extent of the character at index, or of a space in its font.
    CharExtent Measure(size_t index)
    {
        Select(index);
        return {FontFace::ScaledWidth(m_advances[index], m_scale), m_scale.height, m_scale.descent};
    }
    CharExtent MeasureSpace(size_t index)
    {
        Select(index);
        return {FontFace::ScaledWidth(m_runs[RunSlot(index)].spaceAdvance, m_scale), m_scale.height,
                m_scale.descent};
    }

private:
    struct Run
    {
        const FontFace* face = nullptr;
        double spaceAdvance = 0;
    };
    // Runs are numbered from 1; 0 is the run of the characters before the first set font slot.
    size_t RunSlot(size_t index) const { return m_runOf[index]; }
    void Select(size_t index)
    {
        if (m_runOf[index] != m_selectedRun)
            SelectRun(m_runOf[index]);
    }
    void SelectRun(size_t run);

    const CRichChild& m_item;
    std::vector<size_t> m_runOf;
    std::vector<size_t> m_runStart; // character index of each run's font slot
    std::vector<Run> m_runs;
    std::vector<double> m_advances;
    int m_defaultHeight = 400;
    bool m_uniform = false;
    size_t m_selectedRun = static_cast<size_t>(-1);
    FontFace::Scale m_scale;
};

// The font that starts the item's first run, or the default one ("Arial", 40 pt).
ItemFont FirstFont(const CRichChild& item);

} // namespace tvl
