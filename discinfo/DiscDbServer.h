#pragma once

#include <QString>

namespace tvl {

// A disc-database server reached through its HTTP gateway.
struct DiscDbServer
{
    QString host;
    int port = 80;
    QString path = QStringLiteral("/~cddb/cddb.cgi");
    bool north = true;
    int latitude = 0; // minutes of arc
    bool east = true;
    int longitude = 0; // minutes of arc
    QString description;

    // The public server asked when the configured one cannot be reached.
    static DiscDbServer DefaultPublic()
    {
        DiscDbServer server;
        server.host = QStringLiteral("gnudb.gnudb.org");
        return server;
    }
};

} // namespace tvl
