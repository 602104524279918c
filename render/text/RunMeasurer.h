#pragma once

#include "document/model/CRichChild.h"
#include "render/text/FontEngine.h"

#include <vector>

namespace tvl {

// Measures the characters of an item in the font of their run. Characters may be measured in any
// order (a line cut at a break is laid out again), so the run of every character is known up front.
class RunMeasurer
{
public:
    // defaultHeight: the size of characters before the first set font slot.
    RunMeasurer(const CRichChild& item, FontEngine& engine, int defaultHeight = 400);

    // The extent of `character` (normally item.characters[index]) in the font of index's run.
    CharExtent Measure(size_t index, char32_t character);

private:
    void Select(size_t index);

    const CRichChild& m_item;
    FontEngine& m_engine;
    ItemFont m_defaultFont;
    std::vector<int> m_runOf; // the slot that starts each character's run, -1 before the first one
    int m_selectedRun = -2;
    const FontFace* m_face = nullptr;
    int m_height = 0;
};

// The font that starts the item's first run, or the default one ("Arial", 40 pt).
ItemFont FirstFont(const CRichChild& item);

// AutoFit gives every run the candidate size; the font records keep it.
void SetRunHeights(CRichChild& item, int height);

} // namespace tvl
