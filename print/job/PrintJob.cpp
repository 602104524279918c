#include "print/job/PrintJob.h"

#include "render/paint/CoverSpec.h"
#include "stock/CLabelDim.h"

namespace tvl {
namespace {

SheetSpec LabelSpec(const PrintJob& job, QSize paper)
{
    const PrintOptionsSet& o = job.options;
    SheetSpec spec;
    spec.sheet = paper;
    spec.doubleDisc = job.doubleDisc;
    spec.duplicateDisc = !job.doubleDisc && o.discPositionMode == DiscPositionMode::DuplicateDisc;
    spec.calibration = job.calibration;
    const int discBorder = o.borderDiscs ? BorderOutline : NoBorder;
    spec.labels = {{
        {job.labels.front, o.overlapFront,
         (o.borderFront ? BorderOutline : 0) | (o.foldFront ? BorderFolds : 0)},
        {job.labels.back, o.overlapBack, (o.borderBack ? BorderOutline : 0) | (o.foldBack ? BorderFolds : 0)},
        {job.labels.disc1, o.overlapDiscs, discBorder},
        {job.labels.disc2, o.overlapDiscs, discBorder},
    }};
    return spec;
}

QSize SheetPaper(int sheet, const CLabelDim& discStock, const CLabelDim& caseStock)
{
    if (sheet == 1)
        return discStock.paper1;
    return sheet == 2 ? caseStock.paper1 : caseStock.paper2;
}

} // namespace

std::vector<JobPage> JobPages(const PrintJob& job, const CLabelDim& discStock, const CLabelDim& caseStock)
{
    const bool directToDisc = discStock.IsDirectToDisc();
    PrintJob effective = job;
    if (directToDisc)
        effective.labels = DirectToDiscLabels(job.labels, job.doubleDisc);
    if (job.calibrationMode)
        effective.labels = {false, false, true, false};
    const PageRange range = ComputePageRange(effective.labels, job.doubleDisc, caseStock.page2);

    std::vector<JobPage> pages;
    for (int page = range.firstPage; page != 0 && page <= range.lastPage; ++page) {
        JobPage out;
        out.sheetNumber = range.SheetOfPage(page);
        out.paper = SheetPaper(out.sheetNumber, discStock, caseStock);
        if (out.sheetNumber == 1 && directToDisc) {
            // The disc printer takes a Letter page and prints the disc at the stock's print position.
            out.paper = kLetterPaper;
        }
        out.spec = LabelSpec(effective, out.paper);
        if (out.sheetNumber == 1 && directToDisc)
            out.spec.move =
                QPoint(discStock.cdPrint1.left - discStock.left1, discStock.cdPrint1.top - discStock.top1);
        if (job.calibrationMode) {
            out.calibrationSheet = true;
            out.spec.calibration = QPoint();
        }
        pages.push_back(out);
        if (job.calibrationMode)
            break;
    }
    return pages;
}

std::vector<JobPage> PreviewPages(const PrintJob& job, const CLabelDim& discStock, const CLabelDim& caseStock,
                                  const PrintableAreas& areas)
{
    std::vector<JobPage> pages;
    for (int sheet = 1; sheet <= 3; ++sheet) {
        JobPage out;
        out.sheetNumber = sheet;
        out.paper = SheetPaper(sheet, discStock, caseStock);
        out.spec = LabelSpec(job, out.paper);
        out.spec.calibration = QPoint();
        out.spec.preview = true;
        out.spec.printable = PrintableFor(out.paper, areas);
        pages.push_back(out);
    }
    return pages;
}

EdgeRect PrintableFor(QSize paper, const PrintableAreas& areas)
{
    const EdgeRect& r = paper.width() == kLetterPaper.height() || paper.height() == kLetterPaper.height()
                            ? areas.letter
                            : areas.a4;
    if (paper.width() >= paper.height())
        return {r.top, r.left, r.bottom, r.right};
    return r;
}

LabelsToPrint DirectToDiscLabels(LabelsToPrint labels, bool doubleDisc)
{
    if (!doubleDisc)
        labels.disc2 = false;
    if (labels.disc1 && labels.disc2)
        labels.disc2 = false;
    if (labels.disc1 || labels.disc2) {
        labels.front = false;
        labels.back = false;
    }
    return labels;
}

} // namespace tvl
