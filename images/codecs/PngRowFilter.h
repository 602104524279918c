#pragma once

#include <cstddef>
#include <vector>

namespace tvl {

// Chooses and applies a PNG filter to each row the way libpng does by default, so that files stay the size
// of libpng's: all five filters are tried and the one whose output has the smallest sum of absolute values
// (bytes read as signed) is kept, the earlier one on a tie. One object per thread: it keeps the trial rows.
class PngRowFilter
{
public:
    PngRowFilter(size_t rowLength, int bytesPerPixel);

    // Writes the filter type byte and the filtered row (rowLength + 1 bytes) to out. previous is the row
    // above, unfiltered; nullptr for the first row.
    void Filter(const unsigned char* row, const unsigned char* previous, unsigned char* out);

private:
    size_t m_length;
    size_t m_bpp;
    std::vector<unsigned char> m_zeros;
    std::vector<unsigned char> m_trials;
};

} // namespace tvl
