#include "discinfo/DiscDbFailure.h"

namespace tvl {

QString DiscDbError::Message() const
{
    switch (kind) {
    case DiscDbFailure::None:
        return {};
    case DiscDbFailure::InvalidServer:
        return QStringLiteral("The disc-database server %1 is not a valid host and path.").arg(server);
    case DiscDbFailure::NoSocket:
        return QStringLiteral("No network connection could be created for %1.").arg(server);
    case DiscDbFailure::Unresolvable:
        return QStringLiteral("The server name of %1 could not be resolved.").arg(server);
    case DiscDbFailure::Refused:
        return QStringLiteral("%1 refused the connection.").arg(server);
    case DiscDbFailure::Unreachable:
        return QStringLiteral("%1 could not be reached.").arg(server);
    case DiscDbFailure::SendFailed:
        return QStringLiteral("The request could not be sent to %1.").arg(server);
    case DiscDbFailure::Silent:
        return QStringLiteral("%1 sent nothing for %2 seconds. (Timeout)").arg(server, detail);
    case DiscDbFailure::Deadline:
        return QStringLiteral("%1 did not finish its answer within %2 seconds.").arg(server, detail);
    case DiscDbFailure::Closed:
        return QStringLiteral("%1 closed the connection before the end of its answer.").arg(server);
    case DiscDbFailure::Reset:
        return QStringLiteral("The connection to %1 was reset before the end of its answer.").arg(server);
    case DiscDbFailure::TooLarge:
        return QStringLiteral("The answer of %1 is larger than 16 MiB.").arg(server);
    case DiscDbFailure::HttpError:
        return QStringLiteral("%1 answered with the HTTP error \"%2\".").arg(server, detail);
    case DiscDbFailure::BadAnswer:
        return QStringLiteral("The answer of %1 is not a disc-database answer.").arg(server);
    case DiscDbFailure::ServerError:
        return QStringLiteral("%1 refused the command: \"%2\".").arg(server, detail);
    case DiscDbFailure::BadEntry:
        return QStringLiteral("The entry sent by %1 is not a valid xmcd entry.").arg(server);
    case DiscDbFailure::Cancelled:
        return QStringLiteral("The request to %1 was cancelled.").arg(server);
    }
    return {};
}

} // namespace tvl
