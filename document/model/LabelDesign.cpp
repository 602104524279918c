#include "document/model/LabelDesign.h"

namespace tvl {

void LabelDesign::SetRecorder(UndoRecorder* recorder)
{
    m_recorder = recorder;
    for (const auto& item : itemList)
        item->AttachRecorder(recorder);
}

CRichChild& LabelDesign::InsertItem(std::unique_ptr<CRichChild> item, int index)
{
    item->AttachRecorder(m_recorder);
    const auto position = index < 0 || static_cast<size_t>(index) >= itemList.size()
                              ? itemList.end()
                              : itemList.begin() + index;
    return **itemList.insert(position, std::move(item));
}

void LabelDesign::DeleteItem(int index)
{
    itemList.erase(itemList.begin() + index);
}

std::unique_ptr<CRichChild> LabelDesign::TakeItem(int index)
{
    std::unique_ptr<CRichChild> item = std::move(itemList[static_cast<size_t>(index)]);
    itemList.erase(itemList.begin() + index);
    item->AttachRecorder(nullptr);
    return item;
}

void LabelDesign::ReplaceItems(std::vector<std::unique_ptr<CRichChild>> items)
{
    itemList = std::move(items);
    SetRecorder(m_recorder);
}

CRichChild* LabelDesign::FindItem(QStringView name) const
{
    const int index = IndexOf(name);
    return index < 0 ? nullptr : itemList[static_cast<size_t>(index)].get();
}

int LabelDesign::IndexOf(QStringView name) const
{
    for (size_t i = 0; i < itemList.size(); ++i) {
        if (itemList[i]->name == name)
            return static_cast<int>(i);
    }
    return -1;
}

CRichChild* LabelDesign::FindCover(QStringView surface) const
{
    for (const auto& item : itemList) {
        if (item->kind == ItemKind::Cover && item->name == surface)
            return item.get();
    }
    return nullptr;
}

QString LabelDesign::MakeUniqueName(const QString& base) const
{
    const bool freeText = base == u"Text";
    for (int n = 1;; ++n) {
        const QString candidate =
            freeText ? base + u' ' + QString::number(n) : base + u'(' + QString::number(n) + u')';
        if (IndexOf(candidate) < 0)
            return candidate;
    }
}

bool LabelDesign::SetAlbumField(QStringView key, const QString& value)
{
    if (!albumHeader.SetAlbumField(key, value))
        return false;
    RefreshLinkedItems();
    return true;
}

void LabelDesign::RefreshLinkedItems()
{
    for (const auto& item : itemList) {
        // A free text with Link Text on shows no album field; clearing it would lose the user's text.
        if (item->bLinkText() == 0 || !CAlbumInfo::ParseKey(item->name))
            continue;
        const QString text = LinkedAlbumText(item->name);
        if (text != item->Text())
            item->ReplaceText(text);
    }
}

} // namespace tvl
