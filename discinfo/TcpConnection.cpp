#include "discinfo/TcpConnection.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tvl {

namespace {

using Clock = std::chrono::steady_clock;

constexpr qsizetype chunkSize = 4096;

DiscDbFailure ScannerFailure(DiscDbAnswerScanner::State state)
{
    switch (state) {
    case DiscDbAnswerScanner::State::Complete:
        return DiscDbFailure::None;
    case DiscDbAnswerScanner::State::HttpError:
        return DiscDbFailure::HttpError;
    case DiscDbAnswerScanner::State::TooLarge:
        return DiscDbFailure::TooLarge;
    case DiscDbAnswerScanner::State::NotHttp:
    case DiscDbAnswerScanner::State::NotProtocol:
    case DiscDbAnswerScanner::State::Incomplete:
        break;
    }
    return DiscDbFailure::BadAnswer;
}

} // namespace

TcpConnection::TcpConnection(std::function<bool()> cancelled)
    : cancelled(std::move(cancelled))
{
}

int TcpConnection::WaitWritable(int timeoutMs) const
{
    return WaitWritable(fd, timeoutMs);
}

int TcpConnection::WaitWritable(int socket, int timeoutMs) const
{
    const auto until = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (Cancelled())
            return ECANCELED;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0)
            return ETIMEDOUT;
        const int slice =
            cancelled ? static_cast<int>(std::min<long long>(left, cancelPollMs)) : static_cast<int>(left);
        pollfd request{socket, POLLOUT, 0};
        const int ready = ::poll(&request, 1, slice);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return errno;
        if (ready == 0)
            continue;
        int error = 0;
        socklen_t length = sizeof(error);
        if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
            return errno;
        return error;
    }
}

TcpConnection::~TcpConnection()
{
    Close();
}

void TcpConnection::Close()
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

TcpConnection::ConnectResult TcpConnection::Connect(const QString& host, int port, int timeoutMs)
{
    Close();
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* addresses = nullptr;
    const QByteArray portText = QByteArray::number(port);
    if (::getaddrinfo(host.toUtf8().constData(), portText.constData(), &hints, &addresses) != 0)
        return ConnectResult::Unresolvable;
    ConnectResult result = ConnectResult::NoSocket;
    for (const addrinfo* address = addresses; address; address = address->ai_next) {
        const int candidate = ::socket(
            address->ai_family, address->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, address->ai_protocol);
        if (candidate < 0)
            continue;
        int error = ::connect(candidate, address->ai_addr, address->ai_addrlen) == 0 ? 0 : errno;
        if (error == EINPROGRESS)
            error = WaitWritable(candidate, timeoutMs);
        if (error == ECANCELED) {
            ::close(candidate);
            result = ConnectResult::Unreachable;
            break;
        }
        if (error == 0) {
            fd = candidate;
            result = ConnectResult::Connected;
            break;
        }
        // One refusal among unreachable addresses still says that the host is there.
        if (error == ECONNREFUSED)
            result = ConnectResult::Refused;
        else if (result != ConnectResult::Refused)
            result = ConnectResult::Unreachable;
        ::close(candidate);
    }
    ::freeaddrinfo(addresses);
    return result;
}

bool TcpConnection::Send(const QByteArray& request, int timeoutMs)
{
    qsizetype sent = 0;
    while (fd >= 0 && sent < request.size()) {
        const ssize_t count =
            ::send(fd, request.constData() + sent, static_cast<size_t>(request.size() - sent), MSG_NOSIGNAL);
        if (count < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (errno != EINTR && WaitWritable(timeoutMs) != 0)
                return false;
            continue;
        }
        if (count <= 0)
            return false;
        sent += count;
    }
    return fd >= 0;
}

DiscDbFailure TcpConnection::Receive(DiscDbAnswerScanner& answer, int timeoutMs, Clock::time_point deadline)
{
    if (fd < 0)
        return DiscDbFailure::Closed;
    std::array<char, chunkSize> chunk{};
    auto lastByte = Clock::now();
    for (;;) {
        if (Cancelled())
            return DiscDbFailure::Cancelled;
        const auto now = Clock::now();
        const auto silentUntil = lastByte + std::chrono::milliseconds(timeoutMs);
        if (now >= deadline)
            return DiscDbFailure::Deadline;
        if (now >= silentUntil)
            return DiscDbFailure::Silent;
        // Wake at least every poll interval, and in time for whichever limit comes first.
        const auto wait = std::min({std::chrono::duration_cast<std::chrono::milliseconds>(silentUntil - now),
                                    std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now),
                                    std::chrono::milliseconds(cancelled ? cancelPollMs : pollIntervalMs)});
        pollfd request{fd, POLLIN, 0};
        const int ready = ::poll(&request, 1, static_cast<int>(std::max<long long>(1, wait.count())));
        if (ready < 0 && errno != EINTR)
            return DiscDbFailure::Reset;
        if (ready <= 0)
            continue;
        const ssize_t count = ::recv(fd, chunk.data(), chunk.size(), 0);
        if (count < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        if (count < 0)
            return DiscDbFailure::Reset;
        if (count == 0)
            return DiscDbFailure::Closed;
        lastByte = Clock::now();
        const DiscDbAnswerScanner::State state = answer.Append(chunk.data(), count);
        if (state != DiscDbAnswerScanner::State::Incomplete)
            return ScannerFailure(state);
    }
}

} // namespace tvl
