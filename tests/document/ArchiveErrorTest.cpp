#include "tests/document/ArchiveBytes.h"

#include "document/archive/ObjectArray.h"
#include "document/model/CProperty.h"
#include "document/model/CRichChild.h"
#include "document/model/CText.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

using test::Bytes;
using test::Loaded;
using Cause = ArchiveError::Cause;

// A class that refuses other schemas, as the archive allows.
class FixedSchemaRecord : public ArchiveRecord
{
public:
    static const RecordClass& Class()
    {
        static const RecordClass recordClass{"FixedSchemaRecord", kRecordSchema, false,
                                             [] { return std::make_unique<FixedSchemaRecord>(); }};
        return recordClass;
    }
    const RecordClass& recordClass() const override { return Class(); }
    void Serialize(CArchive&) override {}
};

QByteArray NewClass(const QByteArray& name, int schema = 310)
{
    return Bytes({0xFF, 0xFF, schema & 0xFF, schema >> 8, static_cast<int>(name.size()), 0}) + name;
}

std::optional<Cause> LoadFails(const QByteArray& bytes, const std::function<void(CArchive&)>& read)
{
    try {
        Loaded(bytes, read);
    } catch (const ArchiveError& error) {
        return error.cause();
    }
    return std::nullopt;
}

void ReadObjects(CArchive& ar)
{
    for (;;)
        ar.GetObject();
}

struct ErrorCase
{
    const char* what;
    QByteArray bytes;
    std::function<void(CArchive&)> read;
    Cause cause;
};

TEST(ArchiveErrors, MalformedStreamsRaiseTheirCause)
{
    RegisterRecordClass(FixedSchemaRecord::Class());
    const QByteArray emptyText = Bytes({0, 0, 0, 0, 0, 0, 0});
    const QByteArray fourEntries =
        NewClass("CText") + emptyText + Bytes({0x01, 0x80}) + emptyText + Bytes({0x01, 0x80}) + emptyText;
    const ErrorCase cases[] = {
        {"back-reference past the registered entries", fourEntries + Bytes({0x05, 0x00}), ReadObjects,
         Cause::BadIndex},
        {"class number 0", Bytes({0x00, 0x80}), ReadObjects, Cause::BadIndex},
        {"class back-reference to an object", fourEntries + Bytes({0x02, 0x80}), ReadObjects,
         Cause::BadIndex},
        {"object back-reference to a class", fourEntries + Bytes({0x01, 0x00}), ReadObjects, Cause::BadIndex},
        {"unknown class name", NewClass("CWidget"), ReadObjects, Cause::BadClass},
        {"class names are case-sensitive", NewClass("CTEXT"), ReadObjects, Cause::BadClass},
        {"class name of 64 characters", NewClass(QByteArray(64, 'C')), ReadObjects, Cause::BadClass},
        {"class name cut short", NewClass("CText").left(9), ReadObjects, Cause::BadClass},
        {"unexpected class", NewClass("CText") + Bytes({0, 0, 0, 0, 0, 0, 0}),
         [](CArchive& ar) { ar.GetObject(&CProperty::Class()); }, Cause::BadClass},
        {"other schema of a fixed class", NewClass("FixedSchemaRecord", 300), ReadObjects, Cause::BadSchema},
        {"string cut short", Bytes({5, 'a', 'b'}), [](CArchive& ar) { ar.GetString(); }, Cause::EndOfFile},
        {"huge string length", Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}),
         [](CArchive& ar) { ar.GetString(); }, Cause::EndOfFile},
        {"huge UTF-16 length", Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x3F}),
         [](CArchive& ar) { ar.GetString(); }, Cause::EndOfFile},
        {"huge object count", Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F}),
         [](CArchive& ar) { GetObjectArray<CText>(ar); }, Cause::EndOfFile},
        {"huge word count", Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 1, 0}),
         [](CArchive& ar) { ar.GetWordArray(); }, Cause::EndOfFile},
        {"object fields cut short", NewClass("CText") + Bytes({1, 0}), ReadObjects, Cause::EndOfFile},
        {"empty stream", QByteArray(), [](CArchive& ar) { ar.GetWord(); }, Cause::EndOfFile},
    };
    for (const ErrorCase& c : cases)
        EXPECT_EQ(LoadFails(c.bytes, c.read), c.cause) << c.what;
}

TEST(ArchiveErrors, VersionableClassKeepsTheStreamSchema)
{
    const QByteArray bytes = NewClass("CText", 5) + Bytes({0, 0, 0, 0, 0, 0, 0});
    Loaded(bytes, [](CArchive& ar) {
        auto* text = static_cast<CText*>(ar.GetObject(&CText::Class()));
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->schemaSeen, 5);
        EXPECT_EQ(ar.GetObjectSchema(), -1);
    });
}

TEST(ArchiveErrors, AnObjectOwnedTwiceIsRejected)
{
    // An item list naming the same item twice would hand one item to two owners; a reference after the
    // list to an item the list took would point at memory the archive no longer owns.
    const QByteArray oneText = Bytes({1, 0}) + NewClass("CText") + Bytes({0, 0, 0, 0, 0, 0, 0});
    const QByteArray twice = Bytes({2, 0}) + oneText.mid(2) + Bytes({2, 0});
    EXPECT_EQ(LoadFails(twice, [](CArchive& ar) { GetObjectArray<CText>(ar); }), Cause::BadIndex);
    EXPECT_EQ(LoadFails(oneText + Bytes({2, 0}),
                        [](CArchive& ar) {
                            const auto texts = GetObjectArray<CText>(ar);
                            ar.GetObject();
                        }),
              Cause::BadIndex);
}

} // namespace
} // namespace tvl
