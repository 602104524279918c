#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace tvl {

// Property and text rows, header and picture blocks of an early design, written through the archive
// with the placeholder classes carrying the early version as their schema.
struct EarlyRow
{
    QString item;
    QString property;
    QString value;
    QString choices;
    int flag = 1;
    int order = 0;
};

struct EarlyTextRow
{
    QString name;
    QString kind;
    QString value;
};

struct EarlyPictureBlock
{
    EarlyPictureBlock(int code, std::uint16_t tag, QByteArray bytes, std::optional<qint64> statedCount = {})
        : code(code)
        , tag(tag)
        , bytes(std::move(bytes))
        , statedCount(statedCount)
    {
    }

    int code;          // versions 2 to 6: the format code line
    std::uint16_t tag; // version 1: the type tag, which gives the width of the byte count
    QByteArray bytes;
    std::optional<qint64> statedCount; // the byte count written, when it should differ from the bytes
};

struct EarlyFile
{
    int version = 6; // -1 writes no text rows at all
    std::vector<EarlyRow> rows;
    std::vector<EarlyTextRow> texts;
    QString pageCode = QStringLiteral("2");
    QString surface = QStringLiteral("Front Cover");
    QString discMode = QStringLiteral("Single");
    int imageSerial = 0;
    std::optional<int> statedImageCount; // the picture count written, when it should differ from the blocks
    std::vector<EarlyPictureBlock> pictures;

    // Appends one row per (property, value) pair; returns the index of the first.
    size_t AddGroup(const QString& item, std::initializer_list<std::pair<const char*, QString>> properties);

    size_t AddPage(const QString& name, const QString& pageCode, const QString& width, const QString& height);
    size_t AddFrontCover(const QString& left, const QString& width, bool folded);
    size_t AddBackCover(const QString& spine);
    size_t AddDisc(const QString& name, const QString& margin);
    size_t AddBoundary(const QString& name, const QString& surface);
    // Versions 5 and 6 hold the three rows after the position; older ones a single "Aspect Ratio" row.
    size_t AddImage(const QString& name, const QString& numberOrBackground, const QString& surface,
                    int pictureIndex, const QString& lock = QStringLiteral("Yes"));
    size_t AddText(const QString& name, const QString& surface, const QString& alignment,
                   const QString& angle, const QString& multiLine = QStringLiteral("Yes"));
    size_t AddTrack(const QString& name, const QString& pageCode, const QString& numbers,
                    const QString& times, const QString& layout, const QString& wrap);
};

QByteArray BuildEarlyFile(const EarlyFile& file);

// A small picture encoded as a file of that format.
QByteArray EncodedPicture(int type, int width = 6, int height = 4);

} // namespace tvl
