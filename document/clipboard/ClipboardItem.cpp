#include "document/clipboard/ClipboardItem.h"

#include "document/archive/CArchive.h"
#include "document/model/CRichChild.h"

#include <QBuffer>

namespace tvl {
namespace {

// No label sheet comes near 100 inches on a side.
constexpr int kLargestSide = 100'000;

bool Plausible(const CRichChild& item)
{
    return item.IsTextual() && item.bLinkText() == 0 && item.width() >= 0 && item.height() >= 0 &&
           item.width() <= kLargestSide && item.height() <= kLargestSide;
}

} // namespace

QByteArray EncodeClipboardItem(const CRichChild& item)
{
    if (!item.IsTextual())
        return {};
    CRichChild record = item;
    record.AttachRecorder(nullptr);
    record.bLinkText(0);
    QByteArray block;
    QBuffer buffer(&block);
    buffer.open(QIODevice::WriteOnly);
    CArchive archive(buffer, CArchive::Mode::Store);
    record.Serialize(archive);
    archive.Flush();
    return block;
}

std::unique_ptr<CRichChild> DecodeClipboardItem(const QByteArray& block)
{
    QByteArray bytes = block;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    auto item = std::make_unique<CRichChild>();
    try {
        CArchive archive(buffer, CArchive::Mode::Load);
        item->Serialize(archive);
    } catch (const ArchiveError&) {
        return nullptr;
    }
    if (!Plausible(*item))
        return nullptr;
    return item;
}

} // namespace tvl
