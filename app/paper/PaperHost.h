#pragma once

#include "stock/LengthUnits.h"

#include <QString>

namespace tvl {

// What the label paper dialogs need of the open design and the program around them.
class PaperHost
{
public:
    virtual ~PaperHost() = default;

    virtual QString CaseKind() const = 0;
    // The unsaved-changes question; false when the user cancelled it.
    virtual bool QuerySaveChanges() = 0;
    // Opens the default design of caseKind ("Jewel" or "DVD") for the design's disc mode.
    virtual void OpenDefaultDesign(const QString& caseKind) = 0;
    // Gives the design the geometry of the current stocks and shows the current surface again.
    virtual void ApplyStocks() = 0;
    // A message with backquote-terminated buttons; returns the 1-based button pressed.
    virtual int Ask(const QString& text, const QString& buttons) = 0;
    virtual LengthUnits Units() const = 0;
    // Remembers the units in the setting Units.
    virtual void SetUnits(LengthUnits units) = 0;
};

} // namespace tvl
