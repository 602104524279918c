#pragma once

#include "document/model/RichText.h"
#include "document/model/TrackIndex.h"

#include <QString>

namespace tvl {

class DesignDocument;

// Typing and deleting in a "Text" or "Track" item. A selection is the half-open range of character
// indexes [start, end); start == end is a caret before character start. Cell terminators are never
// removed one by one, so a text keeps its cells; only whole tracks of a track list go with theirs.

// Inserts text at the caret i, advancing: after a character of the same line the new one continues its
// run; at the start of a cell or line it takes over the run start of the character it pushes right.
// Terminators in text are dropped and line feeds become line breaks. Returns the caret after the text.
int InsertCharacters(RichText& text, int at, QStringView typed);

struct DeletionResult
{
    int caret = 0;
    // A track list lost its last track and now holds the single default one.
    bool lostLastTrack = false;
};

// Removes the selection, or with a caret the character before it (never a terminator). A removed run
// start passes its font and colour on to the next character when that has none. In a track list
// (tracks non-null) a selection from the first shown cell of one track to the last shown cell of the
// same or a later track removes those tracks whole when wholeTracks is set; afterwards tracks numbered
// "1." … "99." are numbered again in list order.
DeletionResult DeleteCharacters(RichText& text, int start, int end, bool wholeTracks,
                                const TrackVisibility* tracks);

// The text of a track list that lost its last track.
inline constexpr char16_t kDefaultTrack[] = u"1. \bTrack 1\b 0:01\b";

// The same, as one undo step on the named item of the document (and, for a linked item, on its album
// field and every item linked to it). Nothing changes, and no step is kept, for an item without text
// or a selection outside its text.
struct TextEditOutcome
{
    bool changed = false;
    int caret = 0;
    bool lostLastTrack = false;
};
// Deletes a non-empty selection first, then inserts text.
TextEditOutcome InsertText(DesignDocument& document, const QString& name, int start, int end,
                           const QString& text);
// Backspace: the selection or the character before the caret.
TextEditOutcome DeleteText(DesignDocument& document, const QString& name, int start, int end,
                           bool wholeTracks);
// Delete: the selection, or the character after the caret unless that is a terminator.
TextEditOutcome DeleteForward(DesignDocument& document, const QString& name, int start, int end);

} // namespace tvl
