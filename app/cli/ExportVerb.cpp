#include "app/cli/ExportVerb.h"

#include "app/cli/ReadError.h"
#include "app/cli/VerbApplication.h"
#include "app/cli/VerbOutput.h"
#include "document/design/DesignDocument.h"
#include "document/design/ReadIntoDocument.h"
#include "document/model/SurfaceNames.h"
#include "images/CxImage.h"
#include "print/export/LabelExport.h"
#include "render/paint/PaintCover.h"
#include "render/surface/RenderSurfaceImage.h"

#include <QFileInfo>
#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>

namespace tvl {
namespace {

constexpr const char* kUsage =
    "Usage: tovrelline export FILE.tvl --label front|back|disc1|disc2 [--dpi 150|300|600] "
    "[--border 0|1|2|3] [--overlap 0|50|100|150] -o OUT\n";

// The index of value in choices, or nothing.
template <size_t N>
std::optional<int> IndexOf(std::string_view value, const std::array<std::string_view, N>& choices)
{
    for (size_t i = 0; i < N; ++i) {
        if (choices[i] == value)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

FileResult<DesignReadNotes> ReadForExport(DesignDocument& document, const char* input)
{
    return ReadIntoDocument(document, ArgumentFileName(input), PictureReading::Decode,
                            [](LabelDesign& design, LiveDesignState&) { design.RefreshLinkedItems(); });
}

bool HoldsMetafile(const LabelDesign& design, QStringView surface)
{
    for (const auto& item : design.itemList) {
        if (item->surface == surface && item->image && item->image->Type() == CXIMAGE_FORMAT_WMF)
            return true;
    }
    return false;
}

int Fail(const char* what, std::string_view value)
{
    std::fprintf(stderr, "%s: %.*s\n%s", what, static_cast<int>(value.size()), value.data(), kUsage);
    return 2;
}

} // namespace

int RunExportVerb(std::span<char*> args)
{
    static constexpr std::array<std::string_view, 4> labels{"front", "back", "disc1", "disc2"};
    static constexpr std::array<std::string_view, 3> resolutions{"150", "300", "600"};
    static constexpr std::array<std::string_view, 4> borders{"0", "1", "2", "3"};
    static constexpr std::array<std::string_view, 4> overlaps{"0", "50", "100", "150"};

    const char* input = nullptr;
    const char* output = nullptr;
    std::optional<int> label;
    ExportChoices choices;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--label" || arg == "--dpi" || arg == "--border" || arg == "--overlap" || arg == "-o") {
            if (!hasValue)
                return Fail("Missing value after", arg);
            const std::string_view value = args[++i];
            if (arg == "-o") {
                output = args[i];
                continue;
            }
            const std::optional<int> index = arg == "--label"    ? IndexOf(value, labels)
                                             : arg == "--dpi"    ? IndexOf(value, resolutions)
                                             : arg == "--border" ? IndexOf(value, borders)
                                                                 : IndexOf(value, overlaps);
            if (!index)
                return Fail(arg == "--label"    ? "Unknown label"
                            : arg == "--dpi"    ? "Unsupported resolution"
                            : arg == "--border" ? "Unknown border"
                                                : "Unsupported overlap",
                            value);
            if (arg == "--label")
                label = *index;
            else if (arg == "--dpi")
                choices.dpi = ResolutionDpi(*index);
            else if (arg == "--border")
                choices.border = *index;
            else
                choices.overlap = *index;
        } else if (!input && !arg.starts_with('-')) {
            input = args[i];
        } else {
            return Fail("Unexpected argument", arg);
        }
    }
    if (!input || !output || !label) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    choices.label = *label;

    QString path = ArgumentFileName(output);
    int imageType = ExportImageType(path);
    if (imageType < 0) {
        // A name without an extension takes the dialog's default type, PNG.
        if (!QFileInfo(path).suffix().isEmpty())
            return Fail("Unknown image file extension (use .bmp, .jpg, .png or .tif)", output);
        imageType = 2;
    }
    path = ExportFilePath(path, ExportExtension(imageType));

    // Starting the GUI application costs more than drawing a small label, and its font database as much
    // again when it closes: it is started only when the label draws text. A metafile on the label was
    // played without fonts while reading, so the design is read again once they are there.
    std::unique_ptr<QGuiApplication> app;
    DesignDocument document;
    FileResult<DesignReadNotes> read = ReadForExport(document, input);
    const QStringView surface = SurfaceName(choices.label);
    if (read && CoverNeedsFonts(document.design(), surface)) {
        app = EnsureGuiApplication();
        if (HoldsMetafile(document.design(), surface))
            read = ReadForExport(document, input);
    }
    if (!read) {
        PrintReadError(input, read.error());
        return 1;
    }
    PrintReadNotices(read.value(), document.design());
    const FileResult<> written = ExportLabel(document.design(), choices, path);
    if (!written) {
        PrintError(FullMessage(written.error()));
        return 1;
    }
    return 0;
}

} // namespace tvl
