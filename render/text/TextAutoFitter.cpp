#include "render/text/TextAutoFitter.h"

#include "render/text/LayoutTextItem.h"

namespace tvl {

int TextAutoFitter::FittedHeight(const CRichChild& item, const LabelDesign& design)
{
    m_item = nullptr;
    m_layout.reset();
    if (item.bAutoFit() == 0)
        return 0;
    m_layout = LayoutTextItem(item, design);
    m_item = &item;
    return m_layout ? m_layout->fittedHeight : 0;
}

void TextAutoFitter::HeightsStored(const CRichChild& item, const LabelDesign& design)
{
    if (&item == m_item)
        KeepLayout(item, design, std::move(m_layout));
    m_item = nullptr;
    m_layout.reset();
}

} // namespace tvl
