#include "images/codecs/BoxShrink.h"

#include "images/CxImage.h"
#include "images/ImageFormat.h"

#include <algorithm>

namespace tvl {
namespace {

template <int Channels, bool Alpha>
void AddPixels(uint32_t* rowSums, uint32_t* rowCounts, const std::vector<int>& columnCell,
               const uint8_t* pixels, int count, int firstColumn, int step)
{
    int column = firstColumn;
    for (int i = 0; i < count; ++i, column += step, pixels += Channels) {
        const int cell = columnCell[static_cast<size_t>(column)];
        uint32_t* sums = rowSums + 4 * cell;
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

uint8_t Divide(uint32_t sum, uint32_t by)
{
    return by == 0 ? 0 : static_cast<uint8_t>((uint64_t{sum} + by / 2) / by);
}

} // namespace

BoxShrink::BoxShrink(QSize source, int factor, bool alpha, bool rowsInOrder)
    : m_target((source.width() + factor - 1) / factor, (source.height() + factor - 1) / factor)
    , m_factor(factor)
    , m_alpha(alpha)
    , m_rowsInOrder(rowsInOrder)
    , m_columnCell(static_cast<size_t>(source.width()))
{
    for (int x = 0; x < source.width(); ++x)
        m_columnCell[static_cast<size_t>(x)] = x / factor;
    const size_t rowsHeld = rowsInOrder ? 1 : static_cast<size_t>(m_target.height());
    m_sums.resize(static_cast<size_t>(m_target.width()) * rowsHeld * 4);
    m_counts.resize(static_cast<size_t>(m_target.width()) * rowsHeld);
}

bool BoxShrink::Start(CxImage& image, QString& error)
{
    if (!image.Create(m_target.width(), m_target.height(), 24, CXIMAGE_FORMAT_PNG)) {
        error = image.lastError();
        return false;
    }
    if (m_alpha)
        image.AlphaCreate();
    m_image = &image;
    return true;
}

void BoxShrink::AddRow(int y, const uint8_t* pixels, int count, int firstColumn, int step, int channels)
{
    const int cellRow = y / m_factor;
    if (m_rowsInOrder && cellRow != m_openRow) {
        WriteRow(m_openRow);
        std::fill(m_sums.begin(), m_sums.end(), 0);
        std::fill(m_counts.begin(), m_counts.end(), 0);
        m_openRow = cellRow;
    }
    const size_t held = m_rowsInOrder ? 0 : static_cast<size_t>(cellRow);
    uint32_t* sums = m_sums.data() + held * static_cast<size_t>(m_target.width()) * 4;
    uint32_t* counts = m_counts.data() + held * static_cast<size_t>(m_target.width());
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

void BoxShrink::Finish()
{
    if (m_rowsInOrder) {
        WriteRow(m_openRow);
        return;
    }
    for (int row = 0; row < m_target.height(); ++row)
        WriteRow(row);
}

void BoxShrink::WriteRow(int cellRow)
{
    const size_t held = m_rowsInOrder ? 0 : static_cast<size_t>(cellRow);
    const uint32_t* rowSums = m_sums.data() + held * static_cast<size_t>(m_target.width()) * 4;
    const uint32_t* rowCounts = m_counts.data() + held * static_cast<size_t>(m_target.width());
    uint8_t* bgr = m_image->ScanLine(cellRow);
    uint8_t* alpha = m_alpha ? m_image->AlphaScanLine(cellRow) : nullptr;
    for (int x = 0; x < m_target.width(); ++x) {
        const uint32_t* sums = rowSums + 4 * x;
        const uint32_t weight = m_alpha ? sums[3] : rowCounts[x];
        bgr[3 * x] = Divide(sums[2], weight);
        bgr[3 * x + 1] = Divide(sums[1], weight);
        bgr[3 * x + 2] = Divide(sums[0], weight);
        if (alpha)
            alpha[x] = Divide(sums[3], rowCounts[x]);
    }
}

} // namespace tvl
