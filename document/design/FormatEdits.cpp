#include "document/design/FormatEdits.h"

#include "document/design/DesignDocument.h"
#include "document/model/RunSlots.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tvl {
namespace {

// The ranges [s, e] the selection formats.
std::vector<std::pair<size_t, size_t>> FormatRanges(const RichText& text, int start, int end)
{
    std::vector<std::pair<size_t, size_t>> ranges;
    const size_t count = text.characters.size();
    const size_t to = std::min(static_cast<size_t>(std::max(end, 0)), count);
    size_t i = static_cast<size_t>(std::max(start, 0));
    while (i < to) {
        if (text.characters[i] == kCellEnd) {
            ++i;
            continue;
        }
        const size_t s = i;
        while (i < to && text.characters[i] != kCellEnd)
            ++i;
        size_t e = i - 1;
        if (e + 1 < count && text.characters[e + 1] == kCellEnd)
            ++e;
        ranges.emplace_back(s, e);
    }
    return ranges;
}

// Fixes the runs at both ends of [s, e]: the text after keeps its run, the range starts one of its own.
template <class T>
void IsolateRange(std::vector<std::optional<T>>& runs, size_t s, size_t e)
{
    if (e + 1 < runs.size() && !runs[e + 1])
        runs[e + 1] = RunAt(runs, e);
    if (!runs[s])
        runs[s] = RunAt(runs, s);
}

bool ValidItem(const DesignDocument& document, const QString& name, int start, int end)
{
    const CRichChild* item = document.design().FindItem(name);
    return item && item->IsTextual() && start >= 0 && start <= end &&
           static_cast<size_t>(end) <= item->characters.size();
}

} // namespace

void FormatFonts(RichText& text, int start, int end, const std::function<void(ItemFont&)>& change)
{
    for (const auto& [s, e] : FormatRanges(text, start, end)) {
        IsolateRange(text.fonts, s, e);
        for (size_t i = s; i <= e; ++i) {
            if (text.fonts[i])
                change(*text.fonts[i]);
        }
    }
}

void FormatColor(RichText& text, int start, int end, ItemColor color)
{
    for (const auto& [s, e] : FormatRanges(text, start, end)) {
        IsolateRange(text.colors, s, e);
        for (size_t i = s; i <= e; ++i)
            text.colors[i].reset();
        text.colors[s] = color;
    }
}

void FormatUnderline(RichText& text, int start, int end, bool underline)
{
    for (const auto& [s, e] : FormatRanges(text, start, end))
        std::fill(text.underlines.begin() + static_cast<std::ptrdiff_t>(s),
                  text.underlines.begin() + static_cast<std::ptrdiff_t>(e) + 1, underline ? 1 : 0);
}

bool ApplyFont(DesignDocument& document, const QString& name, int start, int end,
               const std::function<void(ItemFont&)>& change)
{
    if (!ValidItem(document, name, start, end))
        return false;
    RichText text = RichText::Of(*document.design().FindItem(name));
    if (start == end) {
        for (auto& slot : text.fonts) {
            if (slot)
                change(*slot);
        }
    } else {
        FormatFonts(text, start, end, change);
    }
    return document.SetRichText(name, text);
}

bool ApplyColor(DesignDocument& document, const QString& name, int start, int end, ItemColor color)
{
    if (!ValidItem(document, name, start, end))
        return false;
    RichText text = RichText::Of(*document.design().FindItem(name));
    if (start == end) {
        std::fill(text.colors.begin(), text.colors.end(), std::nullopt);
        if (!text.colors.empty())
            text.colors[0] = color;
    } else {
        FormatColor(text, start, end, color);
    }
    return document.SetRichText(name, text);
}

bool ApplyUnderline(DesignDocument& document, const QString& name, int start, int end, bool underline)
{
    if (!ValidItem(document, name, start, end))
        return false;
    RichText text = RichText::Of(*document.design().FindItem(name));
    if (start == end)
        std::fill(text.underlines.begin(), text.underlines.end(), underline ? 1 : 0);
    else
        FormatUnderline(text, start, end, underline);
    return document.SetRichText(name, text);
}

} // namespace tvl
