#include "document/model/ItemFont.h"

#include <algorithm>
#include <cmath>

namespace tvl {

int ItemFont::HeightFromPoints(double points)
{
    const double tenths = std::clamp(points * 10.0, 0.0, double{kMaxHeight});
    const int height = static_cast<int>(std::ceil(tenths / 5.0 - 1e-9)) * 5;
    return std::clamp(height, kMinHeight, kMaxHeight);
}

} // namespace tvl
