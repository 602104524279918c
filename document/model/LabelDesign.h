#pragma once

#include "document/model/CAlbumInfo.h"
#include "document/model/CRichChild.h"

#include <memory>
#include <vector>

namespace tvl {

class UndoRecorder;

// The design a user edits: the ordered item list (drawing order, later items over earlier ones) and
// the design header with the album data. Items added here report their changes to the recorder.
class LabelDesign
{
public:
    std::vector<std::unique_ptr<CRichChild>> itemList;
    CAlbumInfo albumHeader;

    void SetRecorder(UndoRecorder* recorder);
    UndoRecorder* recorder() const { return m_recorder; }

    // Inserts at index (at the end when index is negative or past the end); returns the item.
    CRichChild& InsertItem(std::unique_ptr<CRichChild> item, int index = -1);
    // Removes the item at index and frees everything it owns.
    void DeleteItem(int index);
    // Takes the item at index out of the list without freeing it.
    std::unique_ptr<CRichChild> TakeItem(int index);
    // Replaces every item (the old ones are freed).
    void ReplaceItems(std::vector<std::unique_ptr<CRichChild>> items);

    // First item with that name, or null.
    CRichChild* FindItem(QStringView name) const;
    int IndexOf(QStringView name) const;
    // The "Cover" item of a surface, or null.
    CRichChild* FindCover(QStringView surface) const;

    QString LinkedAlbumText(QStringView itemName) const { return albumHeader.LinkedAlbumText(itemName); }
    // A name no item carries: "Text 1", "Text 2" … for free text, "Artist(1)", "Image(2)" … otherwise.
    QString MakeUniqueName(const QString& base) const;
    // Stores an album value (the key's part from the first "(" on is dropped) and gives every linked
    // item the new text. Returns false when the key names no album field.
    bool SetAlbumField(QStringView key, const QString& value);
    // Gives every item with bLinkText set the text of the album field its name links to.
    void RefreshLinkedItems();

private:
    UndoRecorder* m_recorder = nullptr;
};

} // namespace tvl
