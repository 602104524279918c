#pragma once

#include <QPoint>
#include <functional>
#include <memory>
#include <optional>

namespace tvl {

class CRichChild;
class CxImage;
class DesignDocument;

// Where a pasted item goes, in sheet mils: the context point when it lies on the current surface's cover
// (left and top inclusive, right and bottom exclusive), otherwise nothing (the free area of the surface).
struct PastePlace
{
    bool surfaceHasCover = false;
    std::optional<QPoint> centre;
};
PastePlace FindPastePlace(const DesignDocument& document, std::optional<QPoint> contextPoint);

// Pastes an item read from the clipboard onto the current surface as one undo step and selects it. Its
// name is cut before its first "(" and made unique in the parenthesised form ("Text 1" → "Text 1(1)"); a
// track list gets a layout its sheet has: on a case sheet one of "1 Column", "2 Columns" and "Table
// Format" (else "1 Column"), on the disc sheet "Bottom" in place of "1 Column" and "Table Format". It keeps
// its size; centred on the context point or placed in the free area, narrowed to it. jitter as for
// PlaceNewItem. Null when the current surface has no cover.
CRichChild* PasteItem(DesignDocument& document, std::unique_ptr<CRichChild> item,
                      std::optional<QPoint> contextPoint, const std::function<int()>& jitter);

// Pastes a picture that came from no file as a new "Image" item, flattened over white, its box 1000 × 1000
// fitted to the picture's proportions; one undo step, selected. Null when the current surface has no cover
// or the picture is not valid.
CRichChild* PastePicture(DesignDocument& document, std::shared_ptr<CxImage> picture,
                         std::optional<QPoint> contextPoint, const std::function<int()>& jitter);

// Whether the selected item may be deleted: it is not a sheet, surface or guide area.
bool CanDeleteSelected(const DesignDocument& document);

// Deletes the selected item itself as one undo step; the current surface's cover becomes selected.
bool DeleteSelected(DesignDocument& document);

} // namespace tvl
