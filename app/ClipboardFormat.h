#pragma once

#include <QString>

namespace tvl {

// The object clipboard format "Tovrelline300" as a MIME type of ours.
inline const QString objectClipboardMimeType = QStringLiteral("application/x-tovrelline300");

} // namespace tvl
