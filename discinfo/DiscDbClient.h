#pragma once

#include "discinfo/DiscDbFailure.h"
#include "discinfo/DiscDbMatch.h"
#include "discinfo/DiscDbServer.h"
#include "discinfo/DiscRecord.h"
#include "discinfo/TcpConnection.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <utility>

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
        queryReceiveFailed = 4, // time-out, or closed or reset before the end, or not a valid answer
    };

    // timeoutMs: the longest silence while an answer arrives; deadlineMs: the longest time a whole
    // answer may take, so that a server trickling bytes cannot hold the thread forever.
    explicit DiscDbClient(int timeoutMs = 20000, int deadlineMs = 60000);

    // "hello=user+host+MfcCDDB+1.22&proto=5" with the log-on and host names of this machine.
    QString BuildHello() const;
    // The e-mail address the hello carries instead of the log-on and host names: the parts before and
    // after its "@" become the user and host words. An empty address restores the machine's names.
    void SetHelloAddress(const QString& address) { helloAddress = address; }
    // Asked while a connection waits; true ends the command at once as failed (Cancelled).
    void SetCancelCheck(std::function<bool()> check) { cancelled = std::move(check); }
    // A log-on or host name as the hello carries it: "Unknown" when empty, at most 260 characters,
    // every character but ASCII letters and digits replaced by "_".
    static QString HelloWord(const QString& name);

    // command: the text of BuildQueryCommand. Returns a QueryResult. queryDone with Ok() false means that
    // the server answered with a status other than 200, 202 and 210-219 (LastError says which).
    int Query(const DiscDbServer& server, const QString& command, QList<DiscDbMatch>& matches);
    // False when the server cannot be reached, the answer is incomplete, the entry was not sent
    // (status other than 210-219) or is not a valid xmcd entry.
    bool ReadRecord(const DiscDbServer& server, uint32_t discId, const QString& category, DiscRecord& record);
    bool GetSites(const DiscDbServer& server, QList<DiscDbServer>& sites);

    // How a query connects: a failed first attempt is followed by a second one, whose connection is
    // then used. queryDone when attempt connected, else the QueryResult of the failure; failure is set
    // to the outcome of the last attempt.
    static int ConnectForQuery(const std::function<TcpConnection::ConnectResult()>& attempt,
                               TcpConnection::ConnectResult& failure);

    // The last answer read, or the part read of a failed one; emptied after a successful parse.
    const QString& LastResponse() const { return lastResponse; }
    bool Ok() const { return ok != 0; }
    // Why the last failed command failed; kind None after a command that succeeded.
    const DiscDbError& LastError() const { return lastError; }

private:
    // Sends one command on a connected connection and receives its answer; false on a failure of
    // either, with lastError set.
    bool SendAndReceive(TcpConnection& connection, const DiscDbServer& server, const QString& cmd,
                        QString& answer);
    // Connects, sends and receives one command; false on any failure of the three.
    bool Exchange(const DiscDbServer& server, const QString& cmd, QString& answer);
    QByteArray Request(const DiscDbServer& server, const QString& cmd) const;
    void Fail(const DiscDbServer& server, DiscDbFailure kind, const QString& detail = {});

    QString lastResponse;
    int ok = 1;
    DiscDbError lastError;
    int timeoutMs;
    int deadlineMs;
    QString clientName = QStringLiteral("MfcCDDB");
    QString clientVersion = QStringLiteral("1.22");
    int protocolLevel = 5;
    QString helloAddress;
    std::function<bool()> cancelled;
};

} // namespace tvl
