#include "images/codecs/BoxShrink.h"

#include "images/CxImage.h"
#include "images/ImageFormat.h"

namespace tvl {
namespace {

// The cell of every source position.
std::vector<int> CellsOf(int source, int factor)
{
    std::vector<int> cells(static_cast<size_t>(source));
    for (int position = 0; position < source; ++position)
        cells[static_cast<size_t>(position)] = position / factor;
    return cells;
}

template <int Channels, bool Alpha>
void AddPixels(uint64_t* rowSums, uint32_t* rowCounts, const std::vector<int>& columnCell, const uint8_t* pixels,
               int count, int firstColumn, int step)
{
    int column = firstColumn;
    for (int i = 0; i < count; ++i, column += step, pixels += Channels) {
        const int cell = columnCell[static_cast<size_t>(column)];
        uint64_t* sums = rowSums + 4 * cell;
        ++rowCounts[cell];
        constexpr bool grey = Channels <= 2;
        const uint32_t r = pixels[0];
        const uint32_t g = grey ? pixels[0] : pixels[1];
        const uint32_t b = grey ? pixels[0] : pixels[2];
        if constexpr (Alpha) {
            const uint32_t a = pixels[Channels - 1];
            sums[0] += r * a;
            sums[1] += g * a;
            sums[2] += b * a;
            sums[3] += a;
        } else {
            sums[0] += r;
            sums[1] += g;
            sums[2] += b;
        }
    }
}

uint8_t Divide(uint64_t sum, uint64_t by)
{
    return by == 0 ? 0 : static_cast<uint8_t>((sum + by / 2) / by);
}

} // namespace

BoxShrink::BoxShrink(QSize source, int factor, bool alpha)
    : m_target((source.width() + factor - 1) / factor, (source.height() + factor - 1) / factor)
    , m_alpha(alpha)
    , m_columnCell(CellsOf(source.width(), factor))
    , m_rowCell(CellsOf(source.height(), factor))
    , m_sums(static_cast<size_t>(m_target.width()) * static_cast<size_t>(m_target.height()) * 4)
    , m_counts(static_cast<size_t>(m_target.width()) * static_cast<size_t>(m_target.height()))
{
}

void BoxShrink::AddRow(int y, const uint8_t* pixels, int count, int firstColumn, int step, int channels)
{
    const size_t row = static_cast<size_t>(m_rowCell[static_cast<size_t>(y)]) * static_cast<size_t>(m_target.width());
    uint64_t* sums = m_sums.data() + row * 4;
    uint32_t* counts = m_counts.data() + row;
    switch (channels) {
    case 1:
        AddPixels<1, false>(sums, counts, m_columnCell, pixels, count, firstColumn, step);
        break;
    case 2:
        AddPixels<2, true>(sums, counts, m_columnCell, pixels, count, firstColumn, step);
        break;
    case 3:
        AddPixels<3, false>(sums, counts, m_columnCell, pixels, count, firstColumn, step);
        break;
    default:
        AddPixels<4, true>(sums, counts, m_columnCell, pixels, count, firstColumn, step);
        break;
    }
}

bool BoxShrink::Finish(CxImage& image, QString& error) const
{
    if (!image.Create(m_target.width(), m_target.height(), 24, CXIMAGE_FORMAT_PNG)) {
        error = image.lastError();
        return false;
    }
    if (m_alpha)
        image.AlphaCreate();
    for (int y = 0; y < m_target.height(); ++y) {
        uint8_t* bgr = image.ScanLine(y);
        uint8_t* alpha = m_alpha ? image.AlphaScanLine(y) : nullptr;
        for (int x = 0; x < m_target.width(); ++x) {
            const size_t cell = static_cast<size_t>(y) * static_cast<size_t>(m_target.width()) + static_cast<size_t>(x);
            const uint64_t* sums = m_sums.data() + cell * 4;
            const uint64_t weight = m_alpha ? sums[3] : m_counts[cell];
            bgr[3 * x] = Divide(sums[2], weight);
            bgr[3 * x + 1] = Divide(sums[1], weight);
            bgr[3 * x + 2] = Divide(sums[0], weight);
            if (alpha)
                alpha[x] = Divide(sums[3], m_counts[cell]);
        }
    }
    return true;
}

} // namespace tvl
