#include "document/history/UndoHistory.h"

#include "document/history/HistoryHost.h"
#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"

#include <algorithm>
#include <utility>

namespace tvl {
namespace {

bool IsTextItem(const CRichChild* item)
{
    return item && item->IsTextual();
}

// Integer properties a step records by value; the snapshot marker is what an empty snapshot holds.
struct IntProperty
{
    UndoKey key;
    int (CRichChild::*get)() const;
    int (CRichChild::*set)(int);
    int marker;
};

constexpr IntProperty intProperties[] = {
    {UndoKey::Left, &CRichChild::left, &CRichChild::left, 0},
    {UndoKey::Top, &CRichChild::top, &CRichChild::top, 0},
    {UndoKey::Width, &CRichChild::width, &CRichChild::width, 0},
    {UndoKey::Height, &CRichChild::height, &CRichChild::height, 0},
    {UndoKey::LinkText, &CRichChild::bLinkText, &CRichChild::bLinkText, -1},
    {UndoKey::AspectRatio, &CRichChild::bAspectRatio, &CRichChild::bAspectRatio, -1},
    {UndoKey::AutoFit, &CRichChild::bAutoFit, &CRichChild::bAutoFit, -1},
    {UndoKey::Background, &CRichChild::bBackground, &CRichChild::bBackground, -1},
    {UndoKey::TextMargin, &CRichChild::textMargin, &CRichChild::textMargin, -1},
};

struct StringProperty
{
    UndoKey key;
    const QString& (CRichChild::*get)() const;
    QString (CRichChild::*set)(const QString&);
};

constexpr StringProperty stringProperties[] = {
    {UndoKey::Angle, &CRichChild::angle, &CRichChild::angle},
    {UndoKey::WrapStyle, &CRichChild::wrapStyle, &CRichChild::wrapStyle},
    {UndoKey::Alignment, &CRichChild::alignment, &CRichChild::alignment},
    {UndoKey::TrackNumbers, &CRichChild::trackNumbers, &CRichChild::trackNumbers},
    {UndoKey::TextLayout, &CRichChild::textLayout, &CRichChild::textLayout},
};

template <class Slot>
std::vector<Slot> FilledTo(const std::vector<Slot>& source, size_t count)
{
    std::vector<Slot> filled = source;
    filled.resize(count);
    return filled;
}

} // namespace

UndoHistory::UndoHistory(LabelDesign& design, HistoryHost& host)
    : m_design(design)
    , m_host(host)
{
}

UndoHistory::~UndoHistory() = default;

void UndoHistory::BeginStep()
{
    if (!m_recording || m_open)
        return;
    m_open = std::make_unique<UndoStep>();
    CRichChild* selected = m_host.SelectedItem();
    if (selected)
        m_open->itemName = selected->name;
    if (IsTextItem(selected))
        RecordChange(UndoKey::PrevCursor, selected, {}, {});
}

void UndoHistory::EndStep()
{
    if (!m_open)
        return;
    m_steps.resize(static_cast<size_t>(std::min<int>(stepCount(), m_current + 1)));
    while (stepCount() >= kMaxSteps) {
        m_steps.erase(m_steps.begin());
        --m_current;
    }
    CRichChild* selected = m_host.SelectedItem();
    if (IsTextItem(selected))
        RecordChange(UndoKey::NextCursor, selected, {}, {});
    m_steps.push_back(std::move(m_open));
    ++m_current;
}

CRichChild& UndoHistory::SnapshotFor(std::vector<std::unique_ptr<CRichChild>>& side, const CRichChild& item)
{
    for (const auto& snapshot : side) {
        if (snapshot->name == item.name)
            return *snapshot;
    }
    side.push_back(MakeEmptySnapshot(item));
    return *side.back();
}

QStringList UndoHistory::CurrentOrder() const
{
    QStringList names;
    names.reserve(static_cast<qsizetype>(m_design.itemList.size()));
    for (const auto& item : m_design.itemList)
        names.append(item->name);
    return names;
}

void UndoHistory::RecordChange(UndoKey key, CRichChild* item, const QString& oldValue,
                               const QString& newValue)
{
    if (!m_recording || !m_open)
        return;
    m_host.MarkModified();

    if (key == UndoKey::PrevOrder) {
        if (m_open->orderBefore.isEmpty())
            m_open->orderBefore = CurrentOrder();
        return;
    }
    if (key == UndoKey::NextOrder) {
        m_open->orderAfter = CurrentOrder();
        if (m_open->orderAfter == m_open->orderBefore) {
            m_open->orderBefore.clear();
            m_open->orderAfter.clear();
        }
        return;
    }

    if (!item)
        item = m_host.SelectedItem();
    if (!item)
        return;
    const bool before = IsBeforeAspect(key) || !oldValue.isEmpty();
    const bool after = IsAfterAspect(key) || !newValue.isEmpty();
    m_recording = false;
    CRichChild* beforeSnapshot = before ? &SnapshotFor(m_open->before, *item) : nullptr;
    CRichChild* afterSnapshot = after ? &SnapshotFor(m_open->after, *item) : nullptr;

    for (const IntProperty& p : intProperties) {
        if (key != p.key)
            continue;
        if (beforeSnapshot && (std::as_const(*beforeSnapshot).*p.get)() == p.marker)
            (beforeSnapshot->*p.set)(oldValue.toInt());
        if (afterSnapshot)
            (afterSnapshot->*p.set)(newValue.toInt());
    }
    if (key == UndoKey::DiscPosition) {
        if (beforeSnapshot && beforeSnapshot->discPosition == 0)
            beforeSnapshot->discPosition = oldValue.toInt();
        if (afterSnapshot)
            afterSnapshot->discPosition = newValue.toInt();
    }
    for (const StringProperty& p : stringProperties) {
        if (key != p.key)
            continue;
        if (beforeSnapshot && (std::as_const(*beforeSnapshot).*p.get)().isEmpty())
            (beforeSnapshot->*p.set)(oldValue);
        if (afterSnapshot)
            (afterSnapshot->*p.set)(newValue);
    }

    switch (key) {
    case UndoKey::PrevText:
        if (beforeSnapshot->characters.empty())
            beforeSnapshot->characters = item->characters;
        break;
    case UndoKey::NextText:
        afterSnapshot->characters = item->characters;
        break;
    case UndoKey::PrevUnderline:
        if (beforeSnapshot->underlines.empty())
            beforeSnapshot->underlines = item->underlines;
        break;
    case UndoKey::NextUnderline:
        afterSnapshot->underlines = item->underlines;
        break;
    case UndoKey::PrevColor:
        if (beforeSnapshot->colors.empty())
            beforeSnapshot->colors = item->colors;
        break;
    case UndoKey::NextColor:
        afterSnapshot->colors = item->colors;
        break;
    case UndoKey::PrevFont:
        if (beforeSnapshot->fonts.empty())
            beforeSnapshot->fonts = item->fonts;
        break;
    case UndoKey::NextFont:
        afterSnapshot->fonts = item->fonts;
        break;
    case UndoKey::PrevCursor:
        m_host.CaretRange(*item, beforeSnapshot->cursorStart, beforeSnapshot->cursorEnd);
        break;
    case UndoKey::NextCursor:
        m_host.CaretRange(*item, afterSnapshot->cursorStart, afterSnapshot->cursorEnd);
        break;
    case UndoKey::PrevRich:
    case UndoKey::NextRich: {
        auto& side = key == UndoKey::PrevRich ? m_open->before : m_open->after;
        const auto existing = std::find_if(
            side.begin(), side.end(), [&](const auto& snapshot) { return snapshot->name == item->name; });
        *existing = MakeFullCopy(*item);
        break;
    }
    default:
        break;
    }
    m_recording = true;
}

bool UndoHistory::CanUndo() const
{
    return !m_steps.empty() && m_current >= 0;
}

bool UndoHistory::CanRedo() const
{
    return !m_steps.empty() && m_current < stepCount() - 1;
}

void UndoHistory::Undo()
{
    if (m_steps.empty() || m_current < 0)
        return;
    m_current = std::min(m_current, stepCount() - 1);
    Apply(*m_steps[static_cast<size_t>(m_current)], true);
    --m_current;
}

void UndoHistory::Redo()
{
    ++m_current;
    if (m_current >= stepCount()) {
        m_current = stepCount() - 1;
        return;
    }
    Apply(*m_steps[static_cast<size_t>(m_current)], false);
}

void UndoHistory::ClearHistory()
{
    m_steps.clear();
    m_open.reset();
    m_current = -1;
}

void UndoHistory::RestoreOrder(const QStringList& order,
                               const std::vector<std::unique_ptr<CRichChild>>& snapshots)
{
    m_host.ClearSelection();
    std::vector<std::unique_ptr<CRichChild>> pool = std::move(m_design.itemList);
    std::vector<std::unique_ptr<CRichChild>> restored;
    restored.reserve(static_cast<size_t>(order.size()));
    for (const QString& name : order) {
        const auto found = std::find_if(pool.begin(), pool.end(),
                                        [&](const auto& item) { return item && item->name == name; });
        if (found != pool.end()) {
            restored.push_back(std::move(*found));
            continue;
        }
        const auto snapshot = std::find_if(snapshots.begin(), snapshots.end(),
                                           [&](const auto& candidate) { return candidate->name == name; });
        if (snapshot != snapshots.end())
            restored.push_back(MakeFullCopy(**snapshot));
    }
    m_design.ReplaceItems(std::move(restored));
}

void UndoHistory::RestoreSnapshot(const CRichChild& snapshot)
{
    CRichChild* item = m_design.FindItem(snapshot.name);
    if (!item)
        return;
    if (snapshot.discPosition != 0)
        m_host.SetDiscPositionMode(static_cast<DiscPositionMode>(snapshot.discPosition));
    if (snapshot.cursorStart != 0 || snapshot.cursorEnd != 0) {
        item->cursorStart = snapshot.cursorStart;
        item->cursorEnd = snapshot.cursorEnd;
    }
    for (const IntProperty& p : intProperties) {
        const int value = (snapshot.*p.get)();
        if (value != p.marker)
            (item->*p.set)(value);
    }
    for (const StringProperty& p : stringProperties) {
        const QString& value = (snapshot.*p.get)();
        if (!value.isEmpty())
            (item->*p.set)(value);
    }
    if (!snapshot.characters.empty()) {
        const QString text = snapshot.Text();
        item->characters = snapshot.characters;
        if (item->bLinkText() != 0)
            m_design.SetAlbumField(item->name, text);
    }
    // Per-character arrays always match the text: missing slots are filled, surplus ones dropped.
    const size_t count = item->characters.size();
    const bool perCharacter = !snapshot.characters.empty() || IsTextItem(item);
    if (!snapshot.underlines.empty() && snapshot.underlines.size() == count)
        item->underlines = snapshot.underlines;
    if (!snapshot.colors.empty())
        item->colors = FilledTo(snapshot.colors, perCharacter ? count : snapshot.colors.size());
    if (!snapshot.fonts.empty())
        item->fonts = FilledTo(snapshot.fonts, perCharacter ? count : snapshot.fonts.size());
    if (perCharacter) {
        item->underlines.resize(count, 0);
        item->colors.resize(count);
        item->fonts.resize(count);
    }
    item->MarkChanged();
}

void UndoHistory::RestoreWhole(const CRichChild& snapshot)
{
    CRichChild* item = m_design.FindItem(snapshot.name);
    if (!item)
        return;
    if (snapshot.discPosition != 0)
        m_host.SetDiscPositionMode(static_cast<DiscPositionMode>(snapshot.discPosition));
    // The copy takes a new revision, so nothing drawn from the item's present state is mistaken for it.
    *item = snapshot;
    item->discPosition = 0;
    item->AttachRecorder(m_design.recorder());
}

void UndoHistory::Apply(const UndoStep& step, bool before)
{
    const auto& snapshots = before ? step.before : step.after;
    const QStringList& order = before ? step.orderBefore : step.orderAfter;
    m_recording = false;
    if (!order.isEmpty())
        RestoreOrder(order, snapshots);
    if (before) {
        for (auto field = step.albumFields.rbegin(); field != step.albumFields.rend(); ++field)
            m_design.SetAlbumField(field->key, field->before);
    } else {
        for (const AlbumFieldEdit& field : step.albumFields)
            m_design.SetAlbumField(field.key, field.after);
    }
    for (const auto& item : m_design.itemList) {
        if (item->kind == ItemKind::Image && !item->image && !item->imagePath.isEmpty())
            m_host.ReloadPicture(*item);
    }
    for (const auto& snapshot : snapshots) {
        if (step.wholeItems)
            RestoreWhole(*snapshot);
        else
            RestoreSnapshot(*snapshot);
    }

    if (!snapshots.empty()) {
        const CRichChild& first = *snapshots.front();
        QString surface = first.surface;
        if (!m_host.IsDoubleDesign() && surface == kDisc2)
            surface = kDisc1.toString();
        QString target = step.itemName;
        switch (first.bBackground()) {
        case 1:
            target = surface;
            break;
        case 2:
            target = kFrontInside.toString();
            break;
        case 3:
            target = kLeftTab.toString();
            break;
        case 4:
            target = kRightTab.toString();
            break;
        default:
            break;
        }
        const CRichChild* selected = m_host.SelectedItem();
        const bool select =
            !order.isEmpty() || !selected || selected->name != target || selected->surface != surface;
        if (CRichChild* item = m_design.FindItem(target); item && IsTextItem(item)) {
            const int count = static_cast<int>(item->characters.size());
            if (item->cursorStart < 0 || item->cursorStart > count)
                item->cursorStart = 0;
            if (item->cursorEnd < 0 || item->cursorEnd > count)
                item->cursorEnd = 0;
        }
        m_host.ShowAfterUndo(surface, target, select);
    }
    m_recording = true;
}

void UndoHistory::RestoreWholeItems()
{
    if (m_recording && m_open)
        m_open->wholeItems = true;
}

void UndoHistory::RecordAlbumField(const QString& key, const QString& before, const QString& after)
{
    if (!m_recording || !m_open)
        return;
    m_host.MarkModified();
    m_open->albumFields.push_back({key, before, after});
}

} // namespace tvl
