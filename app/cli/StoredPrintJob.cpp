#include "app/cli/StoredPrintJob.h"

#include "app/settings/AppSettings.h"

#include <QtGlobal>

namespace tvl {
namespace {

int StoredOverlap(int mils)
{
    // Only the four offered overlaps print; anything else stored is the nearest one below.
    return qBound(0, mils / 50 * 50, 150);
}

} // namespace

PrintOptionsSet PrintOptionsFromSettings(const PrintOptions& stored)
{
    PrintOptionsSet options;
    options.borderFront = stored.flags[0];
    options.borderBack = stored.flags[1];
    options.borderDiscs = stored.flags[2];
    options.foldFront = stored.flags[3];
    options.foldBack = stored.flags[4];
    options.discPositionMode = static_cast<DiscPositionMode>(qBound(1, stored.mode, 3));
    options.overlapFront = StoredOverlap(stored.firstNumber);
    options.overlapBack = StoredOverlap(stored.secondNumber);
    options.overlapDiscs = StoredOverlap(stored.thirdNumber);
    return options;
}

PrintOptions PrintOptionsToSettings(const PrintOptionsSet& options)
{
    PrintOptions stored;
    stored.flags = {options.borderFront, options.borderBack, options.borderDiscs, options.foldFront,
                    options.foldBack};
    stored.mode = static_cast<int>(options.discPositionMode);
    stored.firstNumber = options.overlapFront;
    stored.secondNumber = options.overlapBack;
    stored.thirdNumber = options.overlapDiscs;
    return stored;
}

PrintJob StoredPrintJob(const AppSettings& settings, bool doubleDisc)
{
    PrintJob job;
    job.options = PrintOptionsFromSettings(settings.printOptions);
    job.labels = {settings.printFront, settings.printBack, settings.printDisc1, settings.printDisc2};
    job.doubleDisc = doubleDisc;
    job.calibration =
        QPoint(qBound(-40, settings.printOffset.x(), 40), qBound(-40, settings.printOffset.y(), 40));
    return job;
}

} // namespace tvl
