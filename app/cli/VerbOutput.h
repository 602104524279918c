#pragma once

#include <QString>

namespace tvl {

class LabelDesign;
struct DesignReadNotes;

// A file name from the command line, kept byte for byte (see FileNameFromBytes).
QString ArgumentFileName(const char* argument);

// Prints a line on standard error; file names in it keep their own bytes.
void PrintError(const QString& message);

// What a design read reports while it still opens: parts of an early design that could not be converted,
// and pictures that could not be shown (kept for saving).
void PrintReadNotices(const DesignReadNotes& notes, const LabelDesign& design);

} // namespace tvl
