#pragma once

#include "document/model/CRichChild.h"

#include <QPoint>
#include <QRect>
#include <functional>
#include <memory>

namespace tvl {

class LabelDesign;

// The size in mils of a new item of an Insert command's base name: track lists and pictures 1500 × 1500,
// every other text 2000 × 400.
QSize NewItemSize(QStringView baseName);

// Where a new item of this size goes on the current surface: centred in the surface's free area (on a
// disc the part left of the hub; on a folded front cover the half of the selected item), moved by a
// jitter of up to half a mil per unit of jitter (0 … 999) on each axis, and back inside the area
// horizontally. With limitWidth a rectangle wider than the area is narrowed to it.
QRect PlaceNewItem(const LabelDesign& design, const QString& surface, const CRichChild* selected, QSize size,
                   bool limitWidth, const std::function<int()>& jitter);

// A rectangle of this size centred on point (integer halves).
QRect CentredOn(QPoint point, QSize size);

// The rectangle shifted back inside bounds, left edge first, then right, top and bottom, so a rectangle
// larger than bounds keeps its right and bottom edges inside.
QRect ShiftInside(QRect rect, const QRect& bounds);

// The surface a new rectangle goes on when it does not overlap the current one: on a case sheet that holds
// both covers the nearer of "Front Cover" and "Back Cover" by their centres (ties to the front), on the disc
// sheet with two discs in use the nearer disc; otherwise, and whenever it overlaps, the current surface.
QString NearestSurface(const LabelDesign& design, const QString& current, const QRect& rect, bool twoDiscs);

// A new text block or track list for an Insert command on the surface. name is the base name with its
// disc suffix ("Artist - Disc 2", "Track List", "Text"); the item takes it made unique. Album fields are
// linked and show their field; "Text" shows "Text". Null when the surface has no cover.
std::unique_ptr<CRichChild> MakeTextItem(const LabelDesign& design, const QString& name,
                                         const QString& surface, const QRect& rect);

// A new picture item ("Image(n)") for a file on the surface, aspect ratio locked, without its picture.
// Null when the surface has no cover.
std::unique_ptr<CRichChild> MakePictureItem(const LabelDesign& design, const QString& surface,
                                            const QRect& rect, const QString& path);

} // namespace tvl
