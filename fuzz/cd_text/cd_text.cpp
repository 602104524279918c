// Feeds arbitrary READ TOC format 5 answers to the CD-TEXT reader.
#include "discinfo/CdText.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    tvl::CdTextAlbum album;
    tvl::ParseCdText(std::span(data, size), album);
    return 0;
}
