#pragma once

#include <exception>

namespace tvl {

// Raised while loading an archive; the caller catches it and decides what the user sees.
class ArchiveError : public std::exception
{
public:
    enum class Cause
    {
        EndOfFile,
        BadIndex,
        BadClass,
        BadSchema,
        OutOfMemory,
        TooManyElements,
    };

    explicit ArchiveError(Cause cause)
        : m_cause(cause)
    {
    }

    Cause cause() const { return m_cause; }
    const char* what() const noexcept override;

private:
    Cause m_cause;
};

} // namespace tvl
