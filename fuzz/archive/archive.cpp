// Reads a stream of mixed archive records; every input must end in a value or an ArchiveError.
#include "document/archive/CArchive.h"
#include "document/archive/ObjectArray.h"
#include "document/model/CAlbumInfo.h"
#include "document/model/CProperty.h"
#include "document/model/CRichChild.h"
#include "document/model/CText.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    tvl::CArchive archive(buffer, tvl::CArchive::Mode::Load);
    tvl::CAlbumInfo album;
    album.Field(0, tvl::AlbumField::Artist) = QStringLiteral("Artist\b");
    archive.SetAlbumContext(&album);
    try {
        for (int step = 0; step < 64; ++step) {
            switch (archive.GetByte() % 7) {
            case 0:
                archive.GetObject();
                break;
            case 1:
                archive.GetString();
                break;
            case 2:
                tvl::GetObjectArray<tvl::CRichChild>(archive);
                break;
            case 3:
                tvl::GetObjectArray<tvl::CProperty>(archive);
                tvl::GetObjectArray<tvl::CText>(archive);
                break;
            case 4:
                archive.GetWordArray();
                break;
            case 5:
                archive.GetLine();
                archive.GetRaw(archive.GetInt32());
                break;
            case 6:
                album.Serialize(archive);
                break;
            }
        }
    } catch (const tvl::ArchiveError&) {
    }
    return 0;
}
