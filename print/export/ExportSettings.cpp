#include "print/export/ExportSettings.h"

#include "document/archive/CArchive.h"
#include "document/files/SafeWrite.h"

#include <QFile>
#include <algorithm>

namespace tvl {
namespace {

constexpr int kLabels = 4;
constexpr int kImageTypes = 4;
constexpr int kResolutions = 3;
constexpr int kBorders = 4;
constexpr int kOverlaps = 4;

int InRange(int value, int count, int fallback)
{
    return value >= 0 && value < count ? value : fallback;
}

} // namespace

int DefaultExportLabel(bool itemSelected, QStringView itemSurface, QStringView currentSurface)
{
    if (!itemSelected)
        return 0;
    const auto labelOf = [](QStringView surface) {
        if (surface == u"Back Cover")
            return 1;
        if (surface == u"Disc 1")
            return 2;
        if (surface == u"Disc 2")
            return 3;
        return surface == u"Front Cover" ? 0 : -1;
    };
    const int label = labelOf(itemSurface);
    if (label >= 0)
        return label;
    return std::max(0, labelOf(currentSurface));
}

std::optional<ExportSettings> ReadExportSettings(QIODevice& device)
{
    const ExportSettings defaults;
    ExportSettings settings;
    try {
        CArchive archive(device, CArchive::Mode::Load);
        settings.label = InRange(archive.GetInt32(), kLabels, defaults.label);
        settings.imageType = InRange(archive.GetInt32(), kImageTypes, defaults.imageType);
        settings.resolution = InRange(archive.GetInt32(), kResolutions, defaults.resolution);
        settings.border = InRange(archive.GetInt32(), kBorders, defaults.border);
        settings.overlap = InRange(archive.GetInt32(), kOverlaps, defaults.overlap);
        archive.GetInt32();
        const int left = archive.GetInt32();
        const int top = archive.GetInt32();
        settings.position = QPoint(left, top);
        settings.path = archive.GetString();
    } catch (const ArchiveError&) {
        return std::nullopt;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    return settings;
}

std::optional<ExportSettings> LoadExportSettings(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return ReadExportSettings(file);
}

FileResult<> SaveExportSettings(const QString& path, const ExportSettings& settings)
{
    return WriteFileSafely(
        path,
        [&settings](QIODevice& device) -> FileResult<> {
            CArchive archive(device, CArchive::Mode::Store);
            const QPoint position = settings.position.value_or(QPoint(0, 0));
            for (const int value : {settings.label, settings.imageType, settings.resolution, settings.border,
                                    settings.overlap, 0, position.x(), position.y()})
                archive.PutInt32(value);
            archive.PutString(settings.path);
            archive.Flush();
            return std::monostate{};
        },
        QStringLiteral("Error 1022"));
}

} // namespace tvl
