#pragma once

#include "document/model/CRichChild.h"
#include "render/text/AutoFitSearch.h"
#include "render/text/RunMeasurer.h"
#include "render/text/TextLines.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tvl {

// Runs the AutoFit search over full layout passes: pass(size, autoFit, work) lays the item out with
// every run at `size` and returns whether it fitted. A pass depends on nothing but the size, so a size
// the search asks for again is not laid out again: a known failure fails at once and the last fitting
// layout is kept. Returns the final size; work then holds the layout with every run at that size.
template <typename Pass>
int AutoFitLayout(const CRichChild& item, WorkingLayout& work, Pass&& pass)
{
    AutoFitSearch search(FirstFont(item).height);
    std::vector<int> failed;
    WorkingLayout fitting;
    int fittingSize = -1;
    for (;;) {
        const int size = search.size();
        bool fitted = size == fittingSize;
        if (!fitted && std::find(failed.begin(), failed.end(), size) == failed.end()) {
            fitted = pass(size, true, work);
            if (fitted) {
                std::swap(fitting, work);
                fittingSize = size;
            } else {
                failed.push_back(size);
            }
        }
        switch (search.Record(fitted)) {
        case AutoFitSearch::Outcome::TryNext:
            break;
        case AutoFitSearch::Outcome::Settled:
            std::swap(fitting, work);
            return fittingSize;
        case AutoFitSearch::Outcome::Stopped:
            pass(search.size(), false, work);
            return search.size();
        }
    }
}

} // namespace tvl
