#pragma once

#include "document/files/FileResult.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>

namespace tvl {

// The print queues of the CUPS server this program talks to (CUPS_SERVER, else the local one), sorted by
// name; empty when there is none or the server cannot be reached.
QStringList CupsPrinterNames();

// The server's default queue, or the empty text.
QString CupsDefaultPrinter();

// The input trays a queue reports (its "media-source" choices), each as its keyword; empty when the
// queue reports none or cannot be asked.
QStringList CupsTrays(const QString& printer);

// The CUPS media name of a paper (mils, either orientation): "Letter", "A4" or a custom size.
QString CupsMediaOf(QSize paper);

// Sends a PDF document to a queue as one job on that media, with further CUPS options (name, value
// pairs), and returns the job's number. A queue that does not exist or a job the server refuses fails with
// a message that says which and why.
FileResult<int> SubmitPdfJob(const QString& printer, const QString& title, const QByteArray& pdf,
                             const QString& media, const QStringList& options = {});

} // namespace tvl
