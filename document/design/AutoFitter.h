#pragma once

namespace tvl {

class CRichChild;
class LabelDesign;

// Finds the font height AutoFit gives a text or track-list item. Layout lives outside the document, so the
// program installs one; the document stores the heights it finds.
class AutoFitter
{
public:
    virtual ~AutoFitter() = default;
    // The height every font run of item takes as the design now holds it; 0 when AutoFit has no outcome.
    virtual int FittedHeight(const CRichChild& item, const LabelDesign& design) = 0;
    // The item's runs now have the height FittedHeight just gave for it.
    virtual void HeightsStored(const CRichChild& item, const LabelDesign& design) = 0;
};

} // namespace tvl
