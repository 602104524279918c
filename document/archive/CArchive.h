#pragma once

#include "document/archive/ArchiveError.h"
#include "document/archive/ArchiveRecord.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class QIODevice;

namespace tvl {

class CAlbumInfo;

// Reads or writes records, strings and primitives over a byte stream (a file or a memory block) in the
// system's archive encoding: little-endian, counted strings, tagged object references with classes and
// objects numbered from 1 in the order they first occur.
//
// Loading raises ArchiveError on malformed input and never allocates more than the remaining stream can
// hold. Objects created by the loader belong to the archive until a caller takes them (TakeObject); the
// rest are freed with the archive.
class CArchive
{
public:
    enum class Mode
    {
        Store,
        Load,
    };

    static constexpr int kBufferSize = 4096;

    CArchive(QIODevice& device, Mode mode);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return m_mode == Mode::Store; }
    bool IsLoading() const { return m_mode == Mode::Load; }

    // Storing: writes the buffered bytes to the device. Loading: nothing to do.
    void Flush();

    void PutByte(std::uint8_t value);
    void PutWord(std::uint16_t value);
    void PutInt32(std::int32_t value);
    void PutDword(std::uint32_t value);
    void PutRaw(const char* data, std::int64_t size);
    void PutRaw(const QByteArray& data) { PutRaw(data.constData(), data.size()); }
    // 8-bit (Windows-1252) when every character fits, otherwise the UTF-16 form.
    void PutString(const QString& text);
    void PutCount(std::uint32_t count);
    void PutWordArray(const std::vector<std::uint16_t>& words);
    void PutObject(const ArchiveRecord* record);
    // Bytes with no prefix and no terminator (picture block lines).
    void PutText(const QByteArray& text);

    std::uint8_t GetByte();
    std::uint16_t GetWord();
    std::int32_t GetInt32();
    std::uint32_t GetDword();
    // Up to size bytes; fewer only at the end of the stream.
    QByteArray GetRaw(std::int64_t size);
    QString GetString();
    std::uint32_t GetCount();
    // A count of elements that each take at least minimumElementSize bytes; a count above maxCount is the
    // too-many-elements error, one the rest of the stream cannot hold the end-of-file error.
    std::uint32_t GetElementCount(int minimumElementSize, std::uint32_t maxCount = UINT32_MAX);
    // The next object reference: no object (nullptr), a back-reference or a new object. With expected
    // set, the object must be of that class (ArchiveError BadClass otherwise).
    ArchiveRecord* GetObject(const RecordClass* expected = nullptr);
    // Bytes up to a line end (LF, or CR and the byte after it), without the line end; nothing at the
    // end of the stream.
    std::optional<QByteArray> GetLine();
    std::vector<std::uint16_t> GetWordArray();

    // Hands a loaded object over to the caller. Our records are never shared, so a later reference to a
    // taken object, or a second take (a file that gives one object two owners), is the bad-index error.
    std::unique_ptr<ArchiveRecord> TakeObject(ArchiveRecord* record);

    // The schema the stream gave the class of the object being loaded; asking resets it to -1.
    int GetObjectSchema();

    // Read and write the same field from one serialize operation.
    void Exchange(std::int32_t& value);
    void Exchange(QString& value);

    // The album whose fields linked text items show while they load; may be null.
    void SetAlbumContext(const CAlbumInfo* album) { m_album = album; }
    const CAlbumInfo* albumContext() const { return m_album; }

    // Known remaining bytes of a loading stream (buffered plus unread device bytes), or nothing for a
    // sequential device.
    std::optional<std::int64_t> RemainingBytes() const;

private:
    struct LoadEntry
    {
        const RecordClass* recordClass = nullptr; // set for class entries
        std::unique_ptr<ArchiveRecord> object;    // set for object entries until a caller takes it
    };

    void WriteBytes(const char* data, std::int64_t size);
    void ReadExact(char* data, std::int64_t size);
    std::int64_t ReadSome(char* data, std::int64_t size);
    std::int64_t FillBuffer();
    void RequireRemaining(std::uint64_t size) const;
    std::uint32_t NextNumber();
    std::optional<std::uint32_t> ReadStringLength();
    void PutStringLength(std::uint32_t length);
    const RecordClass& ReadNewClass();
    void PutClassReference(const RecordClass& recordClass);

    QIODevice& m_device;
    Mode m_mode;
    std::array<char, kBufferSize> m_buffer{};
    int m_bufferUsed = 0; // storing: bytes waiting; loading: bytes held
    int m_bufferPos = 0;  // loading: next byte to hand out
    std::uint32_t m_nextNumber = 1;

    std::unordered_map<const void*, std::uint32_t> m_storeMap;

    std::vector<LoadEntry> m_loadTable = std::vector<LoadEntry>(1);
    std::unordered_map<const ArchiveRecord*, std::size_t> m_loadIndex;
    std::unordered_map<const RecordClass*, int> m_schemaMap;
    int m_objectSchema = -1;

    const CAlbumInfo* m_album = nullptr;
};

} // namespace tvl
