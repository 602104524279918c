#pragma once

#include "document/model/SurfaceNames.h"

#include <QStringList>
#include <bitset>

namespace tvl {

// The user-level edits of a design. Each opens and closes one undo step.
enum class EditKind
{
    MoveResize,
    SetProperty,
    ReplaceCharacters,
    EditText,
    SetFontRun,
    SetColorRun,
    SetUnderlineRun,
    InsertItem,
    DeleteItem,
    Reorder,
    BringToFront,
    SetAlbumField,
    ImportAlbum,
    ApplyStocks,
    SetBackground,
    Undo,
    Redo,
};

// What an edit may change of an item, as flags.
enum class ChangedAspect : unsigned
{
    Geometry = 1u << 0,
    Properties = 1u << 1,
    Text = 1u << 2,
    Runs = 1u << 3,
    Order = 1u << 4,
    Album = 1u << 5,
};

using SurfaceSet = std::bitset<kSurfaceCount>;

// What one edit (or the undo or redo of one) touched: the items by name, the aspects, and the surfaces
// whose drawing may differ. A replaced design (read, built, recovered) touches everything.
struct DesignChange
{
    EditKind kind = EditKind::SetProperty;
    QStringList items;
    unsigned aspects = 0;
    SurfaceSet surfaces;
    bool replaced = false;

    bool Has(ChangedAspect aspect) const { return (aspects & static_cast<unsigned>(aspect)) != 0; }
    void Add(ChangedAspect aspect) { aspects |= static_cast<unsigned>(aspect); }
};

// Told about every change of the open design, after its undo step has closed, and when another surface
// becomes current or the selection changes. A replaced design may also show another surface; SurfaceShown is
// not called for it.
class DesignListener
{
public:
    virtual ~DesignListener() = default;
    virtual void DesignChanged(const DesignChange& change) = 0;
    virtual void SurfaceShown() {}
    virtual void SelectionChanged() {}
};

} // namespace tvl
