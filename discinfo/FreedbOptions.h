#pragma once

#include "discinfo/DiscDbServer.h"

#include <QString>
#include <QStringList>

namespace tvl {

// The current disc-database server as the setting FreedbOptions stores it: nine backquote-terminated
// fields (host, port, path, description, a 0, and four texts carried through unchanged).
struct FreedbOptions
{
    static constexpr int carriedFieldCount = 4;

    DiscDbServer server;
    QStringList carried{QString(), QString(), QString(), QString()};

    // Reads the stored text; an empty text gives the default public server. A port that is not a number
    // gives 0, as stored.
    static FreedbOptions Parse(const QString& text);
    // The stored text. Backquotes and control characters are dropped from every field, since a backquote
    // would shift every later field on the next start; a port outside 1..65535 is written as 80.
    QString Format() const;
};

// The stored default: the public server, port 80, its CGI path, "Random freedb server".
QString DefaultFreedbOptionsText();

// A text fit for one field of FreedbOptions: no backquotes, no control characters.
QString CleanFreedbField(const QString& text);

} // namespace tvl
