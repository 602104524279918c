#include "images/ImageResampler.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tvl {

namespace {

constexpr int weightBits = 14;
constexpr quint32 weightOne = 1u << weightBits;

// For each target position, the source positions it draws on and their fixed-point weights (summing to 1).
struct Taps
{
    std::vector<int> first;
    std::vector<int> count;
    std::vector<int> offset;
    std::vector<int> index;
    std::vector<quint32> weight;
};

Taps makeTaps(int sourceSize, int targetSize)
{
    Taps taps;
    const double scale = double(sourceSize) / targetSize;
    std::vector<double> raw;
    std::vector<int> rawIndex;
    for (int d = 0; d < targetSize; ++d) {
        raw.clear();
        rawIndex.clear();
        if (scale > 1.0) {
            const double left = d * scale;
            const double right = std::min((d + 1) * scale, double(sourceSize));
            for (int i = int(left); i < sourceSize && i < right; ++i) {
                const double covered = std::min(right, i + 1.0) - std::max(left, double(i));
                if (covered > 0) {
                    raw.push_back(covered / scale);
                    rawIndex.push_back(i);
                }
            }
        } else {
            const double centre = std::clamp((d + 0.5) * scale - 0.5, 0.0, double(sourceSize - 1));
            const int i0 = int(centre);
            const double f = centre - i0;
            raw.push_back(1.0 - f);
            rawIndex.push_back(i0);
            if (f > 0 && i0 + 1 < sourceSize) {
                raw.push_back(f);
                rawIndex.push_back(i0 + 1);
            }
        }
        double total = 0;
        for (double w : raw)
            total += w;
        taps.offset.push_back(int(taps.index.size()));
        quint32 sum = 0;
        size_t largest = 0;
        for (size_t k = 0; k < raw.size(); ++k) {
            const quint32 w = quint32(std::lround(raw[k] / total * weightOne));
            taps.index.push_back(rawIndex[k]);
            taps.weight.push_back(w);
            sum += w;
            if (raw[k] > raw[largest])
                largest = k;
        }
        // Rounding must not brighten or darken a flat area: the largest weight takes up the difference.
        taps.weight[taps.offset.back() + largest] += weightOne - sum;
        taps.count.push_back(int(raw.size()));
    }
    return taps;
}

template <int channels>
void horizontal(const quint16* row, const Taps& taps, int targetWidth, uchar* out)
{
    for (int x = 0; x < targetWidth; ++x) {
        const int begin = taps.offset[x];
        const int end = begin + taps.count[x];
        quint32 sum[channels] = {};
        for (int k = begin; k < end; ++k) {
            const quint16* px = row + taps.index[k] * channels;
            const quint32 w = taps.weight[k];
            for (int c = 0; c < channels; ++c)
                sum[c] += w * px[c];
        }
        for (int c = 0; c < channels; ++c)
            out[x * channels + c] = uchar(std::min<quint32>((sum[c] + (1u << 21)) >> 22, 255));
    }
}

} // namespace

void ImageResampler::resample(const uchar* source, int sourceWidth, int sourceHeight, qsizetype sourceStride,
                              uchar* target, int targetWidth, int targetHeight, qsizetype targetStride,
                              int channels)
{
    const Taps columns = makeTaps(sourceWidth, targetWidth);
    const Taps rows = makeTaps(sourceHeight, targetHeight);
    const size_t rowValues = size_t(sourceWidth) * channels;
    std::vector<quint32> sums(rowValues);
    std::vector<quint16> blended(rowValues);
    for (int y = 0; y < targetHeight; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        const int begin = rows.offset[y];
        const int end = begin + rows.count[y];
        for (int k = begin; k < end; ++k) {
            const uchar* src = source + rows.index[k] * sourceStride;
            const quint32 w = rows.weight[k];
            quint32* acc = sums.data();
            for (size_t i = 0; i < rowValues; ++i)
                acc[i] += w * src[i];
        }
        // Keep 8 fractional bits between the passes so two roundings do not add up.
        for (size_t i = 0; i < rowValues; ++i)
            blended[i] = quint16((sums[i] + 32) >> 6);
        uchar* out = target + y * targetStride;
        if (channels == 3)
            horizontal<3>(blended.data(), columns, targetWidth, out);
        else
            horizontal<1>(blended.data(), columns, targetWidth, out);
    }
}

} // namespace tvl
