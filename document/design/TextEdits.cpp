#include "document/design/TextEdits.h"

#include "document/design/DesignDocument.h"
#include "document/design/EditScope.h"
#include "document/model/RunSlots.h"

#include <algorithm>

namespace tvl {
namespace {

// Typed or pasted text as characters of a cell: no terminators, every line feed a line break.
std::vector<char32_t> CellCharacters(QStringView typed)
{
    std::vector<char32_t> result;
    const std::vector<char32_t> raw = ToCharacters(typed);
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == kCellEnd)
            continue;
        if (raw[i] == U'\n') {
            if (i == 0 || raw[i - 1] != kLineBreak)
                result.push_back(kLineBreak);
            continue;
        }
        result.push_back(raw[i]);
    }
    return result;
}

template <class T>
void Insert(std::vector<T>& values, size_t at, const T& value)
{
    values.insert(values.begin() + static_cast<std::ptrdiff_t>(at), value);
}

template <class T>
void Erase(std::vector<T>& values, size_t at)
{
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(at));
}

// Removes one character; a run that started on it goes on with the next character when that starts none.
void RemoveCharacter(RichText& text, size_t at)
{
    if (at + 1 < text.characters.size()) {
        if (text.fonts[at] && !text.fonts[at + 1])
            text.fonts[at + 1] = text.fonts[at];
        if (text.colors[at] && !text.colors[at + 1])
            text.colors[at + 1] = text.colors[at];
    }
    Erase(text.characters, at);
    Erase(text.fonts, at);
    Erase(text.colors, at);
    Erase(text.underlines, at);
}

void RemoveRange(RichText& text, size_t from, size_t to)
{
    for (size_t i = to; i > from; --i)
        RemoveCharacter(text, i - 1);
}

bool IsDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

// The count of leading digits of a number cell when it reads "1." … "99.", else 0.
int NumberDigits(const RichText& text, const TrackCells& track)
{
    int digits = 0;
    while (track.numberStart + digits < track.numberEnd &&
           IsDigit(text.characters[static_cast<size_t>(track.numberStart + digits)]))
        ++digits;
    const int dot = track.numberStart + digits;
    if (digits < 1 || digits > 2 || dot >= track.numberEnd ||
        text.characters[static_cast<size_t>(dot)] != U'.')
        return 0;
    return digits;
}

// Numbers the tracks 1, 2, 3 … in list order when every number cell reads "n." with one or two digits;
// the caret keeps its character.
void Renumber(RichText& text, int& caret)
{
    const std::vector<TrackCells> tracks = IndexTracks(text.characters);
    if (tracks.empty())
        return;
    for (const TrackCells& track : tracks) {
        if (NumberDigits(text, track) == 0)
            return;
    }
    // From the last track back, so the indexes of the tracks still to come stay valid.
    for (size_t t = tracks.size(); t > 0; --t) {
        const TrackCells& track = tracks[t - 1];
        const int digits = NumberDigits(text, track);
        const std::vector<char32_t> number = ToCharacters(QString::number(static_cast<qsizetype>(t)));
        const auto start = static_cast<size_t>(track.numberStart);
        for (int i = 0; i < digits && i < static_cast<int>(number.size()); ++i)
            text.characters[start + static_cast<size_t>(i)] = number[static_cast<size_t>(i)];
        if (static_cast<int>(number.size()) > digits) {
            const size_t at = start + static_cast<size_t>(digits);
            for (size_t i = static_cast<size_t>(digits); i < number.size(); ++i) {
                Insert(text.characters, at, number[i]);
                Insert(text.fonts, at, std::optional<ItemFont>{});
                Insert(text.colors, at, std::optional<ItemColor>{});
                Insert(text.underlines, at, text.underlines[at - 1]);
            }
            if (caret > track.numberStart)
                caret += static_cast<int>(number.size()) - digits;
        } else if (static_cast<int>(number.size()) < digits) {
            RemoveRange(text, start + number.size(), start + static_cast<size_t>(digits));
            if (caret > track.numberStart)
                caret -= digits - static_cast<int>(number.size());
        }
    }
}

