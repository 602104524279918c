#include "document/design/DesignDocument.h"
#include "document/design/EditScope.h"
#include "document/model/RunSlots.h"

#include <algorithm>

namespace tvl {
namespace {

// Replaces count runs from start by inserted empty ones. A run that started inside the removed range
// goes on after it; a text always starts with a set slot.
template <class T>
void ReplaceSlots(std::vector<std::optional<T>>& runs, size_t start, size_t count, size_t inserted)
{
    const std::optional<T> first = runs.empty() ? std::nullopt : RunAt(runs, 0);
    const std::optional<T> carried = RunAt(runs, start + count);
    const bool removedRunStart = std::any_of(runs.begin() + static_cast<std::ptrdiff_t>(start),
                                             runs.begin() + static_cast<std::ptrdiff_t>(start + count),
                                             [](const auto& slot) { return slot.has_value(); });
    runs.erase(runs.begin() + static_cast<std::ptrdiff_t>(start),
               runs.begin() + static_cast<std::ptrdiff_t>(start + count));
    runs.insert(runs.begin() + static_cast<std::ptrdiff_t>(start), inserted, std::nullopt);
    const size_t after = start + inserted;
    if (removedRunStart && after < runs.size() && !runs[after])
        runs[after] = carried;
    if (!runs.empty() && !runs[0])
        runs[0] = first;
}

// Sets one run over count runs from start; the text after it keeps the run it had.
template <class T>
void SetRun(std::vector<std::optional<T>>& runs, size_t start, size_t count, const T& value)
{
    const size_t end = start + count;
    if (end < runs.size() && !runs[end])
        runs[end] = RunAt(runs, end);
    runs[start] = value;
    for (size_t i = start + 1; i < end; ++i)
        runs[i].reset();
}

} // namespace

bool DesignDocument::MoveResize(const QString& name, const QRect& rect)
{
    CRichChild* item = Find(name);
    if (!item)
        return false;
    EditScope scope(*this, EditKind::MoveResize);
    scope.Touch(*item, ChangedAspect::Geometry);
    item->left(rect.x());
    item->top(rect.y());
    item->width(rect.width());
    item->height(rect.height());
    scope.Touch(*item, ChangedAspect::Geometry);
    return true;
}

bool DesignDocument::SetItemProperty(const QString& name, ItemProperty property, int value)
{
    CRichChild* item = Find(name);
    if (!item)
        return false;
    // A linked item's text is not stored but read from its album field: an item named after no field
    // would come back empty.
    if (property == ItemProperty::LinkText && value != 0 && !CAlbumInfo::ParseKey(item->name))
        return false;
    EditScope scope(*this, EditKind::SetProperty);
    switch (property) {
    case ItemProperty::TextMargin:
        item->textMargin(value);
        break;
    case ItemProperty::AspectRatio:
        item->bAspectRatio(value);
        break;
    case ItemProperty::LinkText:
        item->bLinkText(value);
        // A linked item shows its album field from now on, as it will when the design is read again.
        if (value != 0 && item->IsTextual()) {
            for (const UndoKey aspect :
                 {UndoKey::PrevText, UndoKey::PrevFont, UndoKey::PrevColor, UndoKey::PrevUnderline})
                m_history.RecordChange(aspect, item, {}, {});
            item->ReplaceText(m_design.LinkedAlbumText(item->name));
            for (const UndoKey aspect :
                 {UndoKey::NextText, UndoKey::NextFont, UndoKey::NextColor, UndoKey::NextUnderline})
                m_history.RecordChange(aspect, item, {}, {});
        }
        break;
    case ItemProperty::AutoFit:
        item->bAutoFit(value);
        break;
    case ItemProperty::Background:
        item->bBackground(value);
        break;
    default:
        return false;
    }
    scope.Touch(*item, ChangedAspect::Properties);
    return true;
}

bool DesignDocument::SetItemProperty(const QString& name, ItemProperty property, const QString& value)
{
    CRichChild* item = Find(name);
    if (!item || value.isEmpty())
        return false;
    EditScope scope(*this, EditKind::SetProperty);
    switch (property) {
    case ItemProperty::Angle:
        item->angle(value);
        break;
    case ItemProperty::WrapStyle:
        item->wrapStyle(value);
        break;
    case ItemProperty::Alignment:
        item->alignment(value);
        break;
    case ItemProperty::TrackNumbers:
        item->trackNumbers(value);
        break;
    case ItemProperty::TextLayout:
        item->textLayout(value);
        break;
    default:
        return false;
    }
    scope.Touch(*item, ChangedAspect::Properties);
    return true;
}

bool DesignDocument::ReplaceCharacters(const QString& name, int start, int count, const QString& text)
{
    CRichChild* item = Find(name);
    // The final cell terminator stays: every text ends with one.
    if (!item || !item->IsTextual() || start < 0 || count < 0 ||
        static_cast<size_t>(start) + static_cast<size_t>(count) + 1 > item->characters.size())
        return false;
    const std::vector<char32_t> inserted = ToCharacters(text);
    EditScope scope(*this, EditKind::ReplaceCharacters);
    for (const UndoKey aspect :
         {UndoKey::PrevText, UndoKey::PrevFont, UndoKey::PrevColor, UndoKey::PrevUnderline})
        m_history.RecordChange(aspect, item, {}, {});

    const auto from = static_cast<size_t>(start);
    const auto removed = static_cast<size_t>(count);
    const std::uint16_t underline = from > 0 ? item->underlines[from - 1] : item->underlines[from];
    item->characters.erase(item->characters.begin() + start, item->characters.begin() + start + count);
    item->characters.insert(item->characters.begin() + start, inserted.begin(), inserted.end());
    ReplaceSlots(item->fonts, from, removed, inserted.size());
    ReplaceSlots(item->colors, from, removed, inserted.size());
    item->underlines.erase(item->underlines.begin() + start, item->underlines.begin() + start + count);
    item->underlines.insert(item->underlines.begin() + start, inserted.size(), underline);
    item->MarkChanged();

    for (const UndoKey aspect :
         {UndoKey::NextText, UndoKey::NextFont, UndoKey::NextColor, UndoKey::NextUnderline})
        m_history.RecordChange(aspect, item, {}, {});
    scope.Touch(*item, ChangedAspect::Text);
    // A linked item shows an album field: the field takes the new text, and so do the other items
    // linked to it.
    if (item->bLinkText() != 0)
        SetAlbumField(item->name, item->Text());
    return true;
}

bool DesignDocument::SetRichText(const QString& name, const RichText& text)
{
    CRichChild* item = Find(name);
    if (!item || !item->IsTextual() || text.characters.empty() || text.characters.back() != kCellEnd ||
        text.fonts.size() != text.characters.size() || text.colors.size() != text.characters.size() ||
        text.underlines.size() != text.characters.size() || RichText::Of(*item) == text)
        return false;
    EditScope scope(*this, EditKind::EditText);
    for (const UndoKey aspect :
         {UndoKey::PrevText, UndoKey::PrevFont, UndoKey::PrevColor, UndoKey::PrevUnderline})
        m_history.RecordChange(aspect, item, {}, {});
    text.StoreIn(*item);
    for (const UndoKey aspect :
         {UndoKey::NextText, UndoKey::NextFont, UndoKey::NextColor, UndoKey::NextUnderline})
        m_history.RecordChange(aspect, item, {}, {});
    scope.Touch(*item, ChangedAspect::Text);
    if (item->bLinkText() != 0)
        SetAlbumField(item->name, item->Text());
    return true;
}

bool DesignDocument::SetFontRun(const QString& name, int start, int count, const ItemFont& font)
{
    CRichChild* item = Find(name);
    if (!item || !item->IsTextual() || start < 0 || count <= 0 ||
        static_cast<size_t>(start) + static_cast<size_t>(count) > item->fonts.size())
        return false;
    EditScope scope(*this, EditKind::SetFontRun);
    m_history.RecordChange(UndoKey::PrevFont, item, {}, {});
    SetRun(item->fonts, static_cast<size_t>(start), static_cast<size_t>(count), font);
    item->MarkChanged();
    m_history.RecordChange(UndoKey::NextFont, item, {}, {});
    scope.Touch(*item, ChangedAspect::Runs);
    return true;
}

bool DesignDocument::SetColorRun(const QString& name, int start, int count, ItemColor color)
{
    CRichChild* item = Find(name);
    if (!item || !item->IsTextual() || start < 0 || count <= 0 ||
        static_cast<size_t>(start) + static_cast<size_t>(count) > item->colors.size())
        return false;
    EditScope scope(*this, EditKind::SetColorRun);
    m_history.RecordChange(UndoKey::PrevColor, item, {}, {});
    SetRun(item->colors, static_cast<size_t>(start), static_cast<size_t>(count), color);
    item->MarkChanged();
    m_history.RecordChange(UndoKey::NextColor, item, {}, {});
    scope.Touch(*item, ChangedAspect::Runs);
    return true;
}

bool DesignDocument::SetUnderlineRun(const QString& name, int start, int count, bool underline)
{
    CRichChild* item = Find(name);
    if (!item || !item->IsTextual() || start < 0 || count <= 0 ||
        static_cast<size_t>(start) + static_cast<size_t>(count) > item->underlines.size())
        return false;
    EditScope scope(*this, EditKind::SetUnderlineRun);
    m_history.RecordChange(UndoKey::PrevUnderline, item, {}, {});
    std::fill_n(item->underlines.begin() + start, count, underline ? 1 : 0);
    item->MarkChanged();
    m_history.RecordChange(UndoKey::NextUnderline, item, {}, {});
    scope.Touch(*item, ChangedAspect::Runs);
    return true;
}

CRichChild* DesignDocument::InsertItem(std::unique_ptr<CRichChild> item, int index)
{
    if (!item)
        return nullptr;
    if (m_design.IndexOf(item->name) >= 0 || item->name.isEmpty())
        item->name = m_design.MakeUniqueName(item->name.isEmpty() ? ItemKindName(item->kind) : item->name);
    EditScope scope(*this, EditKind::InsertItem);
    m_history.RecordChange(UndoKey::PrevOrder, nullptr, {}, {});
    CRichChild& inserted = m_design.InsertItem(std::move(item), index);
    m_history.RecordChange(UndoKey::NextOrder, nullptr, {}, {});
    m_history.RecordChange(UndoKey::NextRich, &inserted, {}, {});
    scope.Touch(inserted, ChangedAspect::Order);
    return &inserted;
}

bool DesignDocument::DeleteItem(const QString& name)
{
    const int index = m_design.IndexOf(name);
    if (index < 0)
        return false;
    CRichChild& item = *m_design.itemList[static_cast<size_t>(index)];
    EditScope scope(*this, EditKind::DeleteItem);
    scope.Touch(item, ChangedAspect::Order);
    m_history.RecordChange(UndoKey::PrevOrder, nullptr, {}, {});
    m_history.RecordChange(UndoKey::PrevRich, &item, {}, {});
    if (m_selected == name)
        m_selected.clear();
    m_design.DeleteItem(index);
    m_history.RecordChange(UndoKey::NextOrder, nullptr, {}, {});
    return true;
}

bool DesignDocument::MoveInOrder(const QString& name, int index)
{
    const int from = m_design.IndexOf(name);
    const int count = static_cast<int>(m_design.itemList.size());
    if (from < 0 || index < 0 || index >= count)
        return false;
    EditScope scope(*this, EditKind::Reorder);
    m_history.RecordChange(UndoKey::PrevOrder, nullptr, {}, {});
    CRichChild& moved = m_design.InsertItem(m_design.TakeItem(from), index);
    m_history.RecordChange(UndoKey::NextOrder, nullptr, {}, {});
    scope.Touch(moved, ChangedAspect::Order);
    return true;
}

bool DesignDocument::BringToFront(const QString& name)
{
    const int from = m_design.IndexOf(name);
    if (from < 0)
        return false;
    EditScope scope(*this, EditKind::BringToFront);
    return MoveInOrder(name, static_cast<int>(m_design.itemList.size()) - 1);
}

bool DesignDocument::SetAlbumField(const QString& key, const QString& value)
{
    if (!CAlbumInfo::ParseKey(key))
        return false;
    EditScope scope(*this, EditKind::SetAlbumField);
    // The linked items get the field's text; their runs are recorded so that undo gives them back exactly.
    const std::optional<CAlbumInfo::FieldRef> field = CAlbumInfo::ParseKey(key);
    std::vector<CRichChild*> linked;
    for (const auto& item : m_design.itemList) {
        const std::optional<CAlbumInfo::FieldRef> shown = CAlbumInfo::ParseKey(item->name);
        if (item->bLinkText() != 0 && item->IsTextual() && shown && shown->disc == field->disc &&
            shown->field == field->field)
            linked.push_back(item.get());
    }
    for (CRichChild* item : linked) {
        for (const UndoKey aspect :
             {UndoKey::PrevText, UndoKey::PrevFont, UndoKey::PrevColor, UndoKey::PrevUnderline})
            m_history.RecordChange(aspect, item, {}, {});
    }
    std::vector<QString> textsBefore;
    for (const CRichChild* item : linked)
        textsBefore.push_back(item->Text());
    m_history.RecordAlbumField(key, m_design.LinkedAlbumText(key), value);
    m_design.SetAlbumField(key, value);
    for (size_t i = 0; i < linked.size(); ++i) {
        for (const UndoKey aspect :
             {UndoKey::NextText, UndoKey::NextFont, UndoKey::NextColor, UndoKey::NextUnderline})
            m_history.RecordChange(aspect, linked[i], {}, {});
        if (linked[i]->Text() != textsBefore[i])
            scope.Touch(*linked[i], ChangedAspect::Text);
    }
    return true;
}

bool DesignDocument::SetAlbumFields(const std::vector<std::pair<QString, QString>>& fields)
{
    for (const auto& [key, value] : fields) {
        if (!CAlbumInfo::ParseKey(key))
            return false;
    }
    if (fields.empty())
        return false;
    EditScope scope(*this, EditKind::ImportAlbum);
    for (const auto& [key, value] : fields)
        SetAlbumField(key, value);
    return true;
}

void DesignDocument::ApplyStocks(const std::function<void(LabelDesign&, DiscPositionMode&)>& apply)
{
    EditScope scope(*this, EditKind::ApplyStocks);
    // Stocks move every item and may give it another page, fold and spine: undo gives each back whole.
    m_history.RestoreWholeItems();
    for (const auto& item : m_design.itemList)
        m_history.RecordChange(UndoKey::PrevRich, item.get(), {}, {});
    const DiscPositionMode positionBefore = m_discPosition;
    apply(m_design, m_discPosition);
    for (const auto& item : m_design.itemList)
        m_history.RecordChange(UndoKey::NextRich, item.get(), {}, {});
    if (m_discPosition != positionBefore && !m_design.itemList.empty())
        m_history.RecordChange(UndoKey::DiscPosition, m_design.itemList.front().get(),
                               QString::number(static_cast<int>(positionBefore)),
                               QString::number(static_cast<int>(m_discPosition)));
    scope.TouchAll(ChangedAspect::Geometry);
}

bool DesignDocument::SetBackground(const QString& name, int mode)
{
    CRichChild* item = Find(name);
    if (!item || item->kind != ItemKind::Image || mode < 0 || mode > 4)
        return false;
    EditScope scope(*this, EditKind::SetBackground);
    m_history.RecordChange(UndoKey::PrevOrder, nullptr, {}, {});
    item->bBackground(mode);
    if (mode != 0) {
        int place = 0;
        for (int i = 0; i < static_cast<int>(m_design.itemList.size()); ++i) {
            const CRichChild& other = *m_design.itemList[static_cast<size_t>(i)];
            if (other.surface == item->surface && HasAreaColor(other.kind))
                place = i + 1;
        }
        const int from = m_design.IndexOf(name);
        m_design.InsertItem(m_design.TakeItem(from), from < place ? place - 1 : place);
    }
    m_history.RecordChange(UndoKey::NextOrder, nullptr, {}, {});
    scope.Touch(*item, ChangedAspect::Order);
    return true;
}

} // namespace tvl
