#include "discinfo/DiscDbAnswerScanner.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

using State = DiscDbAnswerScanner::State;

TEST(DiscDbAnswerScannerTest, VerdictsDoNotDependOnHowBytesArrive)
{
    const QByteArray ok = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n";
    const struct
    {
        const char* name;
        QByteArray answer;
        State state;
        QByteArray kept; // the text kept once complete
    } cases[] = {
        {"single line, more after it", ok + "202 No match\r\nleft over\r\n.\r\n", State::Complete,
         ok + "202 No match"},
        {"single line without its end", ok + "200 rock 0c016602 A / B", State::Incomplete, {}},
        {"list", ok + "211 list\r\nrock 1 A / B\r\n.\r\nafter", State::Complete,
         ok + "211 list\r\nrock 1 A / B"},
        {"empty list", ok + "210 list\r\n.\r\n", State::Complete, ok + "210 list"},
        {"list without terminator", ok + "211 list\r\nrock 1 A / B\r\n", State::Incomplete, {}},
        {"terminator in the header only",
         "HTTP/1.0 200 OK\r\nX: a\r\n.\r\n\r\n211 x\r\n",
         State::Incomplete,
         {}},
        {"HTTP error", "HTTP/1.0 404 Not Found\r\n\r\n", State::HttpError, {}},
        {"HTTP redirect", "HTTP/1.1 302 Found\r\n", State::HttpError, {}},
        {"status line without code", "HTTP/1.0\r\n\r\n", State::HttpError, {}},
        {"not HTTP", "SSH-2.0-x\r\n", State::NotHttp, {}},
        {"lower-case prefix", "http/1.0 200 OK\r\n\r\n200 x\r\n", State::NotHttp, {}},
        {"body without status", ok + "<html>\r\n", State::NotProtocol, {}},
        {"short body line", ok + "20\r\n", State::NotProtocol, {}},
        {"empty body line", ok + "\r\n.\r\n", State::NotProtocol, {}},
    };
    for (const auto& c : cases) {
        DiscDbAnswerScanner whole;
        whole.Append(c.answer.constData(), c.answer.size());
        DiscDbAnswerScanner byteByByte;
        for (const char byte : c.answer)
            byteByByte.Append(&byte, 1);
        EXPECT_EQ(whole.CurrentState(), c.state) << c.name;
        EXPECT_EQ(byteByByte.CurrentState(), c.state) << c.name;
        if (c.state == State::Complete) {
            EXPECT_EQ(whole.Text(), c.kept) << c.name;
            EXPECT_EQ(byteByByte.Text(), c.kept) << c.name;
        }
    }
}

TEST(DiscDbAnswerScannerTest, HttpStatusLineIsFitForAMessage)
{
    DiscDbAnswerScanner scanner;
    const QByteArray answer = "HTTP/1.0 403 No\x01way\r\n\r\n";
    EXPECT_EQ(scanner.Append(answer.constData(), answer.size()), State::HttpError);
    EXPECT_EQ(scanner.HttpStatusLine(), QByteArray("HTTP/1.0 403 No?way"));
}

TEST(DiscDbAnswerScannerTest, TheCapHoldsToTheByte)
{
    const QByteArray start = "HTTP/1.0 200 OK\r\n\r\n211 list\r\n";
    const QByteArray filler(DiscDbAnswerScanner::maxAnswerSize - start.size(), 'x');
    DiscDbAnswerScanner atCap;
    atCap.Append(start.constData(), start.size());
    EXPECT_EQ(atCap.Append(filler.constData(), filler.size()), State::Incomplete);
    EXPECT_EQ(atCap.Append("x", 1), State::TooLarge);
    EXPECT_EQ(atCap.Text().size(), DiscDbAnswerScanner::maxAnswerSize);

    // An answer that ends inside the cap is complete, whatever follows it in the same read.
    QByteArray justInside = start + QByteArray(1000, 'x') + "\r\n.\r\n";
    justInside += QByteArray(DiscDbAnswerScanner::maxAnswerSize, 'y');
    DiscDbAnswerScanner inside;
    EXPECT_EQ(inside.Append(justInside.constData(), justInside.size()), State::Complete);
}

} // namespace
} // namespace tvl
