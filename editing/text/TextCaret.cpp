#include "editing/text/TextCaret.h"

#include "document/model/TrackIndex.h"

#include <algorithm>
#include <optional>

namespace tvl {
namespace {

enum class Cell
{
    Number,
    Title,
    Time,
};

struct CellAt
{
    int track = 0;
    Cell cell = Cell::Number;
};

// The track and cell holding a position: a cell runs from its start to its terminator, both included.
std::optional<CellAt> FindCell(const std::vector<TrackCells>& tracks, int at)
{
    for (size_t t = 0; t < tracks.size(); ++t) {
        const TrackCells& track = tracks[t];
        const int index = static_cast<int>(t);
        if (at >= track.numberStart && at <= track.numberEnd)
            return CellAt{index, Cell::Number};
        if (at >= track.titleStart && at <= track.titleEnd)
            return CellAt{index, Cell::Title};
        if (at >= track.timeStart && at <= track.timeEnd)
            return CellAt{index, Cell::Time};
    }
    return std::nullopt;
}

int CellStart(const TrackCells& track, Cell cell)
{
    return cell == Cell::Number  ? track.numberStart
           : cell == Cell::Title ? track.titleStart
                                 : track.timeStart;
}

int CellEnd(const TrackCells& track, Cell cell)
{
    return cell == Cell::Number ? track.numberEnd : cell == Cell::Title ? track.titleEnd : track.timeEnd;
}

bool Before(const CellAt& a, const CellAt& b)
{
    return a.track < b.track || (a.track == b.track && a.cell < b.cell);
}

int StepLeft(const CRichChild& item, int s)
{
    if (s <= 0)
        return s;
    int caret = s - 1;
    if (item.kind != ItemKind::Track)
        return caret;
    const std::vector<TrackCells> tracks = IndexTracks(item);
    const TrackVisibility shown = TrackVisibility::Of(item);
    std::optional<CellAt> cell = FindCell(tracks, caret);
    if (!shown.numbers && cell && cell->cell == Cell::Number) {
        if (cell->track == 0)
            return s;
        caret = tracks[static_cast<size_t>(cell->track - 1)].timeEnd;
        cell = FindCell(tracks, caret);
    }
    if (!shown.times && cell && cell->cell == Cell::Time)
        caret = tracks[static_cast<size_t>(cell->track)].titleEnd;
    return caret;
}

int StepRight(const CRichChild& item, int e)
{
    const int count = static_cast<int>(item.characters.size());
    if (e + 1 >= count)
        return e;
    int caret = e + 1;
    if (item.kind != ItemKind::Track)
        return caret;
    const std::vector<TrackCells> tracks = IndexTracks(item);
    const TrackVisibility shown = TrackVisibility::Of(item);
    std::optional<CellAt> cell = FindCell(tracks, caret);
    if (!shown.times && cell && cell->cell == Cell::Time) {
        if (static_cast<size_t>(cell->track) + 1 >= tracks.size())
            return e;
        caret = tracks[static_cast<size_t>(cell->track + 1)].numberStart;
        cell = FindCell(tracks, caret);
    }
    if (!shown.numbers && cell && cell->cell == Cell::Number)
        caret = tracks[static_cast<size_t>(cell->track)].titleStart;
    return caret;
}

} // namespace

TextRange WidenSelection(const CRichChild& item, int a, int b)
{
    if (a > b)
        std::swap(a, b);
    if (item.kind != ItemKind::Track || a == b)
        return {a, b};
    const std::vector<TrackCells> tracks = IndexTracks(item);
    std::optional<CellAt> first = FindCell(tracks, a);
    std::optional<CellAt> last = FindCell(tracks, b);
    if (!first || !last || (first->track == last->track && first->cell == last->cell))
        return {a, b};
    if (Before(*last, *first))
        std::swap(first, last);
    return {CellStart(tracks[static_cast<size_t>(first->track)], first->cell),
            CellEnd(tracks[static_cast<size_t>(last->track)], last->cell)};
}

int MoveCaret(const CRichChild& item, TextRange selection, CaretKey key)
{
    const int last = std::max(0, static_cast<int>(item.characters.size()) - 1);
    switch (key) {
    case CaretKey::Left:
        return selection.start != selection.end ? selection.start : StepLeft(item, selection.start);
    case CaretKey::Right:
        return selection.start != selection.end ? selection.end : StepRight(item, selection.end);
    case CaretKey::Home:
        return 0;
    case CaretKey::End:
        return last;
    }
    return selection.start;
}

} // namespace tvl
