#pragma once

#include <QString>

#include <cstdint>

namespace tvl {

// One entry named by a disc-database query answer.
struct DiscDbMatch
{
    QString category;
    uint32_t discId = 0;
    QString artist;
    QString title;
};

} // namespace tvl
