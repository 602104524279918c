#include "tests/document/ArchiveBytes.h"

#include "document/archive/ObjectArray.h"
#include "document/model/CProperty.h"
#include "document/model/CText.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

using test::Bytes;
using test::Loaded;
using test::Stored;

struct PrefixCase
{
    int length;
    QByteArray prefix;
};

TEST(ArchiveStrings, LengthPrefixFollowsTheThreeForms)
{
    const PrefixCase cases[] = {
        {0, Bytes({0x00})},
        {254, Bytes({0xFE})},
        {255, Bytes({0xFF, 0xFF, 0x00})},
        {65533, Bytes({0xFF, 0xFD, 0xFF})},
        {65534, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {70000, Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const PrefixCase& c : cases) {
        const QString text(c.length, u'x');
        const QByteArray bytes = Stored([&](CArchive& ar) { ar.PutString(text); });
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length) << c.length;
        EXPECT_EQ(bytes.left(c.prefix.size()), c.prefix) << c.length;
        Loaded(bytes, [&](CArchive& ar) { EXPECT_EQ(ar.GetString(), text) << c.length; });
    }
}

TEST(ArchiveStrings, Utf16FormLoads)
{
    const QByteArray bytes = Bytes({0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 'b', 0, 'c', 0});
    Loaded(bytes, [](CArchive& ar) { EXPECT_EQ(ar.GetString(), u"abc"); });
}

TEST(ArchiveStrings, Windows1252TextStaysEightBit)
{
    const QString text = QStringLiteral("Caf\u00E9 \u20AC5 \u201Cquoted\u201D");
    const QByteArray bytes = Stored([&](CArchive& ar) { ar.PutString(text); });
    EXPECT_EQ(bytes, Bytes({16, 'C', 'a', 'f', 0xE9, ' ', 0x80, '5', ' ', 0x93, 'q', 'u', 'o', 't', 'e', 'd',
                            0x94}));
    Loaded(bytes, [&](CArchive& ar) { EXPECT_EQ(ar.GetString(), text); });
}

TEST(ArchiveStrings, TextOutsideTheCodePageRoundTripsAsUtf16)
{
    const QString text = QStringLiteral("Bj\u00F6rk \u2014 \u6771\u4EAC \U0001F3B5");
    const QByteArray bytes = Stored([&](CArchive& ar) { ar.PutString(text); });
    EXPECT_EQ(bytes.left(4), Bytes({0xFF, 0xFE, 0xFF, static_cast<int>(text.size())}));
    EXPECT_EQ(bytes.size(), 4 + 2 * text.size());
    Loaded(bytes, [&](CArchive& ar) { EXPECT_EQ(ar.GetString(), text); });
}

TEST(ArchiveStrings, UndefinedCodePageBytesSurviveARoundTrip)
{
    const QByteArray stored = Bytes({5, 0x81, 0x8D, 0x8F, 0x90, 0x9D});
    QString loaded;
    Loaded(stored, [&](CArchive& ar) { loaded = ar.GetString(); });
    EXPECT_EQ(Stored([&](CArchive& ar) { ar.PutString(loaded); }), stored);
}

TEST(ArchiveObjects, ArrayOfThreeNewObjectsOfOneNewClass)
{
    std::vector<std::unique_ptr<CText>> texts;
    for (int i = 1; i <= 3; ++i) {
        texts.push_back(std::make_unique<CText>());
        texts.back()->number = i;
    }
    const QByteArray bytes = Stored([&](CArchive& ar) { PutObjectArray(ar, texts); });
    const QByteArray fields1 = Bytes({1, 0, 0, 0, 0, 0, 0});
    const QByteArray fields2 = Bytes({2, 0, 0, 0, 0, 0, 0});
    const QByteArray fields3 = Bytes({3, 0, 0, 0, 0, 0, 0});
    const QByteArray expected = Bytes({3, 0, 0xFF, 0xFF, 0x36, 0x01, 5, 0}) + QByteArray("CText") + fields1 +
                                Bytes({0x01, 0x80}) + fields2 + Bytes({0x01, 0x80}) + fields3;
    EXPECT_EQ(bytes, expected);

    Loaded(bytes, [](CArchive& ar) {
        const auto loaded = GetObjectArray<CText>(ar);
        ASSERT_EQ(loaded.size(), 3u);
        EXPECT_EQ(loaded[2]->number, 3);
        EXPECT_EQ(loaded[0]->schemaSeen, 310);
    });
}

TEST(ArchiveObjects, NumberingIsSharedByClassesAndObjects)
{
    CText text;
    CProperty property;
    const QByteArray bytes = Stored([&](CArchive& ar) {
        ar.PutObject(&text);
        ar.PutObject(&property);
        ar.PutObject(&text);
        ar.PutObject(&property);
        ar.PutObject(nullptr);
    });
    // Classes take 1 and 3, objects 2 and 4: repeated objects are the words 2 and 4.
    EXPECT_EQ(bytes.right(6), Bytes({0x02, 0x00, 0x04, 0x00, 0x00, 0x00}));

    Loaded(bytes, [](CArchive& ar) {
        ArchiveRecord* first = ar.GetObject();
        ArchiveRecord* second = ar.GetObject();
        EXPECT_EQ(ar.GetObject(), first);
        EXPECT_EQ(ar.GetObject(&CProperty::Class()), second);
        EXPECT_EQ(ar.GetObject(), nullptr);
        EXPECT_EQ(&first->recordClass(), &CText::Class());
        EXPECT_EQ(&second->recordClass(), &CProperty::Class());
    });
}

TEST(ArchiveObjects, NumbersBeyond32766UseTheLongForms)
{
    std::vector<std::unique_ptr<CText>> texts(33000);
    for (auto& text : texts)
        text = std::make_unique<CText>();
    CProperty first;
    CProperty second;
    const QByteArray bytes = Stored([&](CArchive& ar) {
        PutObjectArray(ar, texts);
        ar.PutObject(texts.back().get());
        ar.PutObject(&first);
        ar.PutObject(&second);
    });
    // The last text is object 33001; CProperty becomes class 33002, so the second property starts with
    // word 0x7FFF and the class number with bit 31 set.
    const int propertyFields = 4 + 4 + 1 + 4;
    EXPECT_EQ(bytes.right(6 + propertyFields).left(6), Bytes({0xFF, 0x7F, 0xEA, 0x80, 0x00, 0x80}));

    Loaded(bytes, [&](CArchive& ar) {
        ASSERT_EQ(ar.GetCount(), texts.size());
        ArchiveRecord* last = nullptr;
        for (size_t i = 0; i < texts.size(); ++i)
            last = ar.GetObject(&CText::Class());
        EXPECT_EQ(ar.GetObject(), last);
        EXPECT_NE(ar.GetObject(&CProperty::Class()), nullptr);
        EXPECT_NE(ar.GetObject(&CProperty::Class()), nullptr);
    });
}

TEST(ArchivePrimitives, LittleEndianValuesCountsAndLargeBlocks)
{
    QByteArray block(10000, '\0');
    for (int i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(i * 7);
    const QByteArray bytes = Stored([&](CArchive& ar) {
        ar.PutByte(0xAB);
        ar.PutWord(0x1234);
        ar.PutInt32(-2);
        ar.PutCount(65534);
        ar.PutCount(65535);
        ar.PutRaw(block);
        ar.PutWordArray({1, 0xFFFF});
    });
    EXPECT_EQ(bytes.left(13),
              Bytes({0xAB, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    Loaded(bytes, [&](CArchive& ar) {
        EXPECT_EQ(ar.GetByte(), 0xAB);
        EXPECT_EQ(ar.GetWord(), 0x1234);
        EXPECT_EQ(ar.GetInt32(), -2);
        EXPECT_EQ(ar.GetCount(), 65534u);
        EXPECT_EQ(ar.GetCount(), 65535u);
        EXPECT_EQ(ar.GetRaw(block.size()), block);
        EXPECT_EQ(ar.GetWordArray(), (std::vector<std::uint16_t>{1, 0xFFFF}));
    });
}

TEST(ArchivePrimitives, TextLinesEndAtLfOrAtCrAndTheByteAfterIt)
{
    const QByteArray bytes = Stored([](CArchive& ar) { ar.PutText("1\n42\r\nxyz"); });
    Loaded(bytes, [](CArchive& ar) {
        EXPECT_EQ(ar.GetLine(), QByteArray("1"));
        EXPECT_EQ(ar.GetLine(), QByteArray("42"));
        EXPECT_EQ(ar.GetLine(), QByteArray("xyz"));
        EXPECT_EQ(ar.GetLine(), std::nullopt);
    });
}

} // namespace
} // namespace tvl
