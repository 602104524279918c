#pragma once

#include "document/model/DiscPlacement.h"
#include "document/model/EdgeRect.h"
#include "print/job/PageRange.h"
#include "render/paint/PaintSheet.h"
#include "render/surface/SheetPainter.h"

#include <QPoint>
#include <QSize>
#include <vector>

namespace tvl {

class CLabelDim;

// The print options the user keeps between runs. Overlaps are in mils: 0, 50, 100 or 150.
struct PrintOptionsSet
{
    bool borderFront = true;
    bool borderBack = true;
    bool borderDiscs = false;
    bool foldFront = true;
    bool foldBack = true;
    DiscPositionMode discPositionMode = DiscPositionMode::DiscOnTop;
    int overlapFront = 0;
    int overlapBack = 0;
    int overlapDiscs = 100;
};

// One print job: what to print and how.
struct PrintJob
{
    PrintOptionsSet options;
    LabelsToPrint labels;
    bool doubleDisc = false;
    int copies = 1;
    // The printer's correction in units of 25 mils (each -40..40).
    QPoint calibration;
    // The job prints the calibration sheet instead of labels.
    bool calibrationMode = false;
};

// One sheet of a job, ready to be painted.
struct JobPage
{
    int sheetNumber = 1;
    // The paper, in mils; at least as wide as high is landscape.
    QSize paper;
    // How the labels are laid on it (the device's resolution and physical offset are filled in when
    // painting).
    SheetSpec spec;
    bool calibrationSheet = false;
};

// The sheets printed for one copy of the job. A direct-to-disc disc stock prints its disc on a Letter
// page at the stock's print position, one disc per job. The calibration sheet is printed without the
// calibration, so that what the user reads off it is the whole correction.
std::vector<JobPage> JobPages(const PrintJob& job, const CLabelDim& discStock, const CLabelDim& caseStock);

// Sheets 1 to 3 as the preview shows them: every label of a sheet, one copy, no calibration, each
// clipped to the printable rectangle of its paper; the direct-to-disc sheet as the stock's own square.
std::vector<JobPage> PreviewPages(const PrintJob& job, const CLabelDim& discStock, const CLabelDim& caseStock,
                                  const PrintableAreas& areas);

// The printable rectangle for a paper: Letter's when either side is 11000 mils, else A4's, turned for
// a landscape paper.
EdgeRect PrintableFor(QSize paper, const PrintableAreas& areas);

// The labels that may go in one job on a direct-to-disc disc stock: one disc, and never a disc with
// covers. Other stocks keep the labels as they are.
LabelsToPrint DirectToDiscLabels(LabelsToPrint labels, bool doubleDisc);

} // namespace tvl
