#pragma once

#include "document/design/DesignChange.h"

namespace tvl {

class CRichChild;
class DesignDocument;

// One user-level edit: opens the undo step on construction and closes it on destruction, then tells the
// document's listeners what the edit touched. Scopes nest; only the outermost closes the step and
// reports, so an edit built from other edits stays one step.
class EditScope
{
public:
    EditScope(DesignDocument& document, EditKind kind);
    ~EditScope();
    EditScope(const EditScope&) = delete;
    EditScope& operator=(const EditScope&) = delete;

    // The item changed in this aspect; the surfaces it lies on are drawn again.
    void Touch(const CRichChild& item, ChangedAspect aspect);
    // Every surface may look different (stocks, order of structural items).
    void TouchAll(ChangedAspect aspect);

private:
    DesignDocument& m_document;
    EditScope* m_outer;
    DesignChange m_change;
};

// The surfaces an item is drawn on: its own, or for a sheet every surface printed on it.
SurfaceSet SurfacesOf(const CRichChild& item, const class LabelDesign& design);

} // namespace tvl
