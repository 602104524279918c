#pragma once

#include "app/Command.h"

#include <array>
#include <cstddef>

class QAction;
class QObject;

namespace tvl {

// One QAction per command, with its text, icon, shortcut and status-bar prompt. Commands whose work is not
// part of this program yet start disabled; the part that brings them connects triggered() and enables them.
class CommandActions
{
public:
    explicit CommandActions(QObject* owner);

    QAction* Action(Command command) const { return actions[static_cast<std::size_t>(command)]; }

private:
    std::array<QAction*, static_cast<std::size_t>(Command::Count)> actions{};
};

} // namespace tvl
