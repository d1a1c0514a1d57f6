// The one console of the process: its grid, its key ring with the keyboard
// that fills it, and the line state that STREAD hands out piece by piece.
#pragma once

#include <array>

#include "server/console/console_model.h"
#include "server/console/keyboard.h"
#include "server/core/task_state.h"

namespace console {

struct LineState {
  static constexpr int kSize = 80;  // 79 typed characters and the line feed

  std::array<char, kSize> buffer{};
  int length = 0;  // 0: no line pending
  int used = 0;    // bytes already handed out
};

class Console {
 public:
  Console(ConsoleSink& sink, const server::TaskState& task)
      : model(sink), keyboard(ring, task, sink), task_(task) {}

  const server::TaskState& task() const { return task_; }

  ConsoleModel model;
  KeyRing ring;
  Keyboard keyboard;
  LineState line;

 private:
  const server::TaskState& task_;
};

}  // namespace console
