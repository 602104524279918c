#pragma once

#include <atomic>
#include <cstdint>

namespace tvl {

// A stamp that changes whenever its owner changes. No two states of any owners share a value, so a cache
// keyed by it never mistakes a changed item, or a new item at a freed address, for the one it holds. A
// copy is a new state.
class Revision
{
public:
    Revision()
        : m_value(Next())
    {
    }
    Revision(const Revision&)
        : m_value(Next())
    {
    }
    Revision& operator=(const Revision&)
    {
        m_value = Next();
        return *this;
    }

    void Bump() { m_value = Next(); }
    std::uint64_t value() const { return m_value; }

private:
    static std::uint64_t Next()
    {
        static std::atomic<std::uint64_t> counter{0};
        return ++counter;
    }

    std::uint64_t m_value;
};

} // namespace tvl
