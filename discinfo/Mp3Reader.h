#pragma once

#include "discinfo/ReadCdState.h"

#include <QString>

namespace tvl {

// Finds the MP3 files below startFolder (deepest folders first, the start folder last), derives a name
// from each file name, then reads each file's tag name and play time into the state's MP3 hand-over,
// stopping early when the run flag is cleared. Sets the status to "no music tracks" when there is no
// file and otherwise leaves it for the reader of the hand-over to finish.
void ReadMp3Files(ReadCdState& state, const QString& startFolder);

} // namespace tvl
