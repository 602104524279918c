#pragma once

#include <utility>
#include <variant>

namespace tvl {

// A value or the reason there is none. Error is the reason's type; it carries the message the caller shows.
template <class T, class Error>
class Result
{
public:
    Result(T value)
        : m_state(std::in_place_index<0>, std::move(value))
    {
    }
    Result(Error error)
        : m_state(std::in_place_index<1>, std::move(error))
    {
    }

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<0>(m_state); }
    const T& value() const { return std::get<0>(m_state); }
    const Error& error() const { return std::get<1>(m_state); }

private:
    std::variant<T, Error> m_state;
};

} // namespace tvl
