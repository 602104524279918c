#pragma once

#include "document/files/FileResult.h"
#include "print/job/PrintJob.h"

#include <QByteArray>
#include <QPoint>
#include <vector>

class QFont;
class QPagedPaintDevice;
class QPainter;

namespace tvl {

class LabelDesign;

// Paints one page of a job onto a device of that resolution whose origin lies physicalOffset device
// pixels into the paper. Calibration sheets are drawn in face. The painter's state is as before
// afterwards.
void PaintJobPage(QPainter& painter, const LabelDesign& design, const JobPage& page, double dpiX, double dpiY,
                  QPoint physicalOffset, const QFont& face);

// Prints the pages copies times, collated, each on a page of its own paper size; the device must not
// be painted on yet. Fails with "Could not start print job." when the device cannot be painted on, and
// "Error 83" when it refuses a page.
FileResult<> PrintJobPages(QPagedPaintDevice& device, const LabelDesign& design,
                           const std::vector<JobPage>& pages, int copies, const QFont& face);

// The job as a PDF document at resolution dpi, exactly the sheets; empty pages make no document.
FileResult<QByteArray> JobPdf(const LabelDesign& design, const std::vector<JobPage>& pages, int copies,
                              const QFont& face, int dpi = 1200);

// Writes JobPdf to path; the file appears only when complete.
FileResult<> WriteJobPdf(const QString& path, const LabelDesign& design, const std::vector<JobPage>& pages,
                         int copies, const QFont& face);

} // namespace tvl
