#include "print/job/PageRange.h"

namespace tvl {

PageRange ComputePageRange(const LabelsToPrint& labels, bool doubleDisc, int casePage2)
{
    PageRange range;
    const int backPage = casePage2 != 2 ? 3 : 2;
    const bool disc = labels.disc1 || (doubleDisc && labels.disc2);
    // The lowest ticked sheet starts the range and the highest ends it.
    if (labels.back)
        range.firstPage = backPage;
    if (labels.front)
        range.firstPage = 2;
    if (disc)
        range.firstPage = 1;
    if (disc)
        range.lastPage = 1;
    if (labels.front)
        range.lastPage = 2;
    if (labels.back)
        range.lastPage = backPage;
    if (range.firstPage == 1 && range.lastPage == 3 && !labels.front) {
        range.lastPage = 2;
        range.skipFrontPage = true;
    }
    return range;
}

} // namespace tvl
