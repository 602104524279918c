// Feeds arbitrary --server texts to the server parser. Whatever it accepts must be safe to put into a
// request line (no blank, control character, "?" or "#") and read back the same from its own address.
#include "discinfo/DiscDbServerText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    tvl::IsValidServerPath(text);
    tvl::IsValidServerHost(text);
    const auto server = tvl::ParseServerText(text);
    if (!server)
        return 0;
    const QString requestParts = server->host + server->path;
    for (const QChar c : requestParts) {
        if (c.unicode() <= u' ' || c.unicode() >= 0x7F || c == u'?' || c == u'#')
            std::abort();
    }
    if (server->port < 1 || server->port > 65535)
        std::abort();
    const auto reread = tvl::ParseServerText(tvl::ServerAddress(*server) + server->path);
    if (!reread || reread->host != server->host || reread->port != server->port ||
        reread->path != server->path)
        std::abort();
    return 0;
}
