#pragma once

#include "discinfo/CdTextAlbum.h"

#include <cstdint>
#include <span>

namespace tvl {

// Assembles the title, performer and message strings of CD-TEXT block 0 from the raw READ TOC format 5
// answer (a 4-byte header, then 18-byte packs) into album. Reads only inside data; stops at the first
// pack out of sequence. True when at least one title or performer string was stored.
bool ParseCdText(std::span<const uint8_t> data, CdTextAlbum& album);

} // namespace tvl
