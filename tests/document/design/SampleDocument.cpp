#include "tests/document/design/SampleDocument.h"

#include "tests/document/files/SampleDesign.h"

namespace tvl {

void LoadSampleDesign(DesignDocument& document)
{
    LabelDesign sample = MakeSampleDesign();
    document.BeginReplace();
    document.MutableDesign().ReplaceItems(std::move(sample.itemList));
    document.MutableDesign().albumHeader = sample.albumHeader;
    document.EndReplace(SampleState());
}

} // namespace tvl
