#include "stock/ClampStockField.h"

#include "stock/CLabelDim.h"

#include <algorithm>
#include <limits>

namespace tvl {
namespace {

// Sets field to value and says whether that was a change.
bool Assign(int& field, int value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

// Stock files are read from disk, so differences are taken without overflow.
int Difference(long long a, long long b)
{
    return static_cast<int>(
        std::clamp<long long>(a - b, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// A start below 0 becomes 0; a label reaching past bound is moved back inside it.
bool ClampStart(int& start, int size, int bound)
{
    if (start < 0)
        return Assign(start, 0);
    if (static_cast<long long>(start) + size > bound)
        return Assign(start, Difference(bound, size));
    return false;
}

bool ClampOuterDiameter(CLabelDim& stock)
{
    bool changed = false;
    if (stock.width1 < kMinDiscDiameter) {
        changed |= Assign(stock.width1, kMinDiscDiameter);
        if (stock.height1 > stock.width1 - kMinDiscRing) {
            changed |= Assign(stock.height1, stock.width1 - kMinDiscRing);
            changed |= Assign(stock.height2, stock.height1);
        }
    } else if (stock.width1 > kMaxDiscDiameter) {
        changed |= Assign(stock.width1, kMaxDiscDiameter);
    }
    changed |= Assign(stock.width2, stock.width1);
    if (stock.IsDirectToDisc()) {
        const int start = (kDiscPrinterPaper.width() - stock.width1) / 2;
        for (int* value : {&stock.left1, &stock.left2, &stock.top1, &stock.top2})
            changed |= Assign(*value, start);
    }
    return changed;
}

bool ClampHubDiameter(CLabelDim& stock)
{
    bool changed = false;
    if (stock.height1 < kMinHubDiameter)
        changed |= Assign(stock.height1, kMinHubDiameter);
    else if (stock.height1 > static_cast<long long>(stock.width1) - kMinDiscRing)
        changed |= Assign(stock.height1, Difference(stock.width1, kMinDiscRing));
    changed |= Assign(stock.height2, stock.height1);
    return changed;
}

} // namespace

bool ClampStockField(CLabelDim& stock, QStringView key, bool labelTwoOnFirstSheet)
{
    const bool disc = stock.IsDiscStock();
    if (key == u"left1")
        return ClampStart(stock.left1, stock.width1, stock.paper1.width());
    if (key == u"top1")
        return ClampStart(stock.top1, disc ? stock.width1 : stock.height1, stock.paper1.height());
    if (key == u"left2") {
        const QSize sheet = labelTwoOnFirstSheet ? stock.paper1 : stock.paper2;
        return ClampStart(stock.left2, stock.width2, sheet.width());
    }
    if (key == u"top2") {
        if (disc)
            return ClampStart(stock.top2, stock.width2, stock.paper1.height());
        const QSize sheet = labelTwoOnFirstSheet ? stock.paper1 : stock.paper2;
        return ClampStart(stock.top2, stock.height2, sheet.height());
    }
    if (key == u"width1")
        return ClampOuterDiameter(stock);
    if (key == u"height1")
        return ClampHubDiameter(stock);
    return false;
}

} // namespace tvl
