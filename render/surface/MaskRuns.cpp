#include "render/surface/MaskRuns.h"

#include <QImage>

namespace tvl {

std::vector<QRect> MaskRuns(const QImage& mask, QPoint origin)
{
    std::vector<QRect> runs;
    for (int y = 0; y < mask.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < mask.width();) {
            if (qAlpha(line[x]) == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < mask.width() && qAlpha(line[x]) != 0)
                ++x;
            runs.emplace_back(origin.x() + start, origin.y() + y, x - start, 1);
        }
    }
    return runs;
}

} // namespace tvl
