#include "LocalHttpServer.h"

#include <chrono>
#include <utility>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tvl::test {

namespace {

int ListenOnLoopback(int& port, bool ipv6)
{
    const int fd = ::socket(ipv6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_storage address{};
    socklen_t length = 0;
    if (ipv6) {
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
        v6->sin6_family = AF_INET6;
        v6->sin6_addr = in6addr_loopback;
        length = sizeof(sockaddr_in6);
    } else {
        auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
        v4->sin_family = AF_INET;
        v4->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        length = sizeof(sockaddr_in);
    }
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(fd, 8) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    port = ntohs(ipv6 ? reinterpret_cast<sockaddr_in6*>(&address)->sin6_port
                      : reinterpret_cast<sockaddr_in*>(&address)->sin_port);
    return fd;
}

} // namespace

LocalHttpServer::LocalHttpServer(std::vector<Script> scripts, bool ipv6)
    : scripts(std::move(scripts))
    , listener(ListenOnLoopback(port, ipv6))
    , thread([this] { Run(); })
{
}

LocalHttpServer::~LocalHttpServer()
{
    stop = true;
    thread.join();
    if (listener >= 0)
        ::close(listener);
}

std::vector<QByteArray> LocalHttpServer::Requests() const
{
    const std::lock_guard guard(lock);
    return requests;
}

QByteArray LocalHttpServer::Answer(const QByteArray& body)
{
    return "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + body;
}

int LocalHttpServer::ClosedPort()
{
    int port = 0;
    const int fd = ListenOnLoopback(port, false);
    if (fd >= 0)
        ::close(fd);
    return port;
}

bool LocalHttpServer::Pause(int ms) const
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until) {
        if (stop)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return !stop;
}

void LocalHttpServer::Run()
{
    if (listener < 0)
        return;
    for (const Script& script : scripts) {
        int client = -1;
        while (client < 0 && !stop) {
            pollfd request{listener, POLLIN, 0};
            if (::poll(&request, 1, 20) > 0)
                client = ::accept(listener, nullptr, nullptr);
        }
        if (client < 0)
            return;
        QByteArray received;
        char buffer[1024];
        while (!received.contains("\r\n\r\n") && !stop) {
            pollfd request{client, POLLIN, 0};
            if (::poll(&request, 1, 20) <= 0)
                continue;
            const ssize_t count = ::recv(client, buffer, sizeof(buffer), 0);
            if (count <= 0)
                break;
            received.append(buffer, count);
        }
        {
            const std::lock_guard guard(lock);
            requests.push_back(received);
        }
        bool open = true;
        for (const Chunk& chunk : script.chunks) {
            if (!Pause(chunk.delayMs))
                break;
            qsizetype sent = 0;
            while (open && sent < chunk.bytes.size()) {
                const ssize_t count = ::send(client, chunk.bytes.constData() + sent,
                                             static_cast<size_t>(chunk.bytes.size() - sent), MSG_NOSIGNAL);
                open = count > 0;
                sent += count > 0 ? count : 0;
            }
        }
        Pause(script.holdMs);
        if (script.reset) {
            const linger abort{1, 0};
            ::setsockopt(client, SOL_SOCKET, SO_LINGER, &abort, sizeof(abort));
        }
        ::close(client);
    }
}

} // namespace tvl::test
