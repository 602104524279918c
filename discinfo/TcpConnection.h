#pragma once

#include "discinfo/DiscDbAnswerScanner.h"
#include "discinfo/DiscDbFailure.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>

namespace tvl {

// One TCP connection to a disc-database server, closed when the object goes.
class TcpConnection
{
public:
    enum class ConnectResult
    {
        Connected,
        NoSocket,     // no socket could be created
        Unresolvable, // the name did not resolve
        Refused,      // every address refused the connection
        Unreachable,  // no address accepted the connection within the time-out
    };

    static constexpr int pollIntervalMs = 250;
    // How often a connection with a cancel check asks it while it waits.
    static constexpr int cancelPollMs = 20;

    TcpConnection() = default;
    // cancelled is asked while the connection waits; once it answers true, Connect gives Unreachable,
    // Send false and Receive Cancelled, so that a reader whose work was given up ends at once.
    explicit TcpConnection(std::function<bool()> cancelled);
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    // Resolves host (names and IPv4 or IPv6 addresses) and connects to the first address that
    // accepts within timeoutMs.
    ConnectResult Connect(const QString& host, int port, int timeoutMs);
    // Sends all of request; false when the connection fails or stays blocked for timeoutMs.
    bool Send(const QByteArray& request, int timeoutMs);

    // Feeds what arrives to answer until it is complete or can no longer become a valid answer.
    // Fails (Silent) when nothing arrives for timeoutMs, (Deadline) when deadline passes first, and
    // (Closed, Reset) when the connection ends early. Returns None for a complete answer, the scanner's
    // verdict as TooLarge, HttpError or BadAnswer otherwise.
    DiscDbFailure Receive(DiscDbAnswerScanner& answer, int timeoutMs,
                          std::chrono::steady_clock::time_point deadline);

private:
    void Close();
    // 0 when the socket became writable without error, else the error (ETIMEDOUT when it did not,
    // ECANCELED when the wait was cancelled).
    int WaitWritable(int timeoutMs) const;
    int WaitWritable(int socket, int timeoutMs) const;
    bool Cancelled() const { return cancelled && cancelled(); }

    int fd = -1;
    std::function<bool()> cancelled;
};

} // namespace tvl
