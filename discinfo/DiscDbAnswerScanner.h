#pragma once

#include <QByteArray>

namespace tvl {

// Follows the HTTP answer of a disc-database command as its bytes arrive and decides when it is
// complete or cannot become a valid answer. Each byte is looked at a bounded number of times, so a
// server that sends megabytes costs linear time.
//
// The answer is complete when it contains the terminator (which is cut off with what follows it), or
// once the first line of the body has arrived with a protocol status other than 210-219: such answers
// are a single line. In query mode that single line is the whole answer; in the other modes it is
// complete too, because no entry or list can follow it.
class DiscDbAnswerScanner
{
public:
    enum class State
    {
        Incomplete,
        Complete,
        HttpError,   // the status line says something other than 2xx
        NotHttp,     // the answer does not begin with "HTTP/"
        NotProtocol, // the body's first line has no three-digit status code
        TooLarge,    // more than maxAnswerSize bytes
    };

    static constexpr qsizetype maxAnswerSize = 16 * 1024 * 1024;

    explicit DiscDbAnswerScanner(QByteArray terminator = QByteArrayLiteral("\r\n.\r\n"));

    // Adds bytes and returns the new state; once the state is no longer Incomplete, further bytes are
    // ignored.
    State Append(const char* data, qsizetype size);
    State CurrentState() const { return state; }

    // What was received (the terminator and what follows it cut off once complete).
    const QByteArray& Text() const { return text; }
    // The HTTP status line, or the body's first line, without its line end: for messages.
    QByteArray HttpStatusLine() const;
    QByteArray BodyStatusLine() const;

private:
    State Scan(qsizetype from);

    QByteArray terminator;
    QByteArray text;
    State state = State::Incomplete;
    qsizetype httpLineEnd = -1;   // position of the first "\n"
    qsizetype bodyStart = -1;     // position after the first "\r\n\r\n"
    qsizetype bodyLineEnd = -1;   // position of the first "\n" of the body
    qsizetype scannedLineEnd = 0; // where the search for the next line feed goes on
    qsizetype scannedHeader = 0;  // where the search for the header end goes on
};

} // namespace tvl
