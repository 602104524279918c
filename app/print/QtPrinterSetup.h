#pragma once

#include "print/job/PrintJob.h"
#include "print/settings/PrinterSetup.h"

class QPrinter;
class QWidget;

namespace tvl {

// Gives a printer the stored choices; choices the printer does not offer keep its defaults.
void ApplyPrinterSetup(QPrinter& printer, const PrinterSetup& setup);
// The choices a printer holds now, for storing.
PrinterSetup PrinterSetupOf(const QPrinter& printer);
// Qt's print properties for the setup's printer (paper, duplex, colour, resolution and the printer's own
// options); true, with the setup changed, when the user confirms.
bool ShowPrinterProperties(QWidget* parent, PrinterSetup& setup);
// The printable rectangles of Letter and A4 sheets on that printer.
PrintableAreas PrintableAreasOf(const QPrinter& printer);

} // namespace tvl
