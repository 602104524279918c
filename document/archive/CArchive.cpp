#include "document/archive/CArchive.h"

#include "document/archive/Windows1252.h"

#include <QIODevice>
#include <algorithm>
#include <cstring>

namespace tvl {
namespace {

constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kBigTag = 0x7FFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint32_t kBigClassTag = 0x80000000;
constexpr std::uint32_t kMaxNumber = 0x3FFFFFFE;
constexpr std::uint16_t kUnicodeMarker = 0xFFFE;
constexpr int kMaxClassNameLength = 64;

} // namespace

CArchive::CArchive(QIODevice& device, Mode mode)
    : m_device(device)
    , m_mode(mode)
{
}

CArchive::~CArchive()
{
    if (IsStoring())
        Flush();
}

void CArchive::Flush()
{
    if (IsStoring() && m_bufferUsed > 0) {
        m_device.write(m_buffer.data(), m_bufferUsed);
        m_bufferUsed = 0;
    }
}

void CArchive::WriteBytes(const char* data, std::int64_t size)
{
    const auto space = kBufferSize - m_bufferUsed;
    if (size <= space) {
        std::memcpy(m_buffer.data() + m_bufferUsed, data, static_cast<size_t>(size));
        m_bufferUsed += static_cast<int>(size);
        return;
    }
    // Large blocks: top up the buffer, then write whole buffer multiples straight to the device.
    std::memcpy(m_buffer.data() + m_bufferUsed, data, static_cast<size_t>(space));
    m_bufferUsed = kBufferSize;
    Flush();
    data += space;
    size -= space;
    const std::int64_t direct = size - size % kBufferSize;
    if (direct > 0)
        m_device.write(data, direct);
    std::memcpy(m_buffer.data(), data + direct, static_cast<size_t>(size - direct));
    m_bufferUsed = static_cast<int>(size - direct);
}

std::int64_t CArchive::FillBuffer()
{
    m_bufferPos = 0;
    m_bufferUsed = static_cast<int>(std::max<qint64>(0, m_device.read(m_buffer.data(), kBufferSize)));
    return m_bufferUsed;
}

std::int64_t CArchive::ReadSome(char* data, std::int64_t size)
{
    std::int64_t done = 0;
    while (done < size) {
        if (m_bufferPos == m_bufferUsed) {
            const std::int64_t left = size - done;
            if (left >= kBufferSize) {
                // Large blocks bypass the buffer in whole buffer multiples.
                const qint64 got = m_device.read(data + done, left - left % kBufferSize);
                if (got <= 0)
                    break;
                done += got;
                continue;
            }
            if (FillBuffer() == 0)
                break;
        }
        const auto take = std::min<std::int64_t>(size - done, m_bufferUsed - m_bufferPos);
        std::memcpy(data + done, m_buffer.data() + m_bufferPos, static_cast<size_t>(take));
        m_bufferPos += static_cast<int>(take);
        done += take;
    }
    return done;
}

void CArchive::ReadExact(char* data, std::int64_t size)
{
    if (ReadSome(data, size) != size)
        throw ArchiveError(ArchiveError::Cause::EndOfFile);
}

std::optional<std::int64_t> CArchive::RemainingBytes() const
{
    if (m_device.isSequential())
        return std::nullopt;
    return (m_bufferUsed - m_bufferPos) + std::max<qint64>(0, m_device.size() - m_device.pos());
}

void CArchive::RequireRemaining(std::uint64_t size) const
{
    const auto remaining = RemainingBytes();
    if (remaining && size > static_cast<std::uint64_t>(*remaining))
        throw ArchiveError(ArchiveError::Cause::EndOfFile);
}

void CArchive::PutByte(std::uint8_t value)
{
    const char byte = static_cast<char>(value);
    WriteBytes(&byte, 1);
}

void CArchive::PutWord(std::uint16_t value)
{
    const char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
    WriteBytes(bytes, 2);
}

void CArchive::PutDword(std::uint32_t value)
{
    char bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    WriteBytes(bytes, 4);
}

void CArchive::PutInt32(std::int32_t value)
{
    PutDword(static_cast<std::uint32_t>(value));
}

void CArchive::PutRaw(const char* data, std::int64_t size)
{
    WriteBytes(data, size);
}

void CArchive::PutText(const QByteArray& text)
{
    WriteBytes(text.constData(), text.size());
}

void CArchive::PutStringLength(std::uint32_t length)
{
    if (length < 0xFF) {
        PutByte(static_cast<std::uint8_t>(length));
        return;
    }
    PutByte(0xFF);
    if (length < 0xFFFE) {
        PutWord(static_cast<std::uint16_t>(length));
        return;
    }
    PutWord(0xFFFF);
    PutDword(length);
}

void CArchive::PutString(const QString& text)
{
    if (const auto bytes = ToWindows1252(text)) {
        PutStringLength(static_cast<std::uint32_t>(bytes->size()));
        PutRaw(*bytes);
        return;
    }
    // Characters outside the 8-bit code page keep their identity in the UTF-16 form.
    PutByte(0xFF);
    PutWord(kUnicodeMarker);
    PutStringLength(static_cast<std::uint32_t>(text.size()));
    for (const QChar ch : text)
        PutWord(ch.unicode());
}

void CArchive::PutCount(std::uint32_t count)
{
    if (count < 0xFFFF) {
        PutWord(static_cast<std::uint16_t>(count));
        return;
    }
    PutWord(0xFFFF);
    PutDword(count);
}

std::uint32_t CArchive::NextNumber()
{
    if (m_nextNumber >= kMaxNumber)
        throw ArchiveError(ArchiveError::Cause::BadIndex);
    return m_nextNumber++;
}

void CArchive::PutClassReference(const RecordClass& recordClass)
{
    if (const auto found = m_storeMap.find(&recordClass); found != m_storeMap.end()) {
        const std::uint32_t number = found->second;
        if (number < kBigTag) {
            PutWord(static_cast<std::uint16_t>(kClassTag | number));
        } else {
            PutWord(kBigTag);
            PutDword(kBigClassTag | number);
        }
        return;
    }
    PutWord(kNewClassTag);
    PutWord(recordClass.schema);
    PutWord(static_cast<std::uint16_t>(recordClass.name.size()));
    PutRaw(recordClass.name.data(), static_cast<std::int64_t>(recordClass.name.size()));
    m_storeMap.emplace(&recordClass, NextNumber());
}

void CArchive::PutObject(const ArchiveRecord* record)
{
    if (!record) {
        PutWord(0);
        return;
    }
    if (const auto found = m_storeMap.find(record); found != m_storeMap.end()) {
        const std::uint32_t number = found->second;
        if (number < kBigTag) {
            PutWord(static_cast<std::uint16_t>(number));
        } else {
            PutWord(kBigTag);
            PutDword(number);
        }
        return;
    }
    PutClassReference(record->recordClass());
    m_storeMap.emplace(record, NextNumber());
    const_cast<ArchiveRecord*>(record)->Serialize(*this);
}

std::uint8_t CArchive::GetByte()
{
    char byte;
    ReadExact(&byte, 1);
    return static_cast<std::uint8_t>(byte);
}

std::uint16_t CArchive::GetWord()
{
    unsigned char bytes[2];
    ReadExact(reinterpret_cast<char*>(bytes), 2);
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

std::uint32_t CArchive::GetDword()
{
    unsigned char bytes[4];
    ReadExact(reinterpret_cast<char*>(bytes), 4);
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

std::int32_t CArchive::GetInt32()
{
    return static_cast<std::int32_t>(GetDword());
}

QByteArray CArchive::GetRaw(std::int64_t size)
{
    if (size <= 0)
        return {};
    if (const auto remaining = RemainingBytes())
        size = std::min(size, *remaining);
    // Grow with the data actually present, so a hostile size on a sequential stream cannot reserve memory.
    QByteArray data;
    constexpr std::int64_t kChunk = 1 << 20;
    while (data.size() < size) {
        const auto want = std::min<std::int64_t>(kChunk, size - data.size());
        const auto start = data.size();
        data.resize(start + want);
        const auto got = ReadSome(data.data() + start, want);
        if (got < want) {
            data.resize(start + got);
            break;
        }
    }
    return data;
}

std::optional<std::uint32_t> CArchive::ReadStringLength()
{
    const std::uint8_t first = GetByte();
    if (first < 0xFF)
        return first;
    const std::uint16_t word = GetWord();
    if (word == kUnicodeMarker)
        return std::nullopt;
    if (word < 0xFFFF)
        return word;
    return GetDword();
}

QString CArchive::GetString()
{
    auto length = ReadStringLength();
    if (length) {
        RequireRemaining(*length);
        const QByteArray bytes = GetRaw(*length);
        if (bytes.size() != static_cast<qsizetype>(*length))
            throw ArchiveError(ArchiveError::Cause::EndOfFile);
        return FromWindows1252(bytes);
    }
    do {
        length = ReadStringLength();
    } while (!length);
    const std::uint64_t byteCount = std::uint64_t{*length} * 2;
    RequireRemaining(byteCount);
    const QByteArray bytes = GetRaw(static_cast<std::int64_t>(byteCount));
    if (static_cast<std::uint64_t>(bytes.size()) != byteCount)
        throw ArchiveError(ArchiveError::Cause::EndOfFile);
    QString text(static_cast<qsizetype>(*length), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto low = static_cast<unsigned char>(bytes[2 * i]);
        const auto high = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = QChar(static_cast<char16_t>(low | (high << 8)));
    }
    return text;
}

std::uint32_t CArchive::GetCount()
{
    const std::uint16_t word = GetWord();
    return word < 0xFFFF ? word : GetDword();
}

void CArchive::PutWordArray(const std::vector<std::uint16_t>& words)
{
    PutCount(static_cast<std::uint32_t>(words.size()));
    for (const std::uint16_t word : words)
        PutWord(word);
}

std::vector<std::uint16_t> CArchive::GetWordArray()
{
    const std::uint32_t count = GetCount();
    RequireRemaining(std::uint64_t{count} * 2);
    std::vector<std::uint16_t> words;
    words.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
        words.push_back(GetWord());
    return words;
}

std::uint32_t CArchive::GetElementCount(int minimumElementSize, std::uint32_t maxCount)
{
    const std::uint32_t count = GetCount();
    if (count > maxCount)
        throw ArchiveError(ArchiveError::Cause::TooManyElements);
    RequireRemaining(std::uint64_t{count} * static_cast<std::uint64_t>(minimumElementSize));
    return count;
}

std::optional<QByteArray> CArchive::GetLine()
{
    QByteArray line;
    char byte;
    while (ReadSome(&byte, 1) == 1) {
        if (byte == '\n')
            return line;
        if (byte == '\r') {
            ReadSome(&byte, 1);
            return line;
        }
        line.append(byte);
    }
    if (line.isEmpty())
        return std::nullopt;
    return line;
}

const RecordClass& CArchive::ReadNewClass()
{
    const std::uint16_t schema = GetWord();
    const std::uint16_t nameLength = GetWord();
    if (nameLength >= kMaxClassNameLength)
        throw ArchiveError(ArchiveError::Cause::BadClass);
    char name[kMaxClassNameLength];
    if (ReadSome(name, nameLength) != nameLength)
        throw ArchiveError(ArchiveError::Cause::BadClass);
    const RecordClass* recordClass = FindRecordClass(std::string_view(name, nameLength));
    if (!recordClass)
        throw ArchiveError(ArchiveError::Cause::BadClass);
    if (schema != recordClass->schema) {
        if (!recordClass->versionable)
            throw ArchiveError(ArchiveError::Cause::BadSchema);
        m_schemaMap[recordClass] = schema;
    }
    NextNumber();
    m_loadTable.push_back(LoadEntry{recordClass, nullptr});
    return *recordClass;
}

ArchiveRecord* CArchive::GetObject(const RecordClass* expected)
{
    const std::uint16_t word = GetWord();
    const std::uint32_t tag =
        word == kBigTag ? GetDword()
                        : ((word & kClassTag) ? (kBigClassTag | (word & ~kClassTag)) : std::uint32_t{word});
    const auto highest = static_cast<std::uint32_t>(m_loadTable.size() - 1);

    if (!(tag & kBigClassTag)) {
        if (tag > highest)
            throw ArchiveError(ArchiveError::Cause::BadIndex);
        if (tag == 0)
            return nullptr;
        ArchiveRecord* object = m_loadTable[tag].object.get();
        if (!object)
            throw ArchiveError(ArchiveError::Cause::BadIndex);
        if (expected && &object->recordClass() != expected)
            throw ArchiveError(ArchiveError::Cause::BadClass);
        return object;
    }

    const RecordClass* recordClass = nullptr;
    if (word == kNewClassTag) {
        recordClass = &ReadNewClass();
    } else {
        const std::uint32_t number = tag & ~kBigClassTag;
        if (number == 0 || number > highest || !m_loadTable[number].recordClass)
            throw ArchiveError(ArchiveError::Cause::BadIndex);
        recordClass = m_loadTable[number].recordClass;
    }
    if (expected && recordClass != expected)
        throw ArchiveError(ArchiveError::Cause::BadClass);

    std::unique_ptr<ArchiveRecord> created = recordClass->factory();
    if (!created)
        throw ArchiveError(ArchiveError::Cause::OutOfMemory);
    ArchiveRecord* object = created.get();
    NextNumber();
    m_loadIndex.emplace(object, m_loadTable.size());
    m_loadTable.push_back(LoadEntry{nullptr, std::move(created)});

    const int previousSchema = m_objectSchema;
    const auto schema = m_schemaMap.find(recordClass);
    m_objectSchema = schema != m_schemaMap.end() ? schema->second : recordClass->schema;
    object->Serialize(*this);
    m_objectSchema = previousSchema;
    return object;
}

std::unique_ptr<ArchiveRecord> CArchive::TakeObject(ArchiveRecord* record)
{
    if (!record)
        return nullptr;
    const auto found = m_loadIndex.find(record);
    if (found == m_loadIndex.end() || !m_loadTable[found->second].object)
        throw ArchiveError(ArchiveError::Cause::BadIndex);
    return std::move(m_loadTable[found->second].object);
}

int CArchive::GetObjectSchema()
{
    const int schema = m_objectSchema;
    m_objectSchema = -1;
    return schema;
}

void CArchive::Exchange(std::int32_t& value)
{
    if (IsStoring())
        PutInt32(value);
    else
        value = GetInt32();
}

void CArchive::Exchange(QString& value)
{
    if (IsStoring())
        PutString(value);
    else
        value = GetString();
}

} // namespace tvl
