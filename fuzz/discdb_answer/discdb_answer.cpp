// Feeds arbitrary answers to the disc-database answer scanner in chunks whose sizes the first byte
// chooses, and checks that the chunking never changes the verdict or the text kept, then parses the
// body as the client would.
#include "discinfo/DiscDbAnswer.h"
#include "discinfo/DiscDbAnswerScanner.h"
#include "discinfo/DiscDbLineParser.h"
#include "discinfo/XmcdParser.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t step = 1 + data[0] % 64;
    const char* text = reinterpret_cast<const char*>(data + 1);
    const auto length = static_cast<qsizetype>(size - 1);

    tvl::DiscDbAnswerScanner whole;
    whole.Append(text, length);
    tvl::DiscDbAnswerScanner chunked;
    for (qsizetype at = 0; at < length; at += static_cast<qsizetype>(step))
        chunked.Append(text + at, std::min(static_cast<qsizetype>(step), length - at));
    if (whole.CurrentState() != chunked.CurrentState())
        std::abort();
    if (whole.CurrentState() == tvl::DiscDbAnswerScanner::State::Complete && whole.Text() != chunked.Text())
        std::abort();
    if (whole.Text().size() > tvl::DiscDbAnswerScanner::maxAnswerSize)
        std::abort();
    whole.HttpStatusLine();

    const QString body = tvl::AnswerBody(QString::fromLatin1(whole.Text()));
    tvl::DiscRecord record;
    tvl::ParseXmcdEntry(body, record);
    for (const QString& line : tvl::SplitAnswerLines(body))
        tvl::ParseMatchLine(line);
    return 0;
}
