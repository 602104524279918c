#pragma once

#include "app/Command.h"

#include <array>
#include <cstddef>

class QAction;
class QObject;

namespace tvl {

// One QAction per command, with its text, icon, shortcut and status-bar prompt. Every command starts
// disabled: it is enabled once a handler is routed to it, so a command whose work does not exist yet is
// shown but cannot be chosen.
class CommandActions
{
public:
    explicit CommandActions(QObject* owner);

    QAction* Action(Command command) const { return actions[static_cast<std::size_t>(command)]; }

private:
    std::array<QAction*, static_cast<std::size_t>(Command::Count)> actions{};
};

} // namespace tvl
