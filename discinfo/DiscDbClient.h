#pragma once

#include "discinfo/DiscDbMatch.h"
#include "discinfo/DiscDbServer.h"
#include "discinfo/DiscRecord.h"
#include "discinfo/TcpConnection.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>

namespace tvl {

// Talks to a freedb/CDDB database through its HTTP gateway: one connection and one HTTP/1.0 GET per
// command. Blocks the calling thread; used by one thread and for one task.
class DiscDbClient
{
public:
    enum QueryResult
    {
        queryDone = 0,         // the answer was parsed; the matches may be empty
        queryNoSocket = 1,     // no socket could be created
        queryNoConnection = 2, // neither attempt connected
        querySendFailed = 3,
        queryReceiveFailed = 4, // time-out, or closed or reset before the end
    };

    explicit DiscDbClient(int timeoutMs = 20000);

    // "hello=user+host+MfcCDDB+1.22&proto=5" with the log-on and host names of this machine.
    QString BuildHello() const;
    // A log-on or host name as the hello carries it: "Unknown" when empty, at most 260 characters,
    // every character but ASCII letters and digits replaced by "_".
    static QString HelloWord(const QString& name);

    // command: the text of BuildQueryCommand. Returns a QueryResult.
    int Query(const DiscDbServer& server, const QString& command, QList<DiscDbMatch>& matches);
    // False when the server cannot be reached, the answer is incomplete, the entry was not sent
    // (status other than 210-219) or is not a valid xmcd entry.
    bool ReadRecord(const DiscDbServer& server, uint32_t discId, const QString& category, DiscRecord& record);
    bool GetSites(const DiscDbServer& server, QList<DiscDbServer>& sites);

    // How a query connects: a failed first attempt is followed by a second one, whose connection is
    // then used. queryDone when attempt connected, else the QueryResult of the failure.
    static int ConnectForQuery(const std::function<TcpConnection::ConnectResult()>& attempt);

    // The last answer read, or the part read of a failed one; emptied after a successful parse.
    const QString& LastResponse() const { return lastResponse; }
    bool Ok() const { return ok != 0; }

private:
    // Connects, sends and receives one command; false on any failure of the three.
    bool Exchange(const DiscDbServer& server, const QString& cmd, QString& answer);
    QByteArray Request(const DiscDbServer& server, const QString& cmd) const;

    QString lastResponse;
    int ok = 1;
    int timeoutMs;
    QString clientName = QStringLiteral("MfcCDDB");
    QString clientVersion = QStringLiteral("1.22");
    int protocolLevel = 5;
};

} // namespace tvl
