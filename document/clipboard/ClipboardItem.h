#pragma once

#include <QByteArray>
#include <memory>

namespace tvl {

class CRichChild;

// The object clipboard's block: the item record of one "Text" or "Track" item in the archive encoding,
// nothing before or after it. It is written as a free (unlinked) item, so its characters travel with it;
// the item itself is not changed.
QByteArray EncodeClipboardItem(const CRichChild& item);

// The item of a block; bytes after the record are ignored. Null for a truncated or malformed record, one
// of another kind, a linked one or one of an impossible size.
std::unique_ptr<CRichChild> DecodeClipboardItem(const QByteArray& block);

} // namespace tvl
