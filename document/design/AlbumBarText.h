#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <vector>

namespace tvl {

class DesignDocument;

// How the Text Editor bar shows and stores album values, without its widgets.

// A field value as a box shows it: line breaks as "\n", no cell terminators.
QString BoxTextFromValue(QStringView value);
// The value a box's text stores: CR LF and bare line feeds as "\r", terminators dropped, one appended.
QString ValueFromBoxText(QStringView text);

// The disc suffix the bar takes when the named item is selected: in a "Double" design the part of the name
// (before its first "(") from the character before its first "-", e.g. " - Disc 2"; names without "-" keep
// the current suffix, " - Disc 1" when there is none yet. A "Single" design has none.
QString DiscSuffixFor(QStringView itemName, bool isDouble, const QString& currentSuffix);

// One row of the track grid: the 1-based track it belongs to and the line each cell shows on it (number,
// title, time). A track takes as many rows as its tallest cell has lines.
struct TrackGridRow
{
    int track = 0;
    std::array<QString, 3> lines;

    bool operator==(const TrackGridRow&) const = default;
};
std::vector<TrackGridRow> TrackGridRows(const QString& trackListValue);

// One keystroke in a box: the field key gets the box's text as one album edit, which every linked item
// follows. False, with no undo step, when the value stays the same.
bool SetFieldFromBox(DesignDocument& document, const QString& key, QStringView boxText);

} // namespace tvl
