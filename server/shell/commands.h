// The run-control commands behind tessel.exe's menu and tool-bar ids.
#pragma once

#include <optional>

#include "server/core/run_control.h"

namespace server {

// The command whose enabling run control decides, or nothing for an id it
// leaves alone (Exit, Reset, About, the Window commands, ...).
std::optional<Command> RunCommandOf(unsigned id);

}  // namespace server
