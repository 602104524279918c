#pragma once

#include "document/files/FileResult.h"

#include <QString>
#include <QStringView>
#include <functional>

namespace tvl {

class LabelDesign;

// One label to write as an image file: label 0 front cover, 1 back cover, 2 disc 1, 3 disc 2; the
// resolution in dots per inch (the dialog offers 150, 300 and 600); the border index (bit 1 outline, bit
// 2 fold lines); the overlap index 0 to 3 for 0, 50, 100, 150 mils.
struct ExportChoices
{
    int label = 0;
    int dpi = 300;
    int border = 0;
    int overlap = 0;
};

// The file extension of an image type index (0 ".bmp", 1 ".jpg", 2 ".png", 3 ".tif").
QString ExportExtension(int imageType);
// The image type index of a path's extension (any letter case), or -1.
int ExportImageType(QStringView path);
// The path a chosen name is saved under for an extension: a name ending in the extension in another
// letter case gets it in lower case, any other name gets it appended ("label.jpg" as "label.jpg.png").
QString ExportFilePath(const QString& chosen, QStringView extension);

// "%d x %d pixels " for the label at the chosen resolution and overlap; empty when the label is missing.
QString ExportSizeText(const LabelDesign& design, const ExportChoices& choices);

// What a long export running on a worker reports and asks: saving() once the label is drawn and its
// encoding begins; cancelled() between the steps, where a cancelled export stops and writes nothing.
struct ExportProgress
{
    std::function<void()> saving;
    std::function<bool()> cancelled;
};

// The message of an export whose image could not be allocated.
const QString& ExportOutOfMemoryText();
// The message of an export stopped by ExportProgress::cancelled.
const QString& ExportCancelledText();

// Draws the label on white at the chosen resolution and writes it in the format of the path's
// extension, recording the resolution in the file so that it prints at its true size elsewhere. The
// file appears only when complete: a failure leaves no file behind (and an older file as it was).
FileResult<> ExportLabel(const LabelDesign& design, const ExportChoices& choices, const QString& path,
                         const ExportProgress& progress = {});

} // namespace tvl
