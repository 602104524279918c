#include "discinfo/DiscDbServerText.h"

namespace tvl {

namespace {

constexpr qsizetype maxHostLength = 253;
constexpr qsizetype maxPathLength = 2048;

bool IsAsciiAlnum(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

bool IsHexDigit(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// RFC 3986 pchar without percent-encoding, plus "/".
bool IsPathCharacter(char16_t c)
{
    return IsAsciiAlnum(c) || QStringView(u"-._~!$&'()*+,;=:@/").contains(QChar(c));
}

bool IsIpv6Address(QStringView host)
{
    if (!host.contains(u':'))
        return false;
    for (const QChar c : host) {
        if (!IsHexDigit(c.unicode()) && c != u':' && c != u'.')
            return false;
    }
    return true;
}

// "1" to "65535", digits only.
std::optional<int> ParsePort(QStringView text)
{
    if (text.isEmpty() || text.size() > 5)
        return std::nullopt;
    int port = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        port = port * 10 + (c.unicode() - u'0');
    }
    if (port < 1 || port > 65535)
        return std::nullopt;
    return port;
}

} // namespace

bool IsValidServerHost(QStringView host)
{
    if (host.isEmpty() || host.size() > maxHostLength)
        return false;
    if (IsIpv6Address(host))
        return true;
    if (host.startsWith(u'-') || host.startsWith(u'.'))
        return false;
    for (const QChar c : host) {
        if (!IsAsciiAlnum(c.unicode()) && c != u'-' && c != u'_' && c != u'.')
            return false;
    }
    return true;
}

bool IsValidServerPath(QStringView path)
{
    if (!path.startsWith(u'/') || path.size() > maxPathLength)
        return false;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path[i].unicode();
        if (c == u'%') {
            if (i + 2 >= path.size() || !IsHexDigit(path[i + 1].unicode()) ||
                !IsHexDigit(path[i + 2].unicode()))
                return false;
            i += 2;
        } else if (!IsPathCharacter(c)) {
            return false;
        }
    }
    return true;
}

std::optional<DiscDbServer> ParseServerText(QStringView text)
{
    DiscDbServer server;
    QStringView host;
    QStringView rest;
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        if (close < 0)
            return std::nullopt;
        host = text.mid(1, close - 1);
        if (!IsIpv6Address(host))
            return std::nullopt;
        rest = text.mid(close + 1);
    } else {
        qsizetype end = 0;
        while (end < text.size() && text[end] != u':' && text[end] != u'/')
            ++end;
        host = text.left(end);
        rest = text.mid(end);
    }
    if (!IsValidServerHost(host))
        return std::nullopt;
    server.host = host.toString();
    if (rest.startsWith(u':')) {
        qsizetype end = 1;
        while (end < rest.size() && rest[end] != u'/')
            ++end;
        const auto port = ParsePort(rest.mid(1, end - 1));
        if (!port)
            return std::nullopt;
        server.port = *port;
        rest = rest.mid(end);
    }
    if (!rest.isEmpty()) {
        if (!IsValidServerPath(rest))
            return std::nullopt;
        server.path = rest.toString();
    }
    return server;
}

QString ServerAddress(const DiscDbServer& server)
{
    const bool ipv6 = server.host.contains(u':');
    return (ipv6 ? u'[' + server.host + u']' : server.host) + u':' + QString::number(server.port);
}

} // namespace tvl
