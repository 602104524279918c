#include "discinfo/TcpConnection.h"

#include "discinfo/DiscDbAnswer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tvl {

namespace {

// True when the answer's body has a status line whose code says no list follows.
bool IsCompleteSingleLine(const QByteArray& text)
{
    const qsizetype header = text.indexOf("\r\n\r\n");
    if (header < 0)
        return false;
    const QByteArray body = text.mid(header + 4);
    const int status = ProtocolStatus(QString::fromLatin1(body.left(3)));
    if (status < 0 || (status >= 210 && status <= 219))
        return false;
    return body.contains('\n');
}

bool WaitWritable(int fd, int timeoutMs)
{
    pollfd request{fd, POLLOUT, 0};
    int ready = 0;
    do {
        ready = ::poll(&request, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0)
        return false;
    int error = 0;
    socklen_t length = sizeof(error);
    return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

} // namespace

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
        return ConnectResult::unreachable;
    ConnectResult result = ConnectResult::noSocket;
    for (const addrinfo* address = addresses; address; address = address->ai_next) {
        const int candidate = ::socket(
            address->ai_family, address->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, address->ai_protocol);
        if (candidate < 0)
            continue;
        result = ConnectResult::unreachable;
        const bool connected = ::connect(candidate, address->ai_addr, address->ai_addrlen) == 0 ||
                               (errno == EINPROGRESS && WaitWritable(candidate, timeoutMs));
        if (connected) {
            fd = candidate;
            result = ConnectResult::connected;
            break;
        }
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
            if (errno != EINTR && !WaitWritable(fd, timeoutMs))
                return false;
            continue;
        }
        if (count <= 0)
            return false;
        sent += count;
    }
    return fd >= 0;
}

bool TcpConnection::Receive(const QByteArray& terminator, bool queryMode, int timeoutMs, QByteArray& text)
{
    using Clock = std::chrono::steady_clock;
    text.clear();
    if (fd < 0)
        return false;
    qsizetype capacity = chunkSize;
    QByteArray chunk;
    auto lastByte = Clock::now();
    for (;;) {
        if (Clock::now() - lastByte > std::chrono::milliseconds(timeoutMs))
            return false;
        pollfd request{fd, POLLIN, 0};
        const int ready = ::poll(&request, 1, 0);
        if (ready < 0 && errno != EINTR)
            return false;
        if (ready <= 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(pollIntervalMs));
            continue;
        }
        const qsizetype space = capacity - text.size() - 1;
        chunk.resize(space);
        const ssize_t count = ::recv(fd, chunk.data(), static_cast<size_t>(space), 0);
        if (count < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        if (count <= 0)
            return false;
        lastByte = Clock::now();
        const qsizetype searchFrom = std::max<qsizetype>(0, text.size() - terminator.size() + 1);
        text.append(chunk.constData(), count);
        if (count == space)
            capacity += chunkSize;
        if (text.size() > maxAnswerSize)
            return false;
        const qsizetype end = text.indexOf(terminator, searchFrom);
        if (end >= 0) {
            text.truncate(end);
            return true;
        }
        if (queryMode && IsCompleteSingleLine(text))
            return true;
    }
}

} // namespace tvl