// The single default track, each cell with the look the same cell of the first removed track had.
void MakeDefaultTrack(RichText& text, const TrackCells& first)
{
    RichText track;
    track.characters = ToCharacters(QStringView(kDefaultTrack));
    const size_t count = track.characters.size();
    track.fonts.assign(count, std::nullopt);
    track.colors.assign(count, std::nullopt);
    track.underlines.assign(count, 0);
    const std::vector<TrackCells> cells = IndexTracks(track.characters);
    const std::pair<int, int> starts[] = {{cells[0].numberStart, first.numberStart},
                                          {cells[0].titleStart, first.titleStart},
                                          {cells[0].timeStart, first.timeStart}};
    for (const auto& [to, from] : starts) {
        const auto cellEnd = static_cast<size_t>(to == cells[0].numberStart  ? cells[0].numberEnd
                                                 : to == cells[0].titleStart ? cells[0].titleEnd
                                                                             : cells[0].timeEnd);
        track.fonts[static_cast<size_t>(to)] = RunAt(text.fonts, static_cast<size_t>(from));
        track.colors[static_cast<size_t>(to)] = RunAt(text.colors, static_cast<size_t>(from));
        std::fill(track.underlines.begin() + to,
                  track.underlines.begin() + static_cast<std::ptrdiff_t>(cellEnd) + 1,
                  text.underlines[static_cast<size_t>(from)]);
    }
    text = std::move(track);
}

// The tracks [first, last] a selection covers whole, from the first shown cell of one to the last shown
// cell of another; none when it covers something else.
std::optional<std::pair<size_t, size_t>> WholeTracks(const std::vector<TrackCells>& tracks, int start,
                                                     int end, const TrackVisibility& shown)
{
    std::optional<size_t> first;
    std::optional<size_t> last;
    for (size_t t = 0; t < tracks.size(); ++t) {
        const TrackCells& track = tracks[t];
        if (start == (shown.numbers ? track.numberStart : track.titleStart))
            first = t;
        const int lastEnd = shown.times ? track.timeEnd : track.titleEnd;
        if (end == lastEnd || end == lastEnd + 1)
            last = t;
    }
    if (!first || !last || *first > *last)
        return std::nullopt;
    return std::make_pair(*first, *last);
}

bool ValidSelection(const RichText& text, int start, int end)
{
    return start >= 0 && start <= end && static_cast<size_t>(end) <= text.characters.size() &&
           !text.characters.empty();
}

} // namespace

int InsertCharacters(RichText& text, int at, QStringView typed)
{
    auto i = static_cast<size_t>(std::clamp(at, 0, static_cast<int>(text.characters.size())));
    for (const char32_t c : CellCharacters(typed)) {
        if (i == text.characters.size()) {
            const std::uint16_t underline = i > 0 ? text.underlines[i - 1] : 0;
            text.characters.push_back(c);
            text.fonts.emplace_back();
            text.colors.emplace_back();
            text.underlines.push_back(underline);
        } else if (i > 0 && text.characters[i - 1] != kCellEnd && text.characters[i - 1] != kLineBreak) {
            Insert(text.characters, i, c);
            Insert(text.fonts, i, std::optional<ItemFont>{});
            Insert(text.colors, i, std::optional<ItemColor>{});
            Insert(text.underlines, i, text.underlines[i - 1]);
        } else {
            // At the start of a cell or line the new character takes the run start of the one it pushes.
            Insert(text.characters, i, c);
            Insert(text.fonts, i + 1, std::optional<ItemFont>{});
            Insert(text.colors, i + 1, std::optional<ItemColor>{});
            Insert(text.underlines, i, text.underlines[i]);
        }
        ++i;
    }
    return static_cast<int>(i);
}

