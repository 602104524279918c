#pragma once

#include <QString>

namespace tvl {

// The request the next AppMessageBox shows. The box clears caption once it has laid itself out and
// showCheckBox when it closes, so every request sets all the fields it needs.
struct MessageRequest
{
    QString text;     // lines separated by "\r\n"
    int iconKind = 0; // 1 stop, 2 exclamation, 3 information, 4 application; anything else none
    QString buttons;  // up to three labels, each ended by a backquote: "Yes`No`Cancel`"
    bool showCheckBox = false;
    QString caption; // empty: " Tovrelline"
};

// The result of a box closed with button 1..3: the button number, plus 3 when the check box was shown and
// ticked. Closing the box with its close control gives 2.
inline int MessageBoxResult(int button, bool checkBoxShown, bool checked)
{
    return button + (checkBoxShown && checked ? 3 : 0);
}

inline constexpr int messageBoxClosedResult = 2;

} // namespace tvl
