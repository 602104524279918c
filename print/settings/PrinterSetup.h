#pragma once

#include "document/files/FileResult.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

namespace tvl {

// A printer and the settings the user chose for it: the paper printer's in "printer.ini", the disc
// printer's in "printerCD.ini". Empty texts and negative numbers leave the printer's own default.
struct PrinterSetup
{
    QString printerName;
    QString paper; // a page size key ("Letter", "A4"), empty for the printer's default
    QString tray;  // the input slot key, as the printer names it
    int duplex = -1;
    int colorMode = -1;
    int resolution = -1; // dots per inch
    int copies = 1;
    // The printer's own options chosen in its properties (CUPS option names and values, in pairs).
    QStringList options;

    bool operator==(const PrinterSetup&) const = default;
};

// The CUPS options a job on the printer carries, as name, value pairs: the printer's own options, and the
// tray as the queue's media-source keyword, which wins over a slot among the options.
QStringList JobOptions(const PrinterSetup& setup);

// The file's bytes: the decimal byte count of the settings block, "\n", that of the printer name block,
// "\n", then the two blocks. The settings block is our own versioned text of "key=value" lines; the name
// block is the printer's name in UTF-8.
QByteArray EncodePrinterSetup(const PrinterSetup& setup);

// Nothing when the bytes are not such a file: a count that is not a number, larger than what follows or
// than any settings file, or a block that cannot be read.
std::optional<PrinterSetup> DecodePrinterSetup(QByteArrayView bytes);

// Reads a settings file. A missing or empty file gives nothing; a file that cannot be used is deleted
// and gives nothing, so that the printer's defaults apply. A printer that is not there now is kept: it
// may only be switched off.
std::optional<PrinterSetup> LoadPrinterSetup(const QString& path);

// Replaces the file with the setup; the file appears only when complete.
FileResult<> SavePrinterSetup(const QString& path, const PrinterSetup& setup);

} // namespace tvl
