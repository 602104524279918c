#pragma once

#include "document/model/EdgeRect.h"

#include <QPoint>
#include <QSize>
#include <QStringView>
#include <array>

class QPainter;

namespace tvl {

class LabelDesign;

// How one sheet of a design is laid onto a page of a device.
struct SheetSpec
{
    // What is drawn of one surface: front cover, back cover, disc 1, disc 2 in that order.
    struct Label
    {
        bool print = true;
        int overlap = 0; // mils
        int borderMode = 0;
    };

    double dpiX = 300;
    double dpiY = 300;
    QSize sheet{8500, 11000}; // mils; a sheet at least as wide as it is high is landscape
    // Where the device's origin lies on the sheet, in device pixels (the margin a printer cannot reach).
    QPoint physicalOffset;
    // The printer's calibration, in units of 25 mils across and down a portrait sheet; a preview ignores
    // it.
    QPoint calibration;
    // Moves every label on the sheet, in mils: a disc printer prints the disc at its own position.
    QPoint move;
    bool doubleDisc = false;
    // A single design printed on both disc positions.
    bool duplicateDisc = false;
    // A preview draws every label of the sheet, clipped to the printable rectangle (mils), and nudges
    // the disc circles so that they look right when scaled down.
    bool preview = false;
    EdgeRect printable;
    std::array<Label, 4> labels{};
};

// Paints the covers of the sheet with page code pageCode (front, back, disc 1, disc 2 in that order),
// each through PaintCover at its place on the sheet. The painter's state is as before afterwards.
void PaintSheet(QPainter& painter, const LabelDesign& design, QStringView pageCode, const SheetSpec& spec);

// The mils that device pixel (0, 0) shows: the physical offset, moved by the calibration unless
// previewing.
QPoint SheetOriginMils(const SheetSpec& spec);

} // namespace tvl
