#pragma once

#include "document/files/DesignReadApply.h"
#include "stock/ApplyStocks.h"
#include "stock/StockCatalogue.h"

namespace tvl {

// What opening a design does to the window, as far as a verb needs it: the current stocks are applied.
class StockHooks final : public DesignViewHooks
{
public:
    explicit StockHooks(StockCatalogue& catalogue)
        : m_catalogue(catalogue)
    {
    }

    void ApplyStocks(LabelDesign& design, const LiveDesignState& live,
                     DiscPositionMode& discPositionMode) override
    {
        tvl::ApplyStocks(design, m_catalogue, live.caseKind, live.discMode, discPositionMode);
    }

private:
    StockCatalogue& m_catalogue;
};

} // namespace tvl
