#include "document/commands/DefaultDesigns.h"

#include "document/model/LabelDesign.h"

#include <array>

namespace tvl {
namespace {

constexpr std::array<QStringView, 4> defaultNames = {
    u"Default1.tvl",
    u"Default2.tvl",
    u"Default1_dvd.tvl",
    u"Default2_dvd.tvl",
};

} // namespace

QString DefaultDesignName(QStringView discMode, QStringView caseKind)
{
    const int entry = (caseKind == u"DVD" ? 2 : 0) + (discMode == u"Double" ? 1 : 0);
    return defaultNames[entry].toString();
}

bool IsDefaultDesignName(QStringView fileName)
{
    for (const QStringView name : defaultNames) {
        if (fileName == name)
            return true;
    }
    return false;
}

QString DefaultDesignNameForEntry(int entry)
{
    return defaultNames[static_cast<size_t>(entry)].toString();
}

std::optional<std::pair<QString, QString>> DefaultDesignKind(QStringView fileName)
{
    for (int entry = 0; entry < 4; ++entry) {
        if (fileName == DefaultDesignNameForEntry(entry))
            return std::pair{entry % 2 == 0 ? QStringLiteral("Single") : QStringLiteral("Double"),
                             entry < 2 ? QStringLiteral("Jewel") : QStringLiteral("DVD")};
    }
    return std::nullopt;
}

void FillSampleAlbum(LabelDesign& design)
{
    const bool isDouble = design.albumHeader.discMode == u"Double";
    const QString end(QChar(0x08));
    for (int disc = 1; disc <= (isDouble ? 2 : 1); ++disc) {
        const QString suffix = isDouble ? QStringLiteral(" - Disc %1").arg(disc) : QString();
        QString tracks;
        for (int n = 1; n <= 7; ++n)
            tracks += QStringLiteral("%1. ").arg(n) + end + QStringLiteral("Track %1").arg(n) + suffix + end +
                      QStringLiteral(" 0:0%1").arg(n) + end;
        const QString keySuffix = disc == 2 ? QStringLiteral(" - Disc 2") : QString();
        for (int field = 0; field < kAlbumFieldCount; ++field) {
            const auto which = static_cast<AlbumField>(field);
            const QString name = AlbumFieldKey(which);
            design.SetAlbumField(name + keySuffix,
                                 which == AlbumField::TrackList ? tracks : name + suffix + end);
        }
    }
}

QString WithDesignExtension(const QString& path)
{
    if (path.endsWith(u".tvl"))
        return path;
    if (path.endsWith(u".tvl", Qt::CaseInsensitive))
        return path.left(path.size() - 4) + QStringLiteral(".tvl");
    return path + QStringLiteral(".tvl");
}

} // namespace tvl
