#include "images/codecs/PngRowFilter.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace tvl {
namespace {

using Byte = unsigned char;

size_t SignedSum(const Byte* bytes, size_t length)
{
    size_t sum = 0;
    for (size_t i = 0; i < length; ++i)
        sum += static_cast<size_t>(std::abs(static_cast<int>(static_cast<signed char>(bytes[i]))));
    return sum;
}

Byte Paeth(int a, int b, int c)
{
    const int pa = std::abs(b - c);
    const int pb = std::abs(a - c);
    const int pc = std::abs(a + b - 2 * c);
    return static_cast<Byte>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

} // namespace

PngRowFilter::PngRowFilter(size_t rowLength, int bytesPerPixel)
    : m_length(rowLength)
    , m_bpp(static_cast<size_t>(bytesPerPixel))
    , m_zeros(rowLength, 0)
    , m_trials(rowLength * 4)
{
}

void PngRowFilter::Filter(const Byte* row, const Byte* previous, Byte* out)
{
    const Byte* up = previous ? previous : m_zeros.data();
    const size_t n = m_length;
    const size_t bpp = std::min(m_bpp, n);
    Byte* sub = m_trials.data();
    Byte* vertical = sub + n;
    Byte* average = vertical + n;
    Byte* paeth = average + n;
    for (size_t i = 0; i < bpp; ++i) {
        sub[i] = row[i];
        vertical[i] = static_cast<Byte>(row[i] - up[i]);
        average[i] = static_cast<Byte>(row[i] - (up[i] >> 1));
        paeth[i] = static_cast<Byte>(row[i] - up[i]);
    }
    for (size_t i = bpp; i < n; ++i) {
        sub[i] = static_cast<Byte>(row[i] - row[i - bpp]);
        vertical[i] = static_cast<Byte>(row[i] - up[i]);
        average[i] = static_cast<Byte>(row[i] - ((row[i - bpp] + up[i]) >> 1));
        paeth[i] = static_cast<Byte>(row[i] - Paeth(row[i - bpp], up[i], up[i - bpp]));
    }
    const Byte* candidates[5] = {row, sub, vertical, average, paeth};
    int best = 0;
    size_t bestSum = SignedSum(row, n);
    for (int type = 1; type < 5; ++type) {
        const size_t sum = SignedSum(candidates[type], n);
        if (sum < bestSum) {
            bestSum = sum;
            best = type;
        }
    }
    out[0] = static_cast<Byte>(best);
    std::memcpy(out + 1, candidates[best], n);
}

} // namespace tvl
