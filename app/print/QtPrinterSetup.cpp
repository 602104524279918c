#include "app/print/QtPrinterSetup.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrinter>

namespace tvl {
namespace {

// The key under which Qt's CUPS print engine keeps the name, value pairs it sends with the job as CUPS
// options (the key its own print dialog uses for the printer's options).
constexpr auto kCupsOptions = static_cast<QPrintEngine::PrintEnginePropertyKey>(0xfe00);

std::optional<QPageSize::PageSizeId> PageSizeOfKey(const QString& key)
{
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        if (QPageSize::key(static_cast<QPageSize::PageSizeId>(id)) == key)
            return static_cast<QPageSize::PageSizeId>(id);
    }
    return std::nullopt;
}

EdgeRect PrintableMils(QSizeF paperPoints, const QMarginsF& marginsPoints)
{
    const auto mils = [](double points) { return static_cast<int>(points * 1000 / 72); };
    return {mils(marginsPoints.left()), mils(marginsPoints.top()),
            mils(paperPoints.width() - marginsPoints.right()),
            mils(paperPoints.height() - marginsPoints.bottom())};
}

} // namespace

void ApplyPrinterSetup(QPrinter& printer, const PrinterSetup& setup)
{
    if (!setup.printerName.isEmpty())
        printer.setPrinterName(setup.printerName);
    if (const auto id = PageSizeOfKey(setup.paper))
        printer.setPageSize(QPageSize(*id));
    if (setup.duplex >= 0)
        printer.setDuplex(static_cast<QPrinter::DuplexMode>(setup.duplex));
    if (setup.colorMode >= 0)
        printer.setColorMode(static_cast<QPrinter::ColorMode>(setup.colorMode));
    if (setup.resolution > 0)
        printer.setResolution(setup.resolution);
    if (printer.outputFormat() != QPrinter::NativeFormat || (setup.options.isEmpty() && setup.tray.isEmpty()))
        return;
    printer.printEngine()->setProperty(kCupsOptions, JobOptions(setup));
}

PrinterSetup PrinterSetupOf(const QPrinter& printer)
{
    PrinterSetup setup;
    setup.printerName = printer.printerName();
    setup.paper = printer.pageLayout().pageSize().key();
    setup.duplex = static_cast<int>(printer.duplex());
    setup.colorMode = static_cast<int>(printer.colorMode());
    setup.resolution = printer.resolution();
    if (printer.outputFormat() == QPrinter::NativeFormat) {
        const QStringList options = printer.printEngine()->property(kCupsOptions).toStringList();
        for (qsizetype i = 0; i + 1 < options.size(); i += 2) {
            // The pages typed into the properties belong to that one job, not to the printer.
            if (options[i] != u"page-ranges")
                setup.options << options[i] << options[i + 1];
        }
    }
    return setup;
}

bool ShowPrinterProperties(QWidget* parent, PrinterSetup& setup)
{
    QPrinter printer(QPrinter::HighResolution);
    ApplyPrinterSetup(printer, setup);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral(" Properties"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const int copies = setup.copies;
    const QString tray = setup.tray;
    setup = PrinterSetupOf(printer);
    setup.copies = copies;
    setup.tray = tray;
    return true;
}

PrintableAreas PrintableAreasOf(const QPrinter& printer)
{
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Point);
    const QMarginsF margins = layout.minimumMargins();
    PrintableAreas areas;
    areas.letter = PrintableMils(QPageSize(QPageSize::Letter).size(QPageSize::Point), margins);
    areas.a4 = PrintableMils(QPageSize(QPageSize::A4).size(QPageSize::Point), margins);
    return areas;
}

} // namespace tvl
