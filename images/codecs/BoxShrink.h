#pragma once

#include <QSize>
#include <QString>

#include <cstdint>
#include <vector>

namespace tvl {

class CxImage;

// Shrinks a picture by a whole factor while its rows are read: every source pixel that arrives is added
// to the factor × factor cell it falls in, and each cell ends as the average of what it received (the
// cells of the last row and column may be narrower). Rows may come sampled at any step up to the factor,
// as the passes of an interlaced file deliver them. Colours are weighted by alpha, so see-through pixels
// do not tint their visible neighbours. When the rows come in order, only one row of cells is held and
// each is written out as soon as it is complete.
class BoxShrink
{
public:
    // The largest factor whose sums cannot overflow.
    static constexpr int kLargestFactor = 256;

    BoxShrink(QSize source, int factor, bool alpha, bool rowsInOrder);

    // Makes the shrunk picture: 24 bits, with an alpha channel when the source has one.
    bool Start(CxImage& image, QString& error);
    // Adds count pixels of source row y, at columns firstColumn, firstColumn + step, …; each pixel has
    // channels bytes: grey, grey and alpha, RGB or RGBA.
    void AddRow(int y, const uint8_t* pixels, int count, int firstColumn, int step, int channels);
    // Writes the cells still held.
    void Finish();

private:
    void WriteRow(int cellRow);

    QSize m_target;
    int m_factor;
    bool m_alpha;
    bool m_rowsInOrder;
    int m_openRow = 0;
    CxImage* m_image = nullptr;
    std::vector<int> m_columnCell;
    // Per cell of the rows held: red, green, blue (times alpha when there is alpha) and alpha sums.
    std::vector<uint32_t> m_sums;
    std::vector<uint32_t> m_counts;
};

} // namespace tvl