DeletionResult DeleteCharacters(RichText& text, int start, int end, bool wholeTracks,
                                const TrackVisibility* tracks)
{
    if (!ValidSelection(text, start, end))
        return {start, false};
    int caret = start;
    bool deleted = false;
    bool lostLastTrack = false;
    if (start == end) {
        if (start > 0 && text.characters[static_cast<size_t>(start) - 1] != kCellEnd) {
            RemoveCharacter(text, static_cast<size_t>(start) - 1);
            caret = start - 1;
            deleted = true;
        }
    } else {
        const std::vector<TrackCells> cells =
            tracks ? IndexTracks(text.characters) : std::vector<TrackCells>{};
        const auto whole = tracks && wholeTracks ? WholeTracks(cells, start, end, *tracks) : std::nullopt;
        if (whole) {
            const TrackCells first = cells[whole->first];
            const bool everyTrack = whole->first == 0 && whole->second + 1 == cells.size() &&
                                    static_cast<size_t>(cells.back().timeEnd) + 1 == text.characters.size();
            if (everyTrack) {
                MakeDefaultTrack(text, first);
                lostLastTrack = true;
                caret = 0;
            } else {
                RemoveRange(text, static_cast<size_t>(first.numberStart),
                            static_cast<size_t>(cells[whole->second].timeEnd) + 1);
                caret = std::min(first.numberStart, static_cast<int>(text.characters.size()) - 1);
            }
        } else {
            for (int i = std::min(end, static_cast<int>(text.characters.size())); i > start; --i) {
                if (text.characters[static_cast<size_t>(i) - 1] != kCellEnd)
                    RemoveCharacter(text, static_cast<size_t>(i) - 1);
            }
        }
        deleted = true;
    }
    if (deleted && tracks && !lostLastTrack)
        Renumber(text, caret);
    return {caret, lostLastTrack};
}

namespace {

TextEditOutcome Apply(DesignDocument& document, const QString& name, const RichText& text, int caret,
                      bool lostLastTrack)
{
    const bool changed = document.SetRichText(name, text);
    return {changed, caret, changed && lostLastTrack};
}

const CRichChild* TextItem(const DesignDocument& document, const QString& name, int start, int end)
{
    const CRichChild* item = document.design().FindItem(name);
    if (!item || !item->IsTextual() || start < 0 || start > end ||
        static_cast<size_t>(end) >= item->characters.size())
        return nullptr;
    return item;
}

} // namespace

TextEditOutcome InsertText(DesignDocument& document, const QString& name, int start, int end,
                           const QString& typed)
{
    const CRichChild* item = TextItem(document, name, start, end);
    if (!item)
        return {false, start, false};
    RichText text = RichText::Of(*item);
    const TrackVisibility shown = TrackVisibility::Of(*item);
    const TrackVisibility* tracks = item->kind == ItemKind::Track ? &shown : nullptr;
    const DeletionResult deletion =
        start != end ? DeleteCharacters(text, start, end, false, tracks) : DeletionResult{start, false};
    const int caret = InsertCharacters(text, deletion.caret, typed);
    return Apply(document, name, text, caret, false);
}

TextEditOutcome DeleteText(DesignDocument& document, const QString& name, int start, int end,
                           bool wholeTracks)
{
    const CRichChild* item = TextItem(document, name, start, end);
    if (!item)
        return {false, start, false};
    RichText text = RichText::Of(*item);
    const TrackVisibility shown = TrackVisibility::Of(*item);
    const DeletionResult deletion =
        DeleteCharacters(text, start, end, wholeTracks, item->kind == ItemKind::Track ? &shown : nullptr);
    return Apply(document, name, text, deletion.caret, deletion.lostLastTrack);
}

TextEditOutcome DeleteForward(DesignDocument& document, const QString& name, int start, int end)
{
    const CRichChild* item = TextItem(document, name, start, end);
    if (!item)
        return {false, start, false};
    if (start != end)
        return DeleteText(document, name, start, end, true);
    if (static_cast<size_t>(start) + 1 >= item->characters.size() ||
        item->characters[static_cast<size_t>(start)] == kCellEnd)
        return {false, start, false};
    return DeleteText(document, name, start + 1, start + 1, false);
}

} // namespace tvl
