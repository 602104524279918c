// Feeds arbitrary read answers to the xmcd entry parser.
#include "discinfo/DiscDbAnswer.h"
#include "discinfo/XmcdParser.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString answer =
        QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    tvl::DiscRecord record;
    tvl::ParseXmcdEntry(tvl::AnswerBody(answer), record);
    tvl::DecodeXmcdValue(answer);
    return 0;
}
