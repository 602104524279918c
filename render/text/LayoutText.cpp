#include "render/text/LayoutText.h"

#include "render/text/AutoFitLayout.h"
#include "render/text/LineBuilder.h"
#include "render/text/RunMeasurer.h"
#include "render/text/TextLines.h"

namespace tvl {
namespace {

std::vector<CharRule> TextRules(const CRichChild& item)
{
    const bool wordWrap = item.wrapStyle() == u"Word-Wrap";
    const bool singleLine = item.wrapStyle() == u"Single-Line";
    const std::vector<char32_t>& characters = item.characters;
    std::vector<CharRule> rules(characters.size());
    for (size_t i = 0; i < characters.size(); ++i) {
        const char32_t character = characters[i];
        if (character == kCellEnd)
            rules[i].role = CharRole::LineEnd;
        else if (character == kLineBreak)
            rules[i].role = singleLine ? CharRole::MeasuredAsSpace : CharRole::LineEnd;
        else if (wordWrap && character == U' ' && (i == 0 || characters[i - 1] != U' '))
            rules[i].role = CharRole::SpaceBreak;
    }
    return rules;
}

} // namespace

ItemLayout LayoutText(const CRichChild& item, const LayoutFrame& frame, FontEngine& engine)
{
    const std::vector<CharRule> rules = TextRules(item);
    RunMeasurer measurer(item, engine);
    WorkingLayout work;
    const bool autoFit = item.bAutoFit() != 0;
    if (!autoFit) {
        const LineOptions options{false, FirstFont(item).height, {}, {}};
        LineBuilder(item, frame, measurer, rules, options).Run(work);
    } else {
        work.layout.fittedHeight =
            AutoFitLayout(item, work, [&](int size, bool fitting, WorkingLayout& pass) {
                const LineOptions options{fitting, size, {}, {}};
                return LineBuilder(item, frame, measurer, rules, options).Run(pass);
            });
    }
    ItemLayout& layout = work.layout;
    if (!layout.lineCells.empty())
        AlignLines(layout, frame, item.alignment(), autoFit, 0, layout.lineCells.size() - 1);
    if (autoFit && !frame.onDisc)
        CentreVertically(layout, frame.rect);
    return std::move(work.layout);
}

} // namespace tvl
