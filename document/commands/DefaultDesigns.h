#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <utility>

namespace tvl {

class LabelDesign;

// The design files a user starts from, kept in the program folder, one per disc mode and case kind.
inline constexpr QStringView kFallbackDesignName = u"Default.tvl";
inline constexpr QStringView kUntitledName = u"Untitled.tvl";

// "Default1.tvl", "Default2.tvl", "Default1_dvd.tvl" or "Default2_dvd.tvl".
QString DefaultDesignName(QStringView discMode, QStringView caseKind);
// One of the four default names (exact, case-sensitive).
bool IsDefaultDesignName(QStringView fileName);
// The default name of a New Document entry (0 … 3, in list order).
QString DefaultDesignNameForEntry(int entry);
// The disc mode and case kind a default name stands for; nothing for any other name.
std::optional<std::pair<QString, QString>> DefaultDesignKind(QStringView fileName);

// Fills the album fields with the sample values of a single or double design; linked items follow.
void FillSampleAlbum(LabelDesign& design);

// The path a design is saved under: ".tvl" kept, its letter case mended, or appended.
QString WithDesignExtension(const QString& path);

} // namespace tvl
