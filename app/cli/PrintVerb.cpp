#include "app/cli/PrintVerb.h"

#include "app/cli/ReadError.h"
#include "app/cli/StockHooks.h"
#include "app/cli/StoredPrintJob.h"
#include "app/cli/VerbApplication.h"
#include "app/cli/VerbOutput.h"
#include "app/settings/AppSettings.h"
#include "app/settings/SettingsStore.h"
#include "app/settings/StoreSettings.h"
#include "document/design/ReadIntoDocument.h"
#include "document/files/DesignFile.h"
#include "document/files/ProgramFolder.h"
#include "print/cups/CupsQueue.h"
#include "print/job/PaintJob.h"
#include "print/settings/PrinterSetup.h"

#include <QFileInfo>
#include <QFont>
#include <cstdio>
#include <optional>
#include <string_view>

namespace tvl {
namespace {

constexpr const char* kUsage =
    "Usage: tovrelline print FILE.tvl [--labels front,back,disc1,disc2] [--copies N] "
    "[--calibration] [--printer NAME | -o OUT.pdf]\n";

int Fail(const char* what, std::string_view value)
{
    std::fprintf(stderr, "%s: %.*s\n%s", what, static_cast<int>(value.size()), value.data(), kUsage);
    return 2;
}

std::optional<LabelsToPrint> ParseLabels(std::string_view list)
{
    LabelsToPrint labels;
    while (!list.empty()) {
        const size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        if (name == "front")
            labels.front = true;
        else if (name == "back")
            labels.back = true;
        else if (name == "disc1")
            labels.disc1 = true;
        else if (name == "disc2")
            labels.disc2 = true;
        else
            return std::nullopt;
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    }
    return labels;
}

std::optional<int> ParseCopies(std::string_view text)
{
    int copies = 0;
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        copies = copies * 10 + (c - '0');
    }
    if (copies < 1)
        return std::nullopt;
    return copies;
}

int Failed(const FileError& error)
{
    PrintError(FullMessage(error));
    return 1;
}

} // namespace

int RunPrintVerb(std::span<char*> args)
{
    const char* input = nullptr;
    const char* output = nullptr;
    const char* printer = nullptr;
    std::optional<LabelsToPrint> labels;
    int copies = 1;
    bool calibration = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--calibration") {
            calibration = true;
            continue;
        }
        if (arg == "--labels" || arg == "--copies" || arg == "--printer" || arg == "-o") {
            if (i + 1 >= args.size())
                return Fail("Missing value after", arg);
            const std::string_view value = args[++i];
            if (arg == "--labels") {
                labels = ParseLabels(value);
                if (!labels)
                    return Fail("Unknown label in", value);
            } else if (arg == "--copies") {
                const std::optional<int> parsed = ParseCopies(value);
                if (!parsed)
                    return Fail("Copies must be a number from 1 to 999", value);
                copies = *parsed;
            } else if (arg == "--printer") {
                printer = args[i];
            } else {
                output = args[i];
            }
        } else if (!input && !arg.starts_with('-')) {
            input = args[i];
        } else {
            return Fail("Unexpected argument", arg);
        }
    }
    if (!input) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (printer && output)
        return Fail("Give a printer or an output file, not both", "--printer, -o");

    const auto app = EnsureGuiApplication();
    FileResult<DesignContent> read = ReadDesignFile(ArgumentFileName(input));
    if (!read) {
        PrintReadError(input, read.error());
        return 1;
    }
    PrintReadNotices(DesignReadNotes{read.value().reportedErrors, read.value().pictureHeaders},
                     read.value().design);
    LabelDesign& design = read.value().design;

    SettingsStore store(SettingsStore::DefaultFilePath());
    const AppSettings settings = LoadSettings(store, ProgramFolder());
    StoreSettings catalogueSettings(store);
    StockCatalogue catalogue(ProgramFolder(), catalogueSettings);
    catalogue.LoadCatalogue();
    StockHooks hooks(catalogue);
    LiveDesignState live;
    PrintJob job = StoredPrintJob(settings, false);
    DiscPositionMode discPositionMode = job.options.discPositionMode;
    QString title = QFileInfo(ArgumentFileName(input)).fileName();
    ApplyReadDesign(design, live, discPositionMode, title, hooks);
    job.doubleDisc = live.discMode == u"Double";
    job.options.discPositionMode = discPositionMode;
    if (labels)
        job.labels = *labels;
    job.copies = copies;
    job.calibrationMode = calibration;

    const std::vector<JobPage> pages = JobPages(job, catalogue.DiscStock(), catalogue.CaseStock());
    if (pages.empty()) {
        PrintError(QStringLiteral("Please select the labels to print."));
        return 2;
    }
    const QFont face = QGuiApplication::font();
    if (output) {
        const FileResult<> written = WriteJobPdf(ArgumentFileName(output), design, pages, copies, face);
        return written ? 0 : Failed(written.error());
    }

    QString queue = printer ? QString::fromLocal8Bit(printer) : CupsDefaultPrinter();
    if (queue.isEmpty()) {
        PrintError(QStringLiteral("There are no printers attached to your system."));
        return 1;
    }
    const FileResult<QByteArray> pdf = JobPdf(design, pages, copies, face, 600);
    if (!pdf)
        return Failed(pdf.error());
    // The tray and options stored for that printer, as the Print dialog sends them: the disc printer's for a
    // disc on a direct-to-disc stock, else the paper printer's.
    const bool discPrinter = !calibration && catalogue.DiscStock().IsDirectToDisc() &&
                             (job.labels.disc1 || (job.doubleDisc && job.labels.disc2));
    const std::optional<PrinterSetup> stored = LoadPrinterSetup(
        ProgramFolder() + (discPrinter ? QStringLiteral("printerCD.ini") : QStringLiteral("printer.ini")));
    const QStringList options = stored && stored->printerName == queue ? JobOptions(*stored) : QStringList();
    const FileResult<int> sent =
        SubmitPdfJob(queue, title, pdf.value(), CupsMediaOf(pages.front().paper), options);
    if (!sent)
        return Failed(sent.error());
    std::printf("Sent %d page(s) to %s as job %d.\n", static_cast<int>(pages.size()) * copies,
                queue.toLocal8Bit().constData(), sent.value());
    return 0;
}

} // namespace tvl
