#pragma once

#include "document/files/FileResult.h"

#include <QPoint>
#include <QString>
#include <QStringView>
#include <optional>

class QIODevice;

namespace tvl {

// The choices of the export dialog, remembered in "export.ini" between runs: the label (0 front, 1 back,
// 2 disc 1, 3 disc 2), image type (0 BMP, 1 JPEG, 2 PNG, 3 TIFF), resolution (0 150, 1 300, 2 600 DPI),
// border (bit 1 outline, bit 2 fold lines) and overlap (0, 50, 100, 150 mils) as list indices, the
// dialog's screen position and the path of the last exported file.
struct ExportSettings
{
    static constexpr const char* kFileName = "export.ini";

    int label = 0;
    int imageType = 2;
    int resolution = 1;
    int border = 0;
    int overlap = 0;
    // Where the dialog was last; none centres it over the main window.
    std::optional<QPoint> position;
    QString path;

    bool operator==(const ExportSettings&) const = default;
};

// The label index the dialog starts with when nothing is remembered: the surface of the selected item,
// or for an item that is not on a label the surface being edited; with nothing selected the front.
int DefaultExportLabel(bool itemSelected, QStringView itemSurface, QStringView currentSurface);

// Reads "export.ini": eight 32-bit integers (label, image type, resolution, border, overlap, a reserved
// value, left, top) and the path as an archive string. None when the file cannot be read to its end;
// an index out of its list takes its default, the path is bounded by the file.
std::optional<ExportSettings> ReadExportSettings(QIODevice& device);
// The same from the file; none when it is missing or damaged.
std::optional<ExportSettings> LoadExportSettings(const QString& path);
// Writes the file through a temporary file, so a failed write leaves the old one. The reserved value is
// written 0; the path is written 8-bit when Windows-1252 holds it, else in the archive's Unicode form.
FileResult<> SaveExportSettings(const QString& path, const ExportSettings& settings);

} // namespace tvl
