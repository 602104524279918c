#pragma once

#include "document/archive/CArchive.h"

#include <QBuffer>
#include <QByteArray>
#include <functional>
#include <initializer_list>

namespace tvl::test {

// Bytes a storing archive writes.
inline QByteArray Stored(const std::function<void(CArchive&)>& write)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        CArchive archive(buffer, CArchive::Mode::Store);
        write(archive);
    }
    return bytes;
}

// Runs a reader over bytes with a loading archive.
inline void Loaded(const QByteArray& bytes, const std::function<void(CArchive&)>& read)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    CArchive archive(buffer, CArchive::Mode::Load);
    read(archive);
}

inline QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (const int value : values)
        bytes.append(static_cast<char>(value));
    return bytes;
}

} // namespace tvl::test
