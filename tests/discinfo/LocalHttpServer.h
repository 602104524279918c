#pragma once

#include <QByteArray>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace tvl::test {

// A scripted HTTP server on 127.0.0.1 for the tests: each accepted connection reads one request and
// plays the next script (chunks with pauses), then waits holdMs and closes.
class LocalHttpServer
{
public:
    struct Chunk
    {
        QByteArray bytes;
        int delayMs = 0; // pause before the chunk is sent
    };
    struct Script
    {
        std::vector<Chunk> chunks;
        int holdMs = 0;     // how long the connection stays open after the last chunk
        bool reset = false; // end the connection with a reset instead of an orderly close
    };

    // Listens on 127.0.0.1, or on ::1 when ipv6 is set.
    explicit LocalHttpServer(std::vector<Script> scripts, bool ipv6 = false);
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    // 0 when the server could not listen (no IPv6 loopback).
    int Port() const { return listener >= 0 ? port : 0; }
    // The requests received, one per connection, as sent.
    std::vector<QByteArray> Requests() const;

    // "HTTP/1.0 200 OK" with a content type, a blank line and body.
    static QByteArray Answer(const QByteArray& body);
    // A port on 127.0.0.1 where nothing listens.
    static int ClosedPort();

private:
    void Run();
    bool Pause(int ms) const;

    std::vector<Script> scripts;
    int port = 0;
    int listener = -1;
    std::atomic<bool> stop{false};
    mutable std::mutex lock;
    std::vector<QByteArray> requests;
    std::thread thread;
};

} // namespace tvl::test
