#include "print/job/PaintJob.h"

#include "print/page/CalibrationSheet.h"
#include "render/paint/PaintSheet.h"
#include "storage/AtomicFile.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace tvl {
namespace {

QPageLayout PaperLayout(QSize paper)
{
    const bool landscape = paper.width() > paper.height();
    const QSizeF portrait = landscape ? QSizeF(paper.height(), paper.width()) : QSizeF(paper);
    return QPageLayout(QPageSize(portrait / 1000.0, QPageSize::Inch, QString(), QPageSize::FuzzyMatch),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(),
                       QPageLayout::Point);
}

FileError JobError(const QString& message, int code = 0)
{
    FileError error;
    error.message = message;
    error.code = code;
    return error;
}

} // namespace

void PaintJobPage(QPainter& painter, const LabelDesign& design, const JobPage& page, double dpiX, double dpiY,
                  QPoint physicalOffset, const QFont& face)
{
    SheetSpec spec = page.spec;
    spec.dpiX = dpiX;
    spec.dpiY = dpiY;
    spec.physicalOffset = physicalOffset;
    if (!page.calibrationSheet) {
        PaintSheet(painter, design, QString::number(page.sheetNumber), spec);
        return;
    }
    spec.calibration = QPoint();
    const QPoint origin = SheetOriginMils(spec);
    painter.save();
    painter.scale(dpiX / 1000.0, dpiY / 1000.0);
    painter.translate(-origin);
    PaintCalibrationSheet(painter, page.paper, QPointF(origin), face);
    painter.restore();
}

FileResult<> PrintJobPages(QPagedPaintDevice& device, const LabelDesign& design,
                           const std::vector<JobPage>& pages, int copies, const QFont& face)
{
    if (pages.empty() || copies < 1)
        return JobError(QStringLiteral("Could not start print job."));
    device.setPageLayout(PaperLayout(pages.front().paper));
    QPainter painter;
    if (!painter.begin(&device))
        return JobError(QStringLiteral("Could not start print job."));
    bool first = true;
    for (int copy = 0; copy < copies; ++copy) {
        for (const JobPage& page : pages) {
            if (!first) {
                device.setPageLayout(PaperLayout(page.paper));
                if (!device.newPage()) {
                    painter.end();
                    return JobError(ErrorText(83), 83);
                }
            }
            first = false;
            const int dpiX = device.logicalDpiX();
            const int dpiY = device.logicalDpiY();
            const QPoint physicalOffset = device.pageLayout().paintRectPixels(dpiX).topLeft();
            PaintJobPage(painter, design, page, dpiX, dpiY, physicalOffset, face);
        }
    }
    if (!painter.end())
        return JobError(ErrorText(83), 83);
    return std::monostate{};
}

FileResult<QByteArray> JobPdf(const LabelDesign& design, const std::vector<JobPage>& pages, int copies,
                              const QFont& face, int dpi)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(dpi);
        writer.setCreator(QStringLiteral("Tovrelline"));
        const FileResult<> printed = PrintJobPages(writer, design, pages, copies, face);
        if (!printed)
            return printed.error();
    }
    return bytes;
}

FileResult<> WriteJobPdf(const QString& path, const LabelDesign& design, const std::vector<JobPage>& pages,
                         int copies, const QFont& face)
{
    const FileResult<QByteArray> pdf = JobPdf(design, pages, copies, face);
    if (!pdf)
        return pdf.error();
    const QByteArray& bytes = pdf.value();
    const AtomicWriteResult written = WriteFileAtomically(
        path, [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); });
    if (written.status == AtomicWriteResult::Status::Written)
        return std::monostate{};
    FileError error = JobError(QStringLiteral("Could not write the PDF file."));
    error.cause = written.cause;
    return error;
}

} // namespace tvl
