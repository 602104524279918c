#include "render/text/LayoutTrackFlow.h"

#include "render/text/AutoFitLayout.h"
#include "render/text/LineBuilder.h"
#include "render/text/RunMeasurer.h"
#include "render/text/TextLines.h"
#include "render/text/TrackCells.h"

#include <optional>

namespace tvl {
namespace {

constexpr int kColumnGap = 15;

struct FlowPlan
{
    std::vector<CharRule> rules;
    LayoutFrame firstColumn;
    std::optional<EdgeRect> secondColumn;
    size_t split = 0; // the last character of the first column
    std::optional<std::pair<int, int>> keepOut;
};

FlowPlan PlanFlow(const CRichChild& item, const LayoutFrame& frame, const std::vector<TrackCells>& tracks)
{
    FlowPlan plan;
    plan.firstColumn = frame;
    const std::vector<char32_t>& characters = item.characters;
    const std::vector<TrackCharacter> classes = ClassifyTrackCharacters(item, tracks);
    const bool trackWrap = item.wrapStyle() == u"Track-Wrap";
    const bool wordWrap = item.wrapStyle() == u"Word-Wrap";
    const bool singleLine = item.wrapStyle() == u"Single-Line";

    int splitTrack = -1;
    if (item.textLayout() == u"2 Columns" && !tracks.empty()) {
        const int count = static_cast<int>(tracks.size());
        splitTrack = (count + 1) / 2 - 1;
        const EdgeRect& rect = frame.rect;
        const int half = rect.width() / 2;
        plan.firstColumn.rect.right = rect.right - half - kColumnGap;
        plan.secondColumn = EdgeRect{rect.left + half + kColumnGap, rect.top, rect.right, rect.bottom};
        plan.split = static_cast<size_t>(tracks[static_cast<size_t>(splitTrack)].timeEnd);
    }
    if (item.textLayout() == u"Top && Bottom" && frame.onDisc) {
        const DiscShape& disc = frame.disc;
        plan.keepOut = std::pair(disc.outerRadius - disc.hubRadius - disc.margin,
                                 disc.outerRadius + disc.hubRadius + disc.margin);
    }

    plan.rules.resize(characters.size());
    for (size_t i = 0; i < characters.size(); ++i) {
        const TrackCharacter& where = classes[i];
        CharRule& rule = plan.rules[i];
        rule.hidden = !where.shown;
        const char32_t character = characters[i];
        if (character == kLineBreak) {
            rule.role = singleLine ? CharRole::MeasuredAsSpace : CharRole::LineEnd;
        } else if (character == kCellEnd) {
            if (where.column == TrackColumn::None)
                rule.role = CharRole::LineEnd;
            else if (where.column != TrackColumn::Time)
                rule.role = CharRole::CellEnd;
            else if (where.track == splitTrack)
                rule.role = CharRole::ColumnEnd;
            else
                rule.role = trackWrap ? CharRole::TrackGap : CharRole::LineEnd;
        } else if (wordWrap && character == U' ' && where.column == TrackColumn::Title &&
                   characters[i - 1] != U' ' && classes[i - 1].column == TrackColumn::Title) {
            rule.role = CharRole::SpaceBreak;
        }
    }
    return plan;
}

// An empty cell keeps a box one space wide for the caret; every other terminator has no width.
void SettleTerminators(const CRichChild& item, ItemLayout& layout, RunMeasurer& measurer, int size)
{
    measurer.BeginPass(size);
    const std::vector<char32_t>& characters = item.characters;
    for (size_t i = 0; i < characters.size(); ++i) {
        if (characters[i] != kCellEnd || layout.lineCells[i] == EdgeRect{})
            continue;
        const bool emptyCell = i == 0 || characters[i - 1] == kCellEnd;
        const int width = emptyCell ? measurer.MeasureSpace(i).width : 0;
        layout.lineCells[i].right = layout.lineCells[i].left + width;
        layout.glyphCells[i].right = layout.glyphCells[i].left + width;
    }
}

bool RunPass(const CRichChild& item, const FlowPlan& plan, RunMeasurer& measurer, bool autoFit, int size,
             WorkingLayout& work)
{
    const LineOptions options{autoFit, size, plan.secondColumn, plan.keepOut};
    return LineBuilder(item, plan.firstColumn, measurer, plan.rules, options).Run(work);
}

} // namespace

ItemLayout LayoutTrackFlow(const CRichChild& item, const LayoutFrame& frame, FontEngine& engine,
                           const std::vector<TrackCells>& tracks)
{
    const FlowPlan plan = PlanFlow(item, frame, tracks);
    RunMeasurer measurer(item, engine);
    WorkingLayout work;
    const bool autoFit = item.bAutoFit() != 0;
    int size = FirstFont(item).height;
    if (!autoFit) {
        RunPass(item, plan, measurer, false, size, work);
    } else {
        size = AutoFitLayout(item, work, [&](int candidate, bool fitting, WorkingLayout& pass) {
            return RunPass(item, plan, measurer, fitting, candidate, pass);
        });
        work.layout.fittedHeight = size;
    }
    ItemLayout& layout = work.layout;
    SettleTerminators(item, layout, measurer, size);
    if (!layout.lineCells.empty()) {
        const size_t last = layout.lineCells.size() - 1;
        if (plan.secondColumn) {
            AlignLines(layout, plan.firstColumn, item.alignment(), autoFit, 0, plan.split);
            // The second column mirrors the first: "Left" sets both against the outer edges.
            QStringView mirrored = item.alignment();
            if (mirrored == u"Left")
                mirrored = u"Right";
            else if (mirrored == u"Right")
                mirrored = u"Left";
            LayoutFrame second = frame;
            second.rect = *plan.secondColumn;
            if (plan.split < last)
                AlignLines(layout, second, mirrored, autoFit, plan.split + 1, last);
        } else {
            AlignLines(layout, frame, item.alignment(), autoFit, 0, last);
        }
    }
    if (autoFit && !frame.onDisc)
        CentreVertically(layout, frame.rect);
    layout.trackCells = tracks;
    return std::move(work.layout);
}

} // namespace tvl
