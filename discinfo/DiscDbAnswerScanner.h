#pragma once

#include <QByteArray>

namespace tvl {

// Follows the HTTP answer of a disc-database command as its bytes arrive and decides when it is
// complete or cannot become a valid answer. Each byte is looked at a bounded number of times, so a
// server that sends megabytes costs linear time.
//
// An answer whose body begins with a protocol status other than 210-219 is a single line: it is
// complete once that line has arrived, and the text kept ends with it. Otherwise (a list or an entry
// follows) it is complete when the body contains the terminator, which is cut off with what follows
// it. The verdict and the text kept do not depend on how the bytes were split when they arrived.
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
    // ignored. Bytes beyond maxAnswerSize make the state TooLarge unless the answer completes before.
    State Append(const char* data, qsizetype size);
    State CurrentState() const { return state; }

    // What was received (the terminator and what follows it cut off once complete).
    const QByteArray& Text() const { return text; }
    // The HTTP status line without its line end, at most 200 characters, control characters shown as
    // "?": for messages.
    QByteArray HttpStatusLine() const;

private:
    State Scan();

    QByteArray terminator;
    QByteArray text;
    State state = State::Incomplete;
    qsizetype httpLineEnd = -1;      // position of the first "\n"
    qsizetype bodyStart = -1;        // position after the first "\r\n\r\n"
    qsizetype bodyLineEnd = -1;      // position of the first "\n" of the body
    qsizetype scannedLineEnd = 0;    // where the search for the next line feed goes on
    qsizetype scannedHeader = 0;     // where the search for the header end goes on
    qsizetype scannedTerminator = 0; // where the search for the terminator goes on
};

} // namespace tvl
