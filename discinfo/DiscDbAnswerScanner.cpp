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

// A line fit for a message: without its line end, at most 200 characters, control characters shown
// as "?".
QByteArray PrintableLine(QByteArrayView text, qsizetype end)
{
    QByteArray line = text.first(std::min(end < 0 ? text.size() : end, maxStatusLineLength)).toByteArray();
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

QByteArray DiscDbAnswerScanner::BodyStatusLine() const
{
    if (bodyStart < 0)
        return {};
    return PrintableLine(QByteArrayView(text).sliced(bodyStart),
                         bodyLineEnd < 0 ? -1 : bodyLineEnd - bodyStart);
}

DiscDbAnswerScanner::State DiscDbAnswerScanner::Append(const char* data, qsizetype size)
{
    if (state != State::Incomplete || size <= 0)
        return state;
    const qsizetype from = text.size();
    if (size > maxAnswerSize - from) {
        text.append(data, maxAnswerSize - from + 1);
        return state = State::TooLarge;
    }
    text.append(data, size);
    return state = Scan(from);
}

DiscDbAnswerScanner::State DiscDbAnswerScanner::Scan(qsizetype from)
{
    const qsizetype prefixLength = std::min(text.size(), httpPrefix.size());
    if (QByteArrayView(text).first(prefixLength) != httpPrefix.first(prefixLength))
        return State::NotHttp;

    // The terminator may straddle the previous end.
    const qsizetype terminatorFrom = std::max<qsizetype>(0, from - terminator.size() + 1);
    const qsizetype end = text.indexOf(terminator, terminatorFrom);

    if (httpLineEnd < 0) {
        httpLineEnd = text.indexOf('\n', scannedLineEnd);
        scannedLineEnd = httpLineEnd < 0 ? text.size() : httpLineEnd + 1;
        if (httpLineEnd >= 0) {
            const int status = HttpStatus(QByteArrayView(text).first(httpLineEnd));
            if (status < 200 || status > 299)
                return State::HttpError;
        }
    }
    if (httpLineEnd >= 0 && bodyStart < 0) {
        const qsizetype header = text.indexOf("\r\n\r\n", std::max(scannedHeader, httpLineEnd - 1));
        scannedHeader = std::max<qsizetype>(0, text.size() - 3);
        if (header >= 0) {
            bodyStart = header + 4;
            scannedLineEnd = bodyStart;
        }
    }
    if (bodyStart >= 0 && bodyLineEnd < 0) {
        bodyLineEnd = text.indexOf('\n', scannedLineEnd);
        scannedLineEnd = bodyLineEnd < 0 ? text.size() : bodyLineEnd + 1;
        const QByteArrayView body = QByteArrayView(text).sliced(bodyStart);
        if (body.size() >= 3 && !HasProtocolStatus(body))
            return State::NotProtocol;
        if (bodyLineEnd >= 0 && !HasProtocolStatus(body))
            return State::NotProtocol;
    }
    if (end >= 0) {
        text.truncate(end);
        return State::Complete;
    }
    if (bodyLineEnd >= 0) {
        const int status =
            (text[bodyStart] - '0') * 100 + (text[bodyStart + 1] - '0') * 10 + (text[bodyStart + 2] - '0');
        if (status < 210 || status > 219)
            return State::Complete;
    }
    return State::Incomplete;
}

} // namespace tvl
