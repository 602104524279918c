#pragma once

namespace tvl {

// The search for the largest font size (tenths of a point, multiples of 5 within 25 … 5000) at which a
// text fits: shrink by a tenth while nothing fits, grow by a tenth while nothing fails, then halve the
// gap between the largest fitting and the last failing size; at most 70 passes.
class AutoFitSearch
{
public:
    // The first candidate: the first run's size rounded up to the next multiple of 5 above it.
    static int FirstCandidate(int firstFontHeight);

    explicit AutoFitSearch(int firstFontHeight);

    int size() const { return m_size; }

    enum class Outcome
    {
        TryNext, // lay out again at size()
        Settled, // the size fitted twice: the last pass stands
        Stopped, // lay out once more at size() with AutoFit off
    };
    // Records whether the pass at size() fitted and moves to the next candidate.
    Outcome Record(bool fitted);

    static constexpr int kMinSize = 25;
    static constexpr int kMaxSize = 5000;
    static constexpr int kMaxSearchPasses = 69;

private:
    int m_size;
    int m_largestFit = -1;
    int m_lastFail = -1;
    int m_passes = 1;
};

} // namespace tvl
