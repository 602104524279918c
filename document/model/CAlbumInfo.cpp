#include "document/model/CAlbumInfo.h"

#include "document/archive/CArchive.h"

namespace tvl {
namespace {

constexpr std::array<std::u16string_view, kAlbumFieldCount> fieldKeys = {
    u"Artist", u"Title", u"Track List", u"Year", u"Time", u"Genre",
};

} // namespace

const RecordClass& CAlbumInfo::Class()
{
    static const RecordClass recordClass{"CAlbumInfo", kRecordSchema, true,
                                         [] { return std::make_unique<CAlbumInfo>(); }};
    return recordClass;
}

void CAlbumInfo::Serialize(CArchive& archive)
{
    archive.Exchange(currentPageCode);
    archive.Exchange(currentSurface);
    archive.Exchange(discMode);
    for (int field = 0; field < kAlbumFieldCount; ++field) {
        archive.Exchange(discs[0][field]);
        archive.Exchange(discs[1][field]);
    }
    if (archive.IsStoring() || !headerWithoutCaseKind)
        archive.Exchange(caseKind);
}

QString AlbumFieldKey(AlbumField field)
{
    const std::u16string_view key = fieldKeys[static_cast<size_t>(field)];
    return QString::fromUtf16(key.data(), static_cast<qsizetype>(key.size()));
}

std::optional<CAlbumInfo::FieldRef> CAlbumInfo::ParseKey(QStringView key)
{
    if (const qsizetype bracket = key.indexOf(u'('); bracket >= 0)
        key = key.left(bracket);
    int disc = 0;
    if (key.endsWith(u" - Disc 1")) {
        key.chop(9);
    } else if (key.endsWith(u" - Disc 2")) {
        key.chop(9);
        disc = 1;
    }
    for (int field = 0; field < kAlbumFieldCount; ++field) {
        if (key == fieldKeys[field])
            return FieldRef{disc, static_cast<AlbumField>(field)};
    }
    return std::nullopt;
}

QString CAlbumInfo::LinkedAlbumText(QStringView itemName) const
{
    const auto ref = ParseKey(itemName);
    return ref ? Field(ref->disc, ref->field) : QString();
}

bool CAlbumInfo::SetAlbumField(QStringView key, const QString& value)
{
    const auto ref = ParseKey(key);
    if (!ref)
        return false;
    Field(ref->disc, ref->field) = value;
    return true;
}

} // namespace tvl
