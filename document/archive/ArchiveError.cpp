#include "document/archive/ArchiveError.h"

namespace tvl {

const char* ArchiveError::what() const noexcept
{
    switch (m_cause) {
    case Cause::EndOfFile:
        return "unexpected end of file";
    case Cause::BadIndex:
        return "bad object or class index";
    case Cause::BadClass:
        return "unknown or unexpected class";
    case Cause::BadSchema:
        return "unsupported class schema";
    case Cause::OutOfMemory:
        return "out of memory";
    case Cause::TooManyElements:
        return "more elements than a design can hold";
    }
    return "archive error";
}

} // namespace tvl
