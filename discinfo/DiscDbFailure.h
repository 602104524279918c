#pragma once

#include <QString>

namespace tvl {

// Why a disc-database command failed; each kind has its own message.
enum class DiscDbFailure
{
    None,
    InvalidServer, // the host or path cannot be put into a request
    NoSocket,
    Unresolvable, // the host name did not resolve
    Refused,      // the host answered that nothing listens on the port
    Unreachable,  // no route to the host, or it did not accept within the time-out
    SendFailed,
    Silent,      // nothing arrived for the per-read time-out
    Deadline,    // the whole answer took longer than the request's deadline
    Closed,      // the server closed the connection before the end of the answer
    Reset,       // the connection was reset or failed before the end of the answer
    TooLarge,    // the answer grew beyond the answer cap
    HttpError,   // the HTTP status was not 2xx
    BadAnswer,   // not HTTP, or not a disc-database answer
    ServerError, // a protocol status that means the command failed
    BadEntry,    // the database entry is not a valid xmcd entry
    Cancelled,   // the reader stopped waiting because its work was given up
};

// One failure: its kind, the server as "host:port" and what the server said when that matters (the
// HTTP status line, the protocol status line, the time-out in seconds).
struct DiscDbError
{
    DiscDbFailure kind = DiscDbFailure::None;
    QString server;
    QString detail;

    // A sentence that names the server and the cause, such as "127.0.0.1:8080 refused the connection.".
    QString Message() const;
};

} // namespace tvl
