// Feeds arbitrary lines to the query-match and server-line parsers.
#include "discinfo/DiscDbAnswer.h"
#include "discinfo/DiscDbLineParser.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text =
        QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    tvl::ProtocolStatus(text);
    for (const QString& line : tvl::SplitAnswerLines(text)) {
        tvl::ParseMatchLine(line);
        tvl::ParseServerLine(line);
    }
    return 0;
}
