#pragma once

#include <QRect>
#include <QString>
#include <functional>

namespace tvl {

class CRichChild;
class DesignDocument;

// Creation of new items as edit operations of the document: each is one undo step, and one that creates
// nothing leaves no step and does not mark the design modified.

// Adds a text block or track list (name as for MakeTextItem) on the current surface. When the rectangle
// does not overlap that surface, the nearest surface of the same sheet becomes current first; the
// rectangle is then shifted inside its surface. With select the new item becomes the selected one.
// Null when the current surface has no cover.
CRichChild* CreateTextItem(DesignDocument& document, const QString& name, const QRect& rect, bool select);

// Adds a picture from a file on the current surface (nearest surface as above) and selects it. load gives
// the item its picture from imagePath; when it fails nothing is added. With background the picture becomes
// the background of its area through makeBackground; otherwise it is fitted to the picture's proportions
// within the rectangle. Null when nothing was added.
CRichChild* CreatePictureItem(DesignDocument& document, const QRect& rect, const QString& path,
                              const std::function<bool(CRichChild&)>& load, bool background = false,
                              const std::function<bool(CRichChild&)>& makeBackground = {});

// Whether the disc sheet of the open design shows two discs, so that a new item may go on either.
bool UsesTwoDiscs(const DesignDocument& document);

} // namespace tvl
