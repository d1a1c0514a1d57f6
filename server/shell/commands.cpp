#include "server/shell/commands.h"

#include "server/resources/resource_ids.h"

namespace server {

std::optional<Command> RunCommandOf(unsigned id) {
  switch (id) {
    case CM_RUN:
      return Command::kRun;
    case CM_TERMINATE:
      return Command::kTerminate;
    case CM_SUSPEND:
      return Command::kSuspend;
    case CM_CONTINUE:
      return Command::kContinue;
    case CM_SETUP:
      return Command::kSetup;
    case CM_PROTOCOLS:
      return Command::kProtocols;
    case CM_BOARDS:
      return Command::kBoards;
    case CM_RUNTIME:
      return Command::kRunTime;
    default:
      return std::nullopt;
  }
}

}  // namespace server
