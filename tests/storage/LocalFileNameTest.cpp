#include "storage/LocalFileName.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

struct NameCase
{
    const char* bytes;
    bool utf8;
};

// Every byte string comes back as it was; only valid UTF-8 reads as the same text Qt would make of it.
TEST(LocalFileNameTest, AnyBytesRoundTrip)
{
    const NameCase cases[] = {
        {"plain.tvl", true},
        {"caf\xc3\xa9.tvl", true},
        {"\xf0\x9f\x98\x80 smile.tvl", true},
        {"out-\xe9.tvl", false},
        {"\xff\xfe", false},
        {"\xed\xa0\x80 encoded surrogate", false},
        {"\xc0\xaf overlong slash", false},
        {"\xf4\x90\x80\x80 beyond Unicode", false},
        {"cut \xe2\x82", false},
        {"\xf0\x9f\x98\x80\xe9 pair then byte", false},
    };
    for (const NameCase& c : cases) {
        const QByteArray bytes(c.bytes);
        const QString name = FileNameFromBytes(bytes);
        EXPECT_EQ(FileNameBytes(name), bytes) << c.bytes;
        EXPECT_EQ(name == QString::fromUtf8(bytes), c.utf8) << c.bytes;
    }
    const QString escaped = FileNameFromBytes("out-\xe9.tvl");
    ASSERT_EQ(escaped.size(), 9);
    EXPECT_EQ(escaped.at(4).unicode(), 0xDCE9);
}

TEST(LocalFileNameTest, TextFromElsewhereIsUtf8)
{
    EXPECT_EQ(FileNameBytes(QStringLiteral("Caf\u00e9 \u20ac.tvl")),
              QByteArray("Caf\xc3\xa9 \xe2\x82\xac.tvl"));
    // A surrogate pair whose low half lies in the escape range is a character, not an escaped byte.
    const QString pair = QString::fromUcs4(U"\U00010080");
    ASSERT_EQ(pair.at(1).unicode(), 0xDC80);
    EXPECT_EQ(FileNameBytes(pair), pair.toUtf8());
}

} // namespace
} // namespace tvl
