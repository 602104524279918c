#pragma once

#include <QString>

namespace tvl {

class CRichChild;

// What a change reports to the undo history: one stored property of an item (through its accessor), or
// one side of a change of a whole aspect that editing code reports around it (the text, the runs, the
// whole item, the item order, the caret).
enum class UndoKey
{
    Left,
    Top,
    Width,
    Height,
    DiscPosition,
    LinkText,
    AspectRatio,
    AutoFit,
    Background,
    TextMargin,
    Angle,
    WrapStyle,
    Alignment,
    TrackNumbers,
    TextLayout,
    PrevText,
    NextText,
    PrevUnderline,
    NextUnderline,
    PrevColor,
    NextColor,
    PrevFont,
    NextFont,
    PrevRich,
    NextRich,
    PrevOrder,
    NextOrder,
    PrevCursor,
    NextCursor,
};

// The "before" half of an aspect pair.
inline bool IsBeforeAspect(UndoKey key)
{
    return key == UndoKey::PrevText || key == UndoKey::PrevUnderline || key == UndoKey::PrevColor ||
           key == UndoKey::PrevFont || key == UndoKey::PrevRich || key == UndoKey::PrevOrder ||
           key == UndoKey::PrevCursor;
}

// The "after" half of an aspect pair.
inline bool IsAfterAspect(UndoKey key)
{
    return key == UndoKey::NextText || key == UndoKey::NextUnderline || key == UndoKey::NextColor ||
           key == UndoKey::NextFont || key == UndoKey::NextRich || key == UndoKey::NextOrder ||
           key == UndoKey::NextCursor;
}

// Receives every change made through an item accessor, and the aspect pairs editing code reports around
// whole-aspect changes. Values are decimal text for integers and empty for aspects. A null item means the
// selected item.
class UndoRecorder
{
public:
    virtual ~UndoRecorder() = default;
    virtual void RecordChange(UndoKey key, CRichChild* item, const QString& oldValue,
                              const QString& newValue) = 0;
};

} // namespace tvl
