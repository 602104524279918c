#pragma once

#include "document/model/CRichChild.h"

#include <QStringList>
#include <memory>
#include <vector>

namespace tvl {

// An album field an edit set: its key and the values before and after.
struct AlbumFieldEdit
{
    QString key;
    QString before;
    QString after;
};

// One undoable edit: partial snapshots of the items it touched before and after, the item order
// before and after when the edit changed it, the album fields it set, and the item selected when it
// began.
struct UndoStep
{
    std::vector<std::unique_ptr<CRichChild>> before;
    std::vector<std::unique_ptr<CRichChild>> after;
    QStringList orderBefore;
    QStringList orderAfter;
    std::vector<AlbumFieldEdit> albumFields;
    QString itemName;
    // The snapshots are whole items, restored as they are (see UndoHistory::RestoreWholeItems).
    bool wholeItems = false;
};

// A snapshot holds only the properties recorded into it; every other one keeps its not-recorded marker:
// 0 for positions, sizes, the disc position and the caret, -1 for the switches and the text margin,
// empty strings and arrays otherwise.
std::unique_ptr<CRichChild> MakeEmptySnapshot(const CRichChild& item);
// A full copy of an item (every property, the text and its runs, the picture), detached from recording.
std::unique_ptr<CRichChild> MakeFullCopy(const CRichChild& item);

} // namespace tvl
