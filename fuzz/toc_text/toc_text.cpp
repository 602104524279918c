// Feeds arbitrary --toc texts to the table-of-contents parser. Whatever it accepts must be a disc the
// rest of the system can work with: 1 to 99 tracks, strictly increasing offsets from 150, the lead-out
// after the last track, and the same table again when written back as text.
#include "discinfo/CdPlayerFile.h"
#include "discinfo/DiscId.h"
#include "discinfo/DiscToc.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto parsed = tvl::DiscToc::FromText(text);
    if (!parsed) {
        if (parsed.error().isEmpty())
            std::abort();
        return 0;
    }
    const tvl::DiscToc* toc = &parsed.value();
    const int n = toc->TrackCount();
    if (n < 1 || n > 99 || toc->Frames(0) < 150)
        std::abort();
    QString again;
    for (int i = 0; i <= n; ++i) {
        if (i > 0 && toc->Frames(i) <= toc->Frames(i - 1))
            std::abort();
        again += (i < n && toc->IsDataTrack(i) ? QStringLiteral("d") : QString()) +
                 QString::number(toc->Frames(i)) + u' ';
    }
    const auto reread = tvl::DiscToc::FromText(again);
    if (!reread || reread.value().bytes != toc->bytes)
        std::abort();
    tvl::ComputeDiscId(*toc);
    tvl::BuildQueryCommand(*toc);
    tvl::TrackLengths(*toc);
    tvl::CdPlayerSectionHeader(*toc);
    return 0;
}
