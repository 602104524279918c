#pragma once

#include "discinfo/DiscDbServer.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace tvl {

// "HOST", "HOST:PORT", "HOST/PATH" or "HOST:PORT/PATH", an IPv6 address in brackets ("[::1]:8080");
// the port and path default to 80 and "/~cddb/cddb.cgi". Nothing when a part is not valid.
std::optional<DiscDbServer> ParseServerText(QStringView text);

// A host name of letters, digits, "-", "_" and ".", or an IPv6 address: nothing that could change the
// meaning of a request line.
bool IsValidServerHost(QStringView host);

// An absolute URL path: "/" followed by the characters a path may hold unescaped, and "%" with two
// hexadecimal digits. No blanks, control characters, "?" or "#": the request appends its own query.
bool IsValidServerPath(QStringView path);

// "host:port", an IPv6 address in brackets: how messages name a server.
QString ServerAddress(const DiscDbServer& server);

} // namespace tvl
