#pragma once

#include <QSize>
#include <QString>

#include <cstdint>
#include <vector>

namespace tvl {

class CxImage;

// Shrinks a picture by a whole factor while its rows are read: every source pixel that arrives is added
// to the factor × factor cell it falls in, and each cell ends as the average of what it received (the
// cells of the last row and column may be narrower). Rows may come in any order and sampled at any step
// up to the factor, as the passes of an interlaced file deliver them. Colours are weighted by alpha, so
// see-through pixels do not tint their visible neighbours.
class BoxShrink
{
public:
    BoxShrink(QSize source, int factor, bool alpha);

    // Adds count pixels of source row y, at columns firstColumn, firstColumn + step, …; each pixel has
    // channels bytes: grey, grey and alpha, RGB or RGBA.
    void AddRow(int y, const uint8_t* pixels, int count, int firstColumn, int step, int channels);
    // The averages as a 24-bit picture, with an alpha channel when the source has one.
    bool Finish(CxImage& image, QString& error) const;

private:
    QSize m_target;
    bool m_alpha;
    std::vector<int> m_columnCell;
    std::vector<int> m_rowCell;
    // Per cell: red, green, blue (times alpha when there is alpha) and alpha sums.
    std::vector<uint64_t> m_sums;
    std::vector<uint32_t> m_counts;
};

} // namespace tvl
