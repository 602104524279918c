#include "discinfo/DiscDbAnswerScanner.h"

#include <algorithm>
#include <utility>

namespace tvl {

namespace {

constexpr QByteArrayView httpPrefix = "HTTP/";
constexpr qsizetype maxStatusLineLength = 200;

// The three digits after "HTTP/x.y ": -1 when they are not there.
int HttpStatus(QByteArrayView line)
{
    const qsizetype blank = line.indexOf(' ');
    if (blank < 0 || line.size() < blank + 4)
        return -1;
    int code = 0;
    for (qsizetype i = blank + 1; i < blank + 4; ++i) {
        if (line[i] < '0' || line[i] > '9')
            return -1;
        code = code * 10 + (line[i] - '0');
    }
    return code;
}

bool HasProtocolStatus(QByteArrayView body)
{
    return body.size() >= 3 &&
           std::all_of(body.begin(), body.begin() + 3, [](char c) { return c >= '0' && c <= '9'; });
}

// The text up to end (or all of it), fit for a message.
QByteArray PrintableLine(QByteArrayView text, qsizetype end)
{
    const qsizetype length = end < 0 ? text.size() : std::min(end, text.size());
    QByteArray line = text.first(std::min(length, maxStatusLineLength)).toByteArray();
    if (line.endsWith('\r'))
        line.chop(1);
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    }
    return line;
}

} // namespace

DiscDbAnswerScanner::DiscDbAnswerScanner(QByteArray terminator)
    : terminator(std::move(terminator))
{
}

QByteArray DiscDbAnswerScanner::HttpStatusLine() const
{
    return PrintableLine(text, httpLineEnd);
}

DiscDbAnswerScanner::State DiscDbAnswerScanner::Append(const char* data, qsizetype size)
{
    if (state != State::Incomplete || size <= 0)
        return state;
    const qsizetype room = maxAnswerSize - text.size();
    const bool overflow = size > room;
    text.append(data, overflow ? room : size);
    state = Scan();
    if (state == State::Incomplete && overflow)
        state = State::TooLarge;
    return state;
}

DiscDbAnswerScanner::State DiscDbAnswerScanner::Scan()
{
    const qsizetype prefixLength = std::min(text.size(), httpPrefix.size());
    if (QByteArrayView(text).first(prefixLength) != httpPrefix.first(prefixLength))
        return State::NotHttp;

    if (httpLineEnd < 0) {
        httpLineEnd = text.indexOf('\n', scannedLineEnd);
        scannedLineEnd = httpLineEnd < 0 ? text.size() : httpLineEnd + 1;
        if (httpLineEnd < 0)
            return State::Incomplete;
        const int status = HttpStatus(QByteArrayView(text).first(httpLineEnd));
        if (status < 200 || status > 299)
            return State::HttpError;
    }
    if (bodyStart < 0) {
        const qsizetype header = text.indexOf("\r\n\r\n", std::max(scannedHeader, httpLineEnd - 1));
        scannedHeader = std::max<qsizetype>(0, text.size() - 3);
        if (header < 0)
            return State::Incomplete;
        bodyStart = header + 4;
        scannedLineEnd = bodyStart;
        scannedTerminator = bodyStart;
    }
    if (bodyLineEnd < 0) {
        const QByteArrayView body = QByteArrayView(text).sliced(bodyStart);
        if (body.size() >= 3 && !HasProtocolStatus(body))
            return State::NotProtocol;
        bodyLineEnd = text.indexOf('\n', scannedLineEnd);
        scannedLineEnd = bodyLineEnd < 0 ? text.size() : bodyLineEnd + 1;
        if (bodyLineEnd < 0)
            return State::Incomplete;
        if (!HasProtocolStatus(body))
            return State::NotProtocol;
        const int status = (body[0] - '0') * 100 + (body[1] - '0') * 10 + (body[2] - '0');
        if (status < 210 || status > 219) {
            // A single-line answer: nothing after its line belongs to it.
            text.truncate(bodyLineEnd > bodyStart && text[bodyLineEnd - 1] == '\r' ? bodyLineEnd - 1
                                                                                   : bodyLineEnd);
            return State::Complete;
        }
    }
    const qsizetype end = text.indexOf(terminator, scannedTerminator);
    if (end >= 0) {
        text.truncate(end);
        return State::Complete;
    }
    // The terminator may straddle the end of what has arrived.
    scannedTerminator = std::max(bodyStart, text.size() - terminator.size() + 1);
    return State::Incomplete;
}

} // namespace tvl
