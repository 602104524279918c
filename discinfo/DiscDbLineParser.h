#pragma once

#include "discinfo/DiscDbMatch.h"
#include "discinfo/DiscDbServer.h"

#include <QString>

#include <optional>

namespace tvl {

// "category discid artist / title": nothing when one of the three parts is missing.
std::optional<DiscDbMatch> ParseMatchLine(const QString& line);

// "host http port path N037.23 W122.03 description" (blanks may repeat): nothing when a part is missing
// or malformed, the protocol is not http, or the host or path is not valid (IsValidServerHost,
// IsValidServerPath).
std::optional<DiscDbServer> ParseServerLine(const QString& line);

} // namespace tvl
