#pragma once

#include <QByteArray>
#include <QString>

namespace tvl {

// One TCP connection to a disc-database server, closed when the object goes.
class TcpConnection
{
public:
    enum class ConnectResult
    {
        connected,
        noSocket,    // no socket could be created
        unreachable, // the name did not resolve or no address accepted the connection
    };

    // Answers longer than this are refused.
    static constexpr qsizetype maxAnswerSize = 16 * 1024 * 1024;
    static constexpr qsizetype chunkSize = 4096;
    static constexpr int pollIntervalMs = 250;

    TcpConnection() = default;
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    // Resolves host (names and IPv4 or IPv6 addresses) and connects to the first address that
    // accepts within timeoutMs.
    ConnectResult Connect(const QString& host, int port, int timeoutMs);
    // Sends all of request; false when the connection fails or stays blocked for timeoutMs.
    bool Send(const QByteArray& request, int timeoutMs);

    // Reads until the answer contains terminator, which is cut off with what follows it. Fails when
    // nothing arrives for timeoutMs, the connection closes or fails first, or the answer grows beyond
    // maxAnswerSize. In query mode, an answer whose status is not 210-219 is a single line: reading
    // stops once that line has arrived. text keeps what was read, also on failure.
    bool Receive(const QByteArray& terminator, bool queryMode, int timeoutMs, QByteArray& text);

private:
    void Close();

    int fd = -1;
};

} // namespace tvl
