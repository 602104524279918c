#include "render/text/AutoFitSearch.h"

#include <algorithm>

namespace tvl {
namespace {

int RoundUpTo5(int value)
{
    const int rest = value % 5;
    return rest == 0 ? value : value + 5 - rest;
}

} // namespace

int AutoFitSearch::FirstCandidate(int firstFontHeight)
{
    return std::clamp(firstFontHeight + 5 - firstFontHeight % 5, kMinSize, kMaxSize);
}

AutoFitSearch::AutoFitSearch(int firstFontHeight)
    : m_size(FirstCandidate(firstFontHeight))
{
}

AutoFitSearch::Outcome AutoFitSearch::Record(bool fitted)
{
    if (fitted && m_size == m_largestFit)
        return Outcome::Settled;
    if (fitted)
        m_largestFit = m_size;
    else
        m_lastFail = m_size;
    ++m_passes;
    if (m_lastFail == kMinSize || m_largestFit == kMaxSize || m_passes > kMaxSearchPasses)
        return Outcome::Stopped;

    int next = 0;
    if (m_largestFit < 0) {
        next = RoundUpTo5(m_size * 9 / 10);
        if (next == m_size)
            next -= 5;
        next = std::max(next, kMinSize);
    } else if (m_lastFail < 0) {
        next = RoundUpTo5(m_size * 11 / 10);
        if (next == m_size)
            next += 5;
        next = std::min(next, kMaxSize);
    } else {
        next = RoundUpTo5((m_largestFit + m_lastFail) / 2);
        if (next == m_size)
            next += fitted ? 5 : -5;
    }
    m_size = next;
    return Outcome::TryNext;
}

} // namespace tvl
