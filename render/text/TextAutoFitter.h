#pragma once

#include "document/design/AutoFitter.h"
#include "render/text/ItemLayout.h"

#include <memory>

namespace tvl {

// AutoFit through the text layout: the height is the one the item's layout chose, and that layout is kept
// for the item once the document has stored the height, so drawing lays nothing out again.
class TextAutoFitter final : public AutoFitter
{
public:
    int FittedHeight(const CRichChild& item, const LabelDesign& design) override;
    void HeightsStored(const CRichChild& item, const LabelDesign& design) override;

private:
    const CRichChild* m_item = nullptr;
    std::shared_ptr<const ItemLayout> m_layout;
};

} // namespace tvl
